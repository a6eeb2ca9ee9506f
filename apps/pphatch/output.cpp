#include "output.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "cli_error.h"
#include "gap_report.h"

namespace pphatch::cli {

namespace {

using Json = nlohmann::ordered_json;

// A point as a two-number array.
Json PointJson(double x, double y) { return Json::array({x, y}); }

// Milliseconds rounded to two decimals, which is all a wall time says.
double RoundedMs(double ms) { return std::round(ms * 100) / 100; }

}  // namespace

std::string JsonLine(const PickOutcome& outcome) {
  Json line;
  line["at"] = PointJson(outcome.at.x, outcome.at.y);
  line["ok"] = outcome.ok;
  if (outcome.ok) {
    Json contours = Json::array();
    for (std::size_t i = 0; i < outcome.contours.size(); ++i) {
      Json points = Json::array();
      for (const auto& p : outcome.contours[i]) points.push_back(PointJson(p[0], p[1]));
      Json contour;
      contour["kind"] = i == 0 ? "External" : "Internal";
      contour["points"] = std::move(points);
      contours.push_back(std::move(contour));
    }
    line["contours"] = std::move(contours);
  } else {
    line["error"] = outcome.error;
  }
  AddGapFields(line, outcome);
  line["ms"] = RoundedMs(outcome.ms);
  // Invalid UTF-8 in a message is replaced rather than thrown on.
  return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void WriteJsonLines(std::ostream& out, const std::vector<PickOutcome>& outcomes) {
  for (const PickOutcome& outcome : outcomes) out << JsonLine(outcome) << '\n';
}

std::vector<formats::SvgPick> ToSvgPicks(const std::vector<PickOutcome>& outcomes) {
  std::vector<formats::SvgPick> picks;
  for (const PickOutcome& outcome : outcomes) {
    picks.push_back({outcome.at.x, outcome.at.y, outcome.ok, outcome.contours, outcome.error, {}, {}});
    AddGapMarks(picks.back(), outcome);
  }
  return picks;
}

std::vector<formats::PickArea> ToAreas(const std::vector<PickOutcome>& outcomes) {
  std::vector<formats::PickArea> areas;
  for (const PickOutcome& outcome : outcomes) {
    if (outcome.ok) areas.push_back({outcome.contours});
  }
  return areas;
}

int ExitStatus(const std::vector<PickOutcome>& outcomes) {
  for (const PickOutcome& outcome : outcomes) {
    if (!outcome.ok) return kExitSomeFailed;
  }
  return kExitAllFound;
}

}  // namespace pphatch::cli
