// `pphatch pick`: hatches the areas around the given points.
#include <iostream>

#include "cli_error.h"
#include "commands.h"
#include "dxf_output.h"
#include "failure_code.h"
#include "files.h"
#include "formats/dxf_writer.h"
#include "formats/errors.h"
#include "formats/svg_writer.h"
#include "gap_report.h"
#include "load.h"
#include "output.h"
#include "picking.h"
#include "points.h"
#include "progress.h"

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

// A line on standard error for each pick that found no area.
void ReportFailures(const std::vector<PickOutcome>& outcomes) {
  for (const PickOutcome& outcome : outcomes) {
    if (outcome.ok) continue;
    std::cerr << "pphatch: " << ExplainFailure(outcome) << '\n';
  }
}

}  // namespace

int RunPickCommand(const PickOptions& options) {
  const std::string format = OutputFormat(options.format, options.output);
  if (format == "dxf" && options.output.empty()) {
    throw CliError("--format dxf needs -o FILE (or -o - for standard output)");
  }
  RefuseToOverwrite(options.output, options.drawing);
  RefuseToOverwrite(options.output, options.pointsFile, "the points file");
  std::optional<mem::Box> frame;
  if (!options.frame.empty()) frame = ParseFrameValue(options.frame);
  const std::vector<DrawingPoint> points = CollectPoints(options);
  const formats::LoadedDrawing loaded = LoadDrawing(options.drawing, options.layers.Filter());
  PrintReport(std::cerr, options.drawing, loaded.summary.report);

  try {
    std::vector<PickOutcome> outcomes;
    if (format == "json") {
      // Each line is written as soon as its pick ends, so that a batch that
      // is cut short keeps what it printed.
      ToOutput(options.output, [&](std::ostream& out) {
        Progress progress(points.size());
        outcomes = RunPicks(loaded.drawing, points, [&](const PickOutcome& outcome) {
          PickOutcome coded = outcome;
          AssignFailureCode(coded, loaded.summary);
          out << JsonLine(coded, loaded.summary.contents.units) << '\n' << std::flush;
          progress.Done(outcome.ok);
        }, options.gap);
      });
      AssignFailureCodes(outcomes, loaded.summary);
    } else {
      {
        Progress progress(points.size());
        outcomes = RunPicks(
            loaded.drawing, points, [&](const PickOutcome& outcome) { progress.Done(outcome.ok); },
            options.gap);
      }
      AssignFailureCodes(outcomes, loaded.summary);
      if (format == "svg") {
        ToOutput(options.output, [&](std::ostream& out) {
          formats::WriteSvg(out, *loaded.drawing, ToSvgPicks(outcomes),
                            PictureOptions(options.drawing, loaded.summary, frame));
        });
      } else {
        WriteDxfOutput(options.drawing, *loaded.drawing, options.output, ToAreas(outcomes),
                       options.solid, GapMarks(outcomes));
      }
    }
    ReportFailures(outcomes);
    return ExitStatus(outcomes);
  } catch (const formats::WriteError& e) {
    throw CliError(e.what());
  }
}

}  // namespace pphatch::cli
