// `pphatch demo`: hatches the rooms of the bundled floor plan.
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "cli_error.h"
#include "commands.h"
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

constexpr const char* kDemoDrawing = "floor_plan.dxf";
constexpr const char* kDemoPoints = "floor_plan.points";
constexpr const char* kDemoPicture = "demo.svg";

// The folder of the example drawings: the source tree's, else an examples/
// folder beside the program or one level above it, else the current folder's.
fs::path ExamplesDir(const std::string& program) {
  std::vector<fs::path> candidates{PPHATCH_EXAMPLES_DIR};
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) self = fs::absolute(program, error);
  if (!error) {
    candidates.push_back(self.parent_path() / "examples");
    candidates.push_back(self.parent_path().parent_path() / "examples");
  }
  candidates.emplace_back("examples");
  for (const fs::path& dir : candidates) {
    if (fs::is_regular_file(dir / kDemoDrawing, error)) return dir;
  }
  throw CliError(std::string("cannot find the example drawing ") + kDemoDrawing +
                 " (looked in " + PPHATCH_EXAMPLES_DIR + " and beside the program)");
}

}  // namespace

int RunDemoCommand(const std::string& program) {
  const fs::path dir = ExamplesDir(program);
  const std::string drawingPath = (dir / kDemoDrawing).string();
  const formats::LoadedDrawing loaded = LoadDrawing(drawingPath);
  const std::vector<DrawingPoint> points = ReadPointsFile((dir / kDemoPoints).string());

  std::vector<PickOutcome> outcomes = RunPicks(loaded.drawing, points);
  AssignFailureCodes(outcomes, loaded.summary);
  WriteJsonLines(std::cout, outcomes, loaded.summary.contents.units);
  std::cout.flush();
  try {
    formats::WriteSvgFile(kDemoPicture, *loaded.drawing, ToSvgPicks(outcomes),
                          PictureOptions(drawingPath, loaded.summary, std::nullopt));
  } catch (const formats::WriteError& e) {
    throw CliError(e.what());
  }
  std::size_t found = 0;
  for (const PickOutcome& outcome : outcomes) found += outcome.ok ? 1 : 0;
  std::cerr << "pphatch demo: " << found << " of " << outcomes.size() << " picks in "
            << drawingPath << " found an area; picture in " << kDemoPicture << '\n';
  return ExitStatus(outcomes);
}

}  // namespace pphatch::cli
