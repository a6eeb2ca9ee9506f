// Deep copies of graphics, optionally placed by a block insert's map.
#pragma once

#include <memory>

#include "memhost/affine.h"

namespace pphatch::mem {

class MemDrawing;
class MemGraphic;

/// A copy of `source` and all its descendants with new IDs from `drawing`,
/// in no list. With a map, vertices and shapes are transformed (z stays):
/// - a "CIRCLE" or "ARC" gets the image of its shape (see Transformed);
///   under a map that is not a turning, uniformly scaling one, its layout
///   vertices (centre; start, end and middle points) are rewritten from the
///   new shape, since a mirror swaps the arc's ends and a non-uniform map
///   moves the points at the re-measured angles;
/// - every other chain is mapped vertex by vertex (see MappedChain for
///   polyline arc runs).
/// Without a map, coordinates are copied as they are. Workplanes are shared,
/// properties copied.
std::shared_ptr<MemGraphic> CopyGraphic(const MemGraphic& source, MemDrawing& drawing,
                                        const Affine2* map);
/// The same under a placement (or none).
std::shared_ptr<MemGraphic> CopyGraphic(const MemGraphic& source, MemDrawing& drawing,
                                        const Placement* placement = nullptr);

}  // namespace pphatch::mem
