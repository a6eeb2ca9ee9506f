// pphatch: hatch the closed area around a picked point of a drawing.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_error.h"
#include "commands.h"
#include "formats/nearest_name.h"
#include "gap_option.h"
#include "points.h"

namespace {

using pphatch::cli::CliError;
using pphatch::cli::kExitUsage;

// The output file and the fill of DXF hatches, as pick and rooms take them.
void AddOutputOptions(CLI::App& command, std::string& output, bool& solid) {
  command
      .add_option("-o,--output", output, "Write to FILE instead of standard output (- is standard output)")
      ->type_name("FILE");
  command.add_flag("--solid", solid,
                   "DXF hatches are filled solid (default: ANSI31 lines scaled to the units)");
}

// Writes a message on standard error with "pphatch: " before each of its lines.
void PrintError(const std::string& message) {
  std::istringstream lines(message);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty()) std::cerr << "pphatch: " << line << '\n';
  }
}

// CliError with a hint when the shell split a point ("--at 1 2" or "--at 1, 2").
void CheckSplitPoints(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) != "--at") continue;
    if (const auto hint = pphatch::cli::SplitPointHint(argv[i + 1], i + 2 < argc ? argv[i + 2] : "")) {
      throw CliError(*hint);
    }
  }
}

// The names of the tool's commands, in the order they were added.
std::vector<std::string> CommandNames(CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
    names.push_back(command->get_name());
  }
  return names;
}

// "no command 'pik'; did you mean pick? (the commands: ...)".
std::string NoCommand(const std::string& word, const std::vector<std::string>& commands) {
  const auto nearest = pphatch::formats::NearestName(word, commands);
  std::string list;
  for (const std::string& name : commands) list += (list.empty() ? "" : ", ") + name;
  return "no command '" + word + "'" + (nearest ? "; did you mean " + *nearest + "?" : "") +
         " (the commands: " + list + ")";
}

// CliError when the first word is neither an option nor one of the commands.
void CheckCommandName(int argc, char** argv, const std::vector<std::string>& commands) {
  if (argc < 2 || argv[1][0] == '-') return;
  const std::string word = argv[1];
  if (std::find(commands.begin(), commands.end(), word) == commands.end()) {
    throw CliError(NoCommand(word, commands));
  }
}

// The command line: pick, rooms, info, view, demo and help, each with --help, and --version.
int Run(int argc, char** argv) {
  CLI::App app{"Finds the closed area around a picked point of a 2D drawing (DXF or JSON)\n"
               "and its islands, as a CAD program's \"hatch by picking a point\" does.",
               "pphatch"};
  app.set_version_flag("-V,--version", std::string("pphatch ") + PPHATCH_VERSION);
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
                   "Pick points, one a line as X Y or X,Y (# starts a comment), after the --at "
                   "points; - reads standard input")
      ->type_name("FILE");
  pickCommand
      ->add_option("--format", pick.format,
                   "json: one JSON line per pick; svg: a picture; dxf: hatches. Default: from "
                   "the extension of -o (.svg, .dxf, .json, .jsonl), else json")
      ->check(CLI::IsMember({"json", "jsonl", "svg", "dxf"}, CLI::ignore_case))
      ->type_name("FORMAT");
  AddOutputOptions(*pickCommand, pick.output, pick.solid);
  pickCommand
      ->add_option("--frame", pick.frame,
                   "The part of the drawing the picture shows (two opposite corners); by "
                   "default where the graphics are, far outliers left out")
      ->type_name("X1,Y1,X2,Y2");
  pphatch::cli::AddGapOption(*pickCommand, pick.gap);
  pphatch::cli::AddLayerOptions(*pickCommand, pick.layers);

  pphatch::cli::RoomsOptions rooms;
  CLI::App* roomsCommand = app.add_subcommand(
      "rooms", "Hatch the area around every TEXT and MTEXT label of a DXF drawing: a room schedule.");
  roomsCommand->add_option("DRAWING", rooms.drawing, "The drawing: an ASCII .dxf file")
      ->required()
      ->type_name("FILE");
  roomsCommand->add_option("--layer", rooms.layers, "Only labels on this layer (repeatable)")
      ->allow_extra_args(false)
      ->type_name("NAME");
  roomsCommand->add_option("--match", rooms.match, "Only labels whose text this regular expression finds in")
      ->type_name("REGEX");
  pphatch::cli::AddGapOption(*roomsCommand, rooms.gap);
  roomsCommand
      ->add_option("--format", rooms.format,
                   "csv: the schedule; json; svg: a picture; dxf: the drawing with the rooms "
                   "hatched. Default: from the extension of -o, else csv")
      ->check(CLI::IsMember({"csv", "json", "svg", "dxf"}, CLI::ignore_case))
      ->type_name("FORMAT");
  AddOutputOptions(*roomsCommand, rooms.output, rooms.solid);
  pphatch::cli::AddLayerOptions(*roomsCommand, rooms.boundingLayers);

  pphatch::cli::InfoOptions info;
  CLI::App* infoCommand = app.add_subcommand(
      "info", "Show what a drawing holds (entities, layers, units) and what bounds no area.");
  infoCommand->add_option("DRAWING", info.drawing, "The drawing: a .dxf or .json file")
      ->required()
      ->type_name("FILE");
  pphatch::cli::AddLayerOptions(*infoCommand, info.layers);
  infoCommand->add_flag("-v,--verbose", info.verbose,
                        "Also list the graphics as loaded, by the in-memory host's kinds");

  CLI::App* demoCommand = app.add_subcommand(
      "demo", "Hatch the rooms of the bundled floor plan; print JSON lines, write demo.svg.");

  pphatch::cli::ViewOptions view;
  CLI::App* viewCommand = pphatch::cli::AddViewCommand(app, view);

  std::string helpTopic;
  CLI::App* helpCommand = app.add_subcommand("help", "Show the help of pphatch or of a command.");
  helpCommand->add_option("COMMAND", helpTopic, "The command to explain");

  CheckCommandName(argc, argv, CommandNames(app));
  CheckSplitPoints(argc, argv);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    PrintError(e.what());
    std::cerr << "pphatch: see 'pphatch help' for the commands and their options\n";
    return kExitUsage;
  }
  if (*helpCommand) {
    if (helpTopic.empty()) {
      // app.help() would show the help of the chosen command, "help" itself.
      std::cout << app.get_formatter()->make_help(&app, "pphatch", CLI::AppFormatMode::Normal);
      return 0;
    }
    const std::vector<std::string> names = CommandNames(app);
    if (std::find(names.begin(), names.end(), helpTopic) == names.end()) {
      throw CliError("help: " + NoCommand(helpTopic, names));
    }
    std::cout << app.get_subcommand(helpTopic)->help();
    return 0;
  }
  if (*pickCommand) return pphatch::cli::RunPickCommand(pick);
  if (*roomsCommand) return pphatch::cli::RunRoomsCommand(rooms);
  if (*infoCommand) return pphatch::cli::RunInfoCommand(info);
  if (*viewCommand) return pphatch::cli::RunViewCommand(view);
  if (*demoCommand) return pphatch::cli::RunDemoCommand(argc > 0 ? argv[0] : "pphatch");
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {  // CliError, and anything unforeseen
    PrintError(e.what());
    return kExitUsage;
  }
}
