// Reading a drawing file of any supported format.
#pragma once

#include <string>

#include "formats/layer_filter.h"
#include "formats/load_summary.h"

namespace pphatch::formats {

/// Reads a .dxf or .json drawing, chosen by the file's extension (any case),
/// leaving out the layers that `layers` does not keep (a JSON drawing has
/// no layers: a selection gives a warning). ReadError for other extensions,
/// for DWG files and for files that cannot be read.
LoadedDrawing ReadDrawingFile(const std::string& path, const LayerFilter& layers = {});

}  // namespace pphatch::formats
