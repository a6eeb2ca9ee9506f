// `pphatch pick`: hatches the areas around the given points.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli_error.h"
#include "commands.h"
#include "files.h"
#include "formats/dxf_writer.h"
#include "failure_code.h"
#include "formats/errors.h"
#include "formats/svg_writer.h"
#include "load.h"
#include "output.h"
#include "picking.h"
#include "points.h"

namespace pphatch::cli {

namespace {

namespace fs = std::filesystem;

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

// Runs `write` on the output file, or on standard output for "" and "-".
template <typename Write>
void ToOutput(const std::string& path, Write write) {
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

// The DXF result into the output file, or through a scratch file to
// standard output for "-" (the DXF writer writes files only).
void WriteDxfOutput(const std::string& path, const std::vector<PickOutcome>& outcomes,
                    const mem::MemDrawing& source) {
  if (path != kStandardStream) {
    OpenForWriting(path);  // says why a file cannot be written before the writer tries
    formats::WriteDxfResult(path, ToAreas(outcomes), &source);
    return;
  }
  std::string name = (fs::temp_directory_path() / "pphatch_XXXXXX.dxf").string();
  const int descriptor = mkstemps(name.data(), 4);
  if (descriptor < 0) throw CliError("cannot make a scratch file for the DXF: " + SystemReason());
  close(descriptor);
  const fs::path scratch = name;
  try {
    formats::WriteDxfResult(scratch.string(), ToAreas(outcomes), &source);
    std::ifstream in(scratch, std::ios::binary);
    std::cout << in.rdbuf();
    std::cout.flush();
  } catch (...) {
    std::error_code ignored;
    fs::remove(scratch, ignored);
    throw;
  }
  std::error_code ignored;
  fs::remove(scratch, ignored);
}

// A line on standard error for each pick that found no area.
void ReportFailures(const std::vector<PickOutcome>& outcomes) {
  for (const PickOutcome& outcome : outcomes) {
    if (outcome.ok) continue;
    const std::string reason = FailureReason(outcome.code);
    std::cerr << "pphatch: no area at " << outcome.at.x << ',' << outcome.at.y << ": "
              << outcome.error << (reason.empty() ? "" : " (" + reason + ")") << '\n';
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

  std::vector<PickOutcome> outcomes = RunPicks(loaded.drawing, points);
  AssignFailureCodes(outcomes, loaded.summary);
  try {
    if (format == "svg") {
      ToOutput(options.output, [&](std::ostream& out) {
        formats::WriteSvg(out, *loaded.drawing, ToSvgPicks(outcomes),
                          PictureOptions(options.drawing, loaded.summary, frame));
      });
      ReportFailures(outcomes);
    } else if (format == "dxf") {
      WriteDxfOutput(options.output, outcomes, *loaded.drawing);
      ReportFailures(outcomes);
    } else {
      ToOutput(options.output, [&](std::ostream& out) { WriteJsonLines(out, outcomes, loaded.summary.contents.units); });
    }
  } catch (const formats::WriteError& e) {
    throw CliError(e.what());
  }
  return ExitStatus(outcomes);
}

}  // namespace pphatch::cli
