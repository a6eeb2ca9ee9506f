// The tool's commands. Each returns the exit status; usage errors and
// unusable files are thrown as CliError.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace pphatch::cli {

/// Options of `pphatch pick`.
struct PickOptions {
  std::string drawing;             ///< .dxf or .json file
  std::vector<std::string> at;     ///< --at values "X,Y", in order
  std::string pointsFile;          ///< --points FILE, read after the --at values
  std::string format = "json";     ///< json, svg or dxf
  std::string output;              ///< -o FILE; empty for standard output
};

/// Options of `pphatch view`.
struct ViewOptions {
  std::string drawing;             ///< .dxf or .json file
  std::string host = "127.0.0.1";  ///< address to listen on
  int port = 0;                    ///< 0: a free port
};

/// Hatches the areas around the points and writes them in the chosen format.
int RunPickCommand(const PickOptions& options);

/// Lists what was loaded from the drawing.
int RunInfoCommand(const std::string& drawing);

/// Adds `view` and its options, read into `options`, to the command line.
CLI::App* AddViewCommand(CLI::App& app, ViewOptions& options);

/// Serves the drawing as a page to hatch by pointing until interrupted.
int RunViewCommand(const ViewOptions& options);

/// Hatches the rooms of the bundled floor plan, prints the JSON lines and
/// writes demo.svg into the current directory. `program` is argv[0].
int RunDemoCommand(const std::string& program);

}  // namespace pphatch::cli
