// Deep copies of graphics, optionally placed by a block insert's transform.
#pragma once

#include <memory>

#include "memhost/arc_shape.h"

namespace pphatch::mem {

class MemDrawing;
class MemGraphic;

/// A copy of `source` and all its descendants with new IDs from `drawing`,
/// in no list. With a placement, vertices and shapes are transformed
/// (z stays); otherwise coordinates are copied as they are. Workplanes are
/// shared, properties copied.
std::shared_ptr<MemGraphic> CopyGraphic(const MemGraphic& source, MemDrawing& drawing,
                                        const Placement* placement = nullptr);

}  // namespace pphatch::mem
