// The DXF output of the tool: the source drawing kept, with the hatches added.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "formats/dxf_writer.h"
#include "memhost/drawing.h"

namespace pphatch::cli {

/// True for a .dxf file that is text, not binary DXF.
bool IsAsciiDxf(const std::string& path);

/// Writes the areas to `output`: over the source file itself when it is an
/// ASCII DXF (everything in it kept), else as a new file showing the loaded
/// drawing; `gaps` are marked on a layer of their own. "-" is standard
/// output. Notes about the result go to standard error. CliError when a
/// file cannot be read or written.
void WriteDxfOutput(const std::string& drawingPath, const mem::MemDrawing& drawing,
                    const std::string& output, const std::vector<formats::PickArea>& areas,
                    bool solid, const std::vector<formats::GapMark>& gaps = {});

}  // namespace pphatch::cli
