// `pphatch rooms`: a room schedule from the labels of a DXF drawing.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <regex>

#include "cli_error.h"
#include "commands.h"
#include "files.h"
#include "dxf_output.h"
#include "formats/dxf_labels.h"
#include "formats/errors.h"
#include "formats/svg_writer.h"
#include "gap_report.h"
#include "load.h"
#include "output.h"
#include "progress.h"
#include "rooms.h"

namespace pphatch::cli {

namespace {

// Upper case, for layer names, which DXF compares without case.
std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The labels on the chosen layers (all when none are given) whose text
// matches the pattern (all when it is empty).
std::vector<formats::DxfLabel> ChosenLabels(const RoomsOptions& options) {
  std::regex pattern;
  try {
    pattern = std::regex(options.match);
  } catch (const std::regex_error& e) {
    throw CliError("--match " + options.match + ": not a regular expression (" + e.what() + ")");
  }
  std::vector<std::string> layers;
  for (const std::string& layer : options.layers) layers.push_back(Upper(layer));
  std::vector<formats::DxfLabel> chosen;
  try {
    for (formats::DxfLabel& label :
         formats::ReadDxfLabels(formats::ReadWholeFile(options.drawing), options.drawing)) {
      const bool onLayer = layers.empty() || std::find(layers.begin(), layers.end(), Upper(label.layer)) != layers.end();
      if (onLayer && std::regex_search(label.text, pattern)) chosen.push_back(std::move(label));
    }
  } catch (const formats::ReadError& e) {
    throw CliError(e.what());
  }
  return chosen;
}

// "LABEL  AREA": the text a picture or a drawing shows for a row.
std::string Caption(const RoomRow& row) {
  // Two decimals at most, and no exponent however large the area.
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.2f", row.outcome.measures.area);
  std::string area = digits;
  while (area.back() == '0') area.pop_back();
  if (area.back() == '.') area.pop_back();
  return row.label + "  " + area;
}

}  // namespace

int RunRoomsCommand(const RoomsOptions& options) {
  const std::string format = OutputFormat(options.format, options.output, {"csv", "json", "svg", "dxf"});
  if (format == "dxf" && options.output.empty()) {
    throw CliError("--format dxf needs -o FILE (or -o - for standard output)");
  }
  RefuseToOverwrite(options.output, options.drawing);
  if (!IsAsciiDxf(options.drawing)) {
    throw CliError(options.drawing + ": rooms reads its labels from the TEXT and MTEXT of an ASCII DXF file");
  }
  const formats::LoadedDrawing loaded = LoadDrawing(options.drawing, options.boundingLayers.Filter());
  const std::vector<formats::DxfLabel> labels = ChosenLabels(options);
  if (labels.empty()) throw CliError(options.drawing + ": no TEXT or MTEXT labels to pick at");
  std::vector<DrawingPoint> points;
  for (const formats::DxfLabel& label : labels) points.push_back(LabelPoint(*loaded.drawing, label));
  std::vector<PickOutcome> outcomes;
  {
    Progress progress(points.size());
    outcomes = RunPicks(
        loaded.drawing, points, [&](const PickOutcome& o) { progress.Done(o.ok); }, options.gap);
  }
  const std::vector<RoomRow> rows = ScheduleRows(labels, points, std::move(outcomes));

  if (format == "csv") {
    ToOutput(options.output, [&](std::ostream& out) { WriteRoomsCsv(out, rows); });
  } else if (format == "json") {
    ToOutput(options.output, [&](std::ostream& out) { WriteRoomsJson(out, rows); });
  } else if (format == "svg") {
    std::vector<formats::SvgPick> picks;
    for (const RoomRow& row : rows) {
      const PickOutcome& o = row.outcome;
      if (row.sameAs >= 0) {
        // An area already drawn is drawn once; its second label says so.
        picks.push_back({row.at.x, row.at.y, true, {}, "", {}, row.label + " (" + row.Note(rows) + ")", "", {}, {}});
        continue;
      }
      picks.push_back({row.at.x, row.at.y, o.ok, o.contours, o.ok ? "" : row.label + ": " + o.error,
                       o.curves, o.ok ? Caption(row) : "", "", {}, {}});
    }
    ToOutput(options.output, [&](std::ostream& out) {
      formats::WriteSvg(out, *loaded.drawing, picks);
    });
  } else {
    std::vector<formats::PickArea> areas;
    std::vector<PickOutcome> picked;
    for (const RoomRow& row : rows) picked.push_back(row.outcome);
    for (const RoomRow& row : rows) {
      if (row.Status() != "ok") continue;
      areas.push_back({row.outcome.contours, row.outcome.curves, {row.at.x, row.at.y}, Caption(row)});
    }
    WriteDxfOutput(options.drawing, *loaded.drawing, options.output, areas, options.solid,
                   GapMarks(picked));
  }
  for (const RoomRow& row : rows) {
    if (!row.outcome.ok) {
      std::cerr << "pphatch: label " << row.label << ": " << ExplainFailure(row.outcome) << '\n';
    }
  }
  for (const RoomRow& row : rows) {
    if (!row.outcome.ok) return kExitSomeFailed;
  }
  return kExitAllFound;
}

}  // namespace pphatch::cli
