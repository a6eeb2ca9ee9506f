// A walk from a click through the free space between graphics, tile by
// tile, towards the edge of the drawing: a click that reaches beyond the
// drawing's box lies in no bounded area, and the walk shows it without
// reading the drawing around every part of the way.
#pragma once

#include "area/neighbourhood.h"
#include "component/budget_guard.h"
#include "geometry/box_tree.h"

namespace pphatch {

/// What a walk from the click found.
struct EscapeWalk {
  enum class Outcome {
    /// A path from the click leaves the drawing's box and crosses no graphic.
    kLeavesDrawing,
    /// Every way out of the click's face was followed and ends in the
    /// drawing: the face lies inside `reached`.
    kEnclosed,
    /// The walk gave up (too many tiles, a click on a graphic, a passage
    /// too narrow to tell): it says nothing.
    kUndecided,
  };
  Outcome outcome = Outcome::kUndecided;
  /// The tiles the walk entered.
  Box reached;
};

/// Walks from `click` through square tiles of side `tileSide` laid round it.
/// In each tile, the graphics the neighbourhood picks there are cut where
/// they meet (with `tolerance`, drawing units) and framed by the tile's
/// edges; the walk moves from the face it is in to the next tile through
/// each stretch of the tile's edge that the face reaches, nearest the
/// drawing's edge first, until a stretch lies outside `drawing`. Only
/// stretches well clear of every graphic are passed through, so a walk that
/// leaves the drawing never crosses a graphic. Tiles read this way add their
/// chains to the neighbourhood. The walk gives up once its tiles have
/// taken in chains of `maxPoints` points in all.
EscapeWalk WalkOut(Neighbourhood& hood, Point2 click, const Box& drawing, double tileSide,
                   double tolerance, size_t maxPoints, BudgetGuard& budget);

}  // namespace pphatch
