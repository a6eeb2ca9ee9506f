// Adding found areas to the text of a DXF file, leaving all else as it was.
#pragma once

#include <string>
#include <vector>

#include "formats/dxf_writer.h"

namespace pphatch::formats {

/// The text of the ASCII DXF file `source` with the areas added at the end
/// of its ENTITIES section (a new section when it has none): one HATCH each,
/// and each contour as a closed polyline when `options.boundaries`. New
/// entities take handles above every handle of the file, $HANDSEED moves
/// past them, and the hatch and boundary layers join the LAYER table when
/// it lacks them. Every other byte of the source is kept. A file older than
/// R13 has no HATCH entity: its areas are added as boundary polylines only,
/// and a line saying so is appended to `notes`. ReadError naming `name`
/// when the text is not DXF.
std::string AddAreasToDxf(const std::string& source, const std::string& name,
                          const std::vector<PickArea>& areas, const DxfWriteOptions& options,
                          std::vector<std::string>& notes);

}  // namespace pphatch::formats
