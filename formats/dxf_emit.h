// From a DxfDocument to graphics of an in-memory drawing.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "formats/dxf_document.h"
#include "memhost/drawing.h"

namespace pphatch::formats {

/// Adds the document's visible model-space entities to the drawing, in
/// file order, and its $TILEMODE as the drawing's "TileMode", and lets go
/// of the entities as they are placed (their memory then holds graphics);
/// the blocks stay. Entities left out are counted in `report`. Throws ReadError (naming `name`), before
/// making any graphic, when the inserts, with their rows and columns, would
/// expand to more than kMaxLoadedGraphics.
/// Documents of `inHalvesFrom` graphics or more are placed by two threads,
/// a half each, to the same graphics, IDs and findings.
inline constexpr std::size_t kEmitInHalvesFrom = 32768;
void EmitDxfDocument(DxfDocument& document, const std::shared_ptr<mem::MemDrawing>& drawing,
                     LoadReport& report, const std::string& name,
                     std::size_t inHalvesFrom = kEmitInHalvesFrom);

}  // namespace pphatch::formats
