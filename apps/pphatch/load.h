// Loading the drawing named on the command line.
#pragma once

#include <ostream>
#include <string>

#include "formats/layer_filter.h"
#include "formats/load_summary.h"

namespace pphatch::cli {

/// Reads a .dxf or .json drawing, leaving out the layers the filter does
/// not keep; CliError naming the file and the problem when it cannot be read.
formats::LoadedDrawing LoadDrawing(const std::string& path, const formats::LayerFilter& layers = {});

/// Writes what the reader left out, one line each: "pphatch: FILE: 4 TEXT
/// entities ignored".
void PrintReport(std::ostream& out, const std::string& path, const formats::LoadReport& report);

}  // namespace pphatch::cli
