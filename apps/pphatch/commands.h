// The tool's commands. Each returns the exit status; usage errors and
// unusable files are thrown as CliError.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "layer_options.h"

namespace pphatch::cli {

/// Options of `pphatch pick`.
struct PickOptions {
  std::string drawing;             ///< .dxf or .json file
  std::vector<std::string> at;     ///< --at values "X,Y", in order
  std::string pointsFile;          ///< --points FILE ("-": standard input), after the --at values
  std::string format;              ///< json, svg or dxf; empty: from the output's extension
  std::string output;              ///< -o FILE; empty or "-" for standard output
  bool solid = false;              ///< --solid: DXF hatches filled solid
  double gap = 0;                  ///< --gap G: gap tolerance in drawing units
  LayerOptions layers;             ///< the layers that bound areas
  std::string frame;               ///< --frame X1,Y1,X2,Y2 of the picture; empty: automatic
};

/// Options of `pphatch info`.
struct InfoOptions {
  std::string drawing;  ///< .dxf or .json file
  LayerOptions layers;  ///< the layers to load
  bool verbose = false; ///< also list the graphics by the in-memory host's kinds
};

/// Options of `pphatch view`.
struct ViewOptions {
  std::string drawing;             ///< .dxf or .json file
  std::string host = "127.0.0.1";  ///< address to listen on
  int port = 0;                    ///< 0: a free port
  double gap = 0;                  ///< --gap G: the gap tolerance of the picks
  LayerOptions layers;             ///< the layers that bound areas
};

/// Hatches the areas around the points and writes them in the chosen format.
int RunPickCommand(const PickOptions& options);

/// Options of `pphatch rooms`.
struct RoomsOptions {
  std::string drawing;              ///< an ASCII .dxf file
  std::vector<std::string> layers;  ///< --layer values: labels only from these layers
  std::string match;                ///< --match: labels only whose text this regex finds in
  std::string format;               ///< csv, json, svg or dxf; empty: from the output's extension
  std::string output;               ///< -o FILE; empty or "-" for standard output
  bool solid = false;               ///< --solid: DXF hatches filled solid
  double gap = 0;                   ///< --gap G: gap tolerance in drawing units
  LayerOptions boundingLayers;      ///< --layers / --ignore-layers: the layers that bound areas
};

/// Picks at every label of the drawing and writes the room schedule.
int RunRoomsCommand(const RoomsOptions& options);

/// Lists what the drawing holds, in its format's words, and what will not bound an area.
int RunInfoCommand(const InfoOptions& options);

/// Adds `view` and its options, read into `options`, to the command line.
CLI::App* AddViewCommand(CLI::App& app, ViewOptions& options);

/// Serves the drawing as a page to hatch by pointing until interrupted.
int RunViewCommand(const ViewOptions& options);

/// Hatches the rooms of the bundled floor plan, prints the JSON lines and
/// writes demo.svg into the current directory. `program` is argv[0].
int RunDemoCommand(const std::string& program);

}  // namespace pphatch::cli
