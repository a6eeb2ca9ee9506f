// Bridges over small gaps: straight edges that join a free end of a chain to
// the nearest point of another graphic, so that a boundary that stops just
// short of closing still bounds an area.
#pragma once

#include <vector>

#include "area/noding.h"
#include "component/budget_guard.h"
#include "curves/curve_record.h"

namespace pphatch {

/// A straight bridge over a gap, in drawing coordinates.
struct GapBridge {
  Point2 from;      ///< the free end the bridge starts from
  Point2 to;        ///< the nearest point of the graphic it reaches
  double size = 0;  ///< the gap's width: the distance from `from` to `to`
};

/// The nodes of the noded chains that exactly one edge meets: the ends of
/// chains that touch nothing.
std::vector<int> FreeEndNodes(const NodedChains& noded);

/// The bridges that a gap tolerance of `reach` drawing units lays over the
/// noded chains, shortest first (ties in the order of the free ends). Each
/// free end reaches for the nearest point of the other graphics (an end,
/// any point of a line, the true curve of a circle, ellipse or arc) that
///  - lies within `reach` (a billionth of it more, for the rounding of the
///    coordinates the gap is measured from),
///  - is not its own chain's neighbourhood: the way along the drawing from
///    the end to that point is more than eight times the bridge's length
///    (a gap is small beside the boundary it closes), so a hooked end does
///    not bridge to the line it hangs on, nor a half circle's ends to each
///    other, while a polyline or an arc that almost closes bridges its ends,
///  - can be reached without crossing any graphic.
/// Then, shortest first, each free end lays at most one bridge, and a
/// bridge that would cross one laid before, or repeat it from the other
/// end, is left out. So the bridges for a smaller reach are the first ones
/// of this list. `chains` are the chains `noded` was made from.
std::vector<GapBridge> GapBridges(const std::vector<CurveRecord>& chains, const NodedChains& noded,
                                  double reach, double tolerance, BudgetGuard& budget);

}  // namespace pphatch
