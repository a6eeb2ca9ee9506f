// `pphatch pick`: hatches the areas around the given points.
#include <fstream>
#include <iostream>

#include "cli_error.h"
#include "commands.h"
#include "formats/dxf_writer.h"
#include "formats/errors.h"
#include "formats/svg_writer.h"
#include "gap_report.h"
#include "load.h"
#include "output.h"
#include "picking.h"
#include "points.h"

namespace pphatch::cli {

namespace {

// The --at points, then those of the points file; CliError when there are none.
std::vector<DrawingPoint> CollectPoints(const PickOptions& options) {
  std::vector<DrawingPoint> points;
  for (const std::string& at : options.at) points.push_back(ParseAtValue(at));
  if (!options.pointsFile.empty()) {
    const auto more = ReadPointsFile(options.pointsFile);
    points.insert(points.end(), more.begin(), more.end());
  }
  if (points.empty()) throw CliError("no pick points: give --at X,Y or --points FILE");
  return points;
}

// Runs `write` on the output file, or on standard output when none is named.
template <typename Write>
void ToOutput(const std::string& path, Write write) {
  if (path.empty()) {
    write(std::cout);
    std::cout.flush();
    return;
  }
  std::ofstream file(path, std::ios::binary);
  if (!file) throw CliError(path + ": cannot open for writing");
  write(file);
  file.flush();
  if (!file) throw CliError(path + ": cannot write");
}

// A line on standard error for each pick that found no area.
void ReportFailures(const std::vector<PickOutcome>& outcomes) {
  for (const PickOutcome& outcome : outcomes) {
    if (outcome.ok) continue;
    std::cerr << "pphatch: " << ExplainFailure(outcome) << '\n';
  }
}

}  // namespace

int RunPickCommand(const PickOptions& options) {
  if (options.format == "dxf" && options.output.empty()) {
    throw CliError("--format dxf needs -o FILE");
  }
  const std::vector<DrawingPoint> points = CollectPoints(options);
  const formats::LoadedDrawing loaded = LoadDrawing(options.drawing);
  PrintReport(std::cerr, options.drawing, loaded.summary.report);

  const std::vector<PickOutcome> outcomes = RunPicks(loaded.drawing, points, options.gap);
  try {
    if (options.format == "svg") {
      ToOutput(options.output, [&](std::ostream& out) {
        formats::WriteSvg(out, *loaded.drawing, ToSvgPicks(outcomes));
      });
      ReportFailures(outcomes);
    } else if (options.format == "dxf") {
      formats::DxfWriteOptions dxfOptions;
      dxfOptions.gaps = GapMarks(outcomes);
      formats::WriteDxfResult(options.output, ToAreas(outcomes), loaded.drawing.get(), dxfOptions);
      ReportFailures(outcomes);
    } else {
      ToOutput(options.output, [&](std::ostream& out) { WriteJsonLines(out, outcomes); });
      ReportFailures(outcomes);
    }
  } catch (const formats::WriteError& e) {
    throw CliError(e.what());
  }
  return ExitStatus(outcomes);
}

}  // namespace pphatch::cli
