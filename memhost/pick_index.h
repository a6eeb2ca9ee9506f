// The spatial index of a drawing's top-level graphics.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "memhost/outline.h"
#include "memhost/vec.h"

namespace pphatch::mem {

class MemGraphic;

/// An R-tree of the boxes of the top-level graphics, with each graphic's
/// outline cached beside it from the first query whose box meets the
/// graphic's (so a big drawing holds outlines only where it was picked in
/// or viewed). Changes are recorded as dirty graphics and
/// re-indexed lazily at the next query, so a pick costs about log n plus
/// the exact tests of the graphics whose boxes it meets.
class PickIndex {
 public:
  PickIndex();
  ~PickIndex();
  PickIndex(const PickIndex&) = delete;
  PickIndex& operator=(const PickIndex&) = delete;

  /// The graphic (in the drawing's list) was added or its geometry changed.
  void MarkDirty(MemGraphic& graphic);
  /// The graphic left the drawing's list.
  void Erase(MemGraphic& graphic);
  /// Every graphic left the drawing's list.
  void Clear();

  /// Graphics whose geometry passes within `radius` of p, or, when their
  /// "BrushStyle" is neither "None" nor empty, whose closed area holds p;
  /// in drawing order.
  std::vector<MemGraphic*> AtPoint(Vec2 p, double radius);
  /// Graphics whose geometry crosses or lies inside the convex polygon, in
  /// drawing order.
  std::vector<MemGraphic*> InPolygon(const std::vector<Vec2>& polygon);
  /// Box of every indexed graphic; nothing when none has geometry.
  std::optional<Box> Bounds();
  /// Number of graphics whose boxes meet the box, counting no further than
  /// `limit` (so a count in a crowded box costs about log n + limit).
  std::size_t CountInBox(const Box& box, std::size_t limit);
  /// Number of indexed graphics.
  std::size_t Size();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pphatch::mem
