// pphatch: hatch the closed area around a picked point of a drawing.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string>

#include "cli_error.h"
#include "commands.h"

namespace {

using pphatch::cli::kExitUsage;

// The command line: four commands, each with --help, and --version.
int Run(int argc, char** argv) {
  CLI::App app{"Finds the closed area around a picked point of a 2D drawing (DXF or JSON)\n"
               "and its islands, as a CAD program's \"hatch by picking a point\" does.",
               "pphatch"};
  app.set_version_flag("--version", std::string("pphatch ") + PPHATCH_VERSION);
  app.require_subcommand(1);

  pphatch::cli::PickOptions pick;
  CLI::App* pickCommand = app.add_subcommand(
      "pick", "Hatch the areas around points given in drawing coordinates.");
  pickCommand->add_option("DRAWING", pick.drawing, "The drawing: a .dxf or .json file")
      ->required()
      ->type_name("FILE");
  pickCommand->add_option("--at", pick.at, "A pick point in drawing coordinates (repeatable)")
      ->allow_extra_args(false)
      ->type_name("X,Y");
  pickCommand
      ->add_option("--points", pick.pointsFile,
                   "Pick points, one a line as X Y or X,Y (# starts a comment); after the --at points")
      ->type_name("FILE");
  pickCommand
      ->add_option("--format", pick.format,
                   "json: one JSON line per pick (default); svg: a picture; dxf: hatches")
      ->check(CLI::IsMember({"json", "svg", "dxf"}))
      ->type_name("FORMAT");
  pickCommand
      ->add_option("-o,--output", pick.output,
                   "Write to FILE instead of standard output (required for dxf)")
      ->type_name("FILE");

  std::string infoDrawing;
  CLI::App* infoCommand =
      app.add_subcommand("info", "Show what is loaded from a drawing and what is ignored.");
  infoCommand->add_option("DRAWING", infoDrawing, "The drawing: a .dxf or .json file")
      ->required()
      ->type_name("FILE");

  CLI::App* demoCommand = app.add_subcommand(
      "demo", "Hatch the rooms of the bundled floor plan; print JSON lines, write demo.svg.");

  pphatch::cli::ViewOptions view;
  CLI::App* viewCommand = pphatch::cli::AddViewCommand(app, view);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : kExitUsage;
  }
  if (*pickCommand) return pphatch::cli::RunPickCommand(pick);
  if (*infoCommand) return pphatch::cli::RunInfoCommand(infoDrawing);
  if (*viewCommand) return pphatch::cli::RunViewCommand(view);
  if (*demoCommand) return pphatch::cli::RunDemoCommand(argc > 0 ? argv[0] : "pphatch");
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {  // CliError, and anything unforeseen
    std::cerr << "pphatch: " << e.what() << '\n';
    return kExitUsage;
  }
}
