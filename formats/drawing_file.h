// Reading a drawing file of any supported format.
#pragma once

#include <string>

#include "formats/load_summary.h"

namespace pphatch::formats {

/// Reads a .dxf or .json drawing, chosen by the file's extension (any case);
/// ReadError for other extensions and for files that cannot be read.
LoadedDrawing ReadDrawingFile(const std::string& path);

}  // namespace pphatch::formats
