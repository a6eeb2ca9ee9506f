#include "output.h"

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>

#include <nlohmann/json.hpp>

#include "cli_error.h"
#include "failure_code.h"
#include "files.h"
#include "gap_report.h"

namespace pphatch::cli {

namespace {

using Json = nlohmann::ordered_json;

// A point as a two-number array.
Json PointJson(double x, double y) { return Json::array({x, y}); }

// Milliseconds rounded to two decimals, which is all a wall time says.
double RoundedMs(double ms) { return std::round(ms * 100) / 100; }

}  // namespace

std::string JsonLine(const PickOutcome& outcome, const std::string& units) {
  Json line;
  line["index"] = outcome.index;
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
      if (i < outcome.measures.contourAreas.size()) {
        contour["area"] = outcome.measures.contourAreas[i];
        contour["length"] = outcome.measures.contourLengths[i];
      }
      contours.push_back(std::move(contour));
    }
    line["contours"] = std::move(contours);
    line["area"] = outcome.measures.area;
    line["perimeter"] = outcome.measures.perimeter;
  } else {
    line["code"] = outcome.code;
    line["error"] = outcome.error;
  }
  line["units"] = units.empty() ? Json(nullptr) : Json(units);
  AddGapFields(line, outcome);
  line["ms"] = RoundedMs(outcome.ms);
  // Invalid UTF-8 in a message is replaced rather than thrown on.
  return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void WriteJsonLines(std::ostream& out, const std::vector<PickOutcome>& outcomes,
                    const std::string& units) {
  for (const PickOutcome& outcome : outcomes) out << JsonLine(outcome, units) << '\n';
}

std::vector<formats::SvgPick> ToSvgPicks(const std::vector<PickOutcome>& outcomes) {
  std::vector<formats::SvgPick> picks;
  for (const PickOutcome& outcome : outcomes) {
    picks.push_back({outcome.at.x, outcome.at.y, outcome.ok, outcome.contours, outcome.error,
                     outcome.curves, "", FailureReason(outcome.code), {}, {}});
    AddGapMarks(picks.back(), outcome);
  }
  return picks;
}

formats::SvgOptions PictureOptions(const std::string& drawingPath, const formats::LoadSummary& summary,
                                   const std::optional<mem::Box>& frame) {
  formats::SvgOptions options;
  options.frame = frame;
  options.texts = summary.report.texts;
  const std::time_t now = std::time(nullptr);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  options.annotations = formats::SvgAnnotations{
      std::filesystem::path(drawingPath).filename().string(), date, summary.contents.units};
  return options;
}

std::vector<formats::PickArea> ToAreas(const std::vector<PickOutcome>& outcomes) {
  std::vector<formats::PickArea> areas;
  for (const PickOutcome& outcome : outcomes) {
    if (outcome.ok) areas.push_back({outcome.contours, outcome.curves, {outcome.at.x, outcome.at.y}, ""});
  }
  return areas;
}

void ToOutput(const std::string& path, const std::function<void(std::ostream&)>& write) {
  if (path.empty() || path == kStandardStream) {
    write(std::cout);
    std::cout.flush();
    return;
  }
  std::ofstream file = OpenForWriting(path);
  write(file);
  file.flush();
  if (!file) throw CliError(path + ": cannot write: " + SystemReason());
}

int ExitStatus(const std::vector<PickOutcome>& outcomes) {
  for (const PickOutcome& outcome : outcomes) {
    if (!outcome.ok) return kExitSomeFailed;
  }
  return kExitAllFound;
}

}  // namespace pphatch::cli
