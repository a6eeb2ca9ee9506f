#include "view_api.h"

#include <charconv>
#include <cmath>

#include <nlohmann/json.hpp>

#include "gap_report.h"

namespace pphatch::cli {

namespace {

using Json = nlohmann::ordered_json;

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

double ParseGap(const std::string& gap) {
  const double value = ParseNumber(gap, "gap");
  if (value < 0) throw BadRequest("parameter gap: not below 0");
  return value;
}

std::vector<ExportPoint> ParseExportPoints(const std::string& body) {
  const Json doc = Json::parse(body, nullptr, false);
  if (doc.is_discarded() || !doc.is_object() || !doc.contains("points") ||
      !doc["points"].is_array()) {
    throw BadRequest("the body must be {\"points\": [[x, y], ...]}");
  }
  const Json& list = doc["points"];
  if (list.size() > kMaxExportPoints) {
    throw BadRequest("points: at most " + std::to_string(kMaxExportPoints) + " points");
  }
  std::vector<ExportPoint> points;
  points.reserve(list.size());
  for (const Json& p : list) {
    if (!p.is_array() || p.size() < 2 || p.size() > 3) {
      throw BadRequest("points: each point is [x, y] (or [x, y, gap]) of numbers");
    }
    const double gap = p.size() == 3 ? FiniteNumber(p[2]) : 0;
    if (gap < 0) throw BadRequest("points: a gap is not below 0");
    points.push_back({{FiniteNumber(p[0]), FiniteNumber(p[1])}, gap});
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
    reply["why"] = WhyNoArea(outcome);
  }
  AddGapFields(reply, outcome);
  reply["ms"] = outcome.ms;
  return reply.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace pphatch::cli
