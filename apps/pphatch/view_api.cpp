#include "view_api.h"

#include <charconv>
#include <cmath>

#include <nlohmann/json.hpp>

namespace pphatch::cli {

namespace {

using Json = nlohmann::json;

// One finite number written out in full; BadRequest naming the parameter otherwise.
double ParseNumber(const std::string& text, const char* name) {
  if (text.empty() || text.size() > kMaxNumberLength) {
    throw BadRequest(std::string("parameter ") + name + ": a number is needed");
  }
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
    throw BadRequest(std::string("parameter ") + name + ": not a finite number");
  }
  return value;
}

// A JSON number that is finite; BadRequest otherwise.
double FiniteNumber(const Json& value) {
  if (!value.is_number()) throw BadRequest("points: each point is [x, y] of two numbers");
  const double v = value.get<double>();
  if (!std::isfinite(v)) throw BadRequest("points: coordinates must be finite");
  return v;
}

}  // namespace

DrawingPoint ParsePickPoint(const std::string& x, const std::string& y) {
  return {ParseNumber(x, "x"), ParseNumber(y, "y")};
}

std::vector<DrawingPoint> ParseExportPoints(const std::string& body) {
  const Json doc = Json::parse(body, nullptr, false);
  if (doc.is_discarded() || !doc.is_object() || !doc.contains("points") ||
      !doc["points"].is_array()) {
    throw BadRequest("the body must be {\"points\": [[x, y], ...]}");
  }
  const Json& list = doc["points"];
  if (list.size() > kMaxExportPoints) {
    throw BadRequest("points: at most " + std::to_string(kMaxExportPoints) + " points");
  }
  std::vector<DrawingPoint> points;
  points.reserve(list.size());
  for (const Json& p : list) {
    if (!p.is_array() || p.size() != 2) throw BadRequest("points: each point is [x, y] of two numbers");
    points.push_back({FiniteNumber(p[0]), FiniteNumber(p[1])});
  }
  return points;
}

std::string PickReply(const PickOutcome& outcome) {
  Json reply = Json::object();
  reply["ok"] = outcome.ok;
  reply["at"] = Json::array({outcome.at.x, outcome.at.y});
  if (outcome.ok) {
    Json contours = Json::array();
    for (const formats::Contour& ring : outcome.contours) {
      Json points = Json::array();
      for (const auto& p : ring) points.push_back(Json::array({p[0], p[1]}));
      contours.push_back(std::move(points));
    }
    reply["contours"] = std::move(contours);
    reply["area"] = outcome.measures.area;
    reply["perimeter"] = outcome.measures.perimeter;
    reply["islands"] = static_cast<int>(outcome.contours.size()) - 1;
  } else {
    reply["error"] = outcome.error;
    // Where the component reports the gaps that kept the boundary open and
    // the tolerance that would close them, they go into this reply too.
  }
  reply["ms"] = outcome.ms;
  return reply.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace pphatch::cli
