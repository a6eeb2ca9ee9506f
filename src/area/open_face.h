// Where the face around a click is open, when no bounded face holds the
// click: the gaps a tolerance could bridge and the free ends of chains in it.
#pragma once

#include <vector>

#include "area/gap_bridges.h"
#include "area/planar_graph.h"
#include "component/budget_guard.h"
#include "curves/curve_record.h"

namespace pphatch {

/// What a search that found no area saw around the click in the drawing
/// it searched: the face the click lies in is unbounded, and these are the
/// places where it is open.
struct OpenFace {
  /// The bridges up to the asked size that lie in the click's face, as
  /// GapBridges lays them: shortest first.
  std::vector<GapBridge> bridges;
  /// The free ends of chains that lie in the click's face.
  std::vector<Point2> freeEnds;
  /// The click lies on a graphic (within the tolerance).
  bool clickOnGraphic = false;
  /// A search over the drawing around the click filled this in (none does
  /// when no graphic lies around the click).
  bool searched = false;
};

/// What the click's face, which is unbounded in `graph`, holds of the
/// drawing before any bridge (`unbridged`, noded from `chains`): the
/// bridges up to `reach` that lie in it (none when the click sees out past
/// every line and bridge to the left, right, down or up, since then nothing
/// closes round it), the free ends that lie in it, and whether the click
/// lies on a graphic (within `tolerance`).
OpenFace OpenFaceOf(const std::vector<CurveRecord>& chains, const NodedChains& unbridged,
                    const PlanarGraph& graph, Point2 click, double reach, double tolerance,
                    BudgetGuard& budget);

}  // namespace pphatch
