// From a DxfDocument to graphics of an in-memory drawing.
#pragma once

#include <memory>
#include <string>

#include "formats/dxf_document.h"
#include "memhost/drawing.h"

namespace pphatch::formats {

/// Most graphics one file may expand to (inserts of inserts multiply); a
/// file that would make more is refused rather than exhausting memory.
inline constexpr long long kMaxGraphics = 2'000'000;

/// Adds the document's visible model-space entities to the drawing, in
/// file order, and its $TILEMODE as the drawing's "TileMode". Entities left
/// out are counted in `report`. Throws ReadError (naming `name`) when the
/// drawing would exceed kMaxGraphics.
void EmitDxfDocument(const DxfDocument& document, const std::shared_ptr<mem::MemDrawing>& drawing,
                     LoadReport& report, const std::string& name);

}  // namespace pphatch::formats
