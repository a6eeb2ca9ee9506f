// The area around a click: its outer boundary and its islands, found from
// the graphics around the click alone.
#pragma once

#include <optional>
#include <vector>

#include "area/area_boundaries.h"
#include "area/gap_bridges.h"
#include "area/open_face.h"
#include "component/state.h"
#include "curves/curve_record.h"

namespace pphatch {

/// How close two points must be to count as one, for a search that looks
/// at a window of `span` drawing units around a point whose coordinates
/// are up to `magnitude`: a ten-millionth of the window (no zoom a CAD
/// program offers shows such a gap next to the area), and never below what
/// doubles at that magnitude can tell apart reliably (1e-13 of it, some
/// 450 units in the last place).
double ToleranceFor(double span, double magnitude);

/// What a search asks for beyond the area itself.
struct AreaSearchOptions {
  /// Gap tolerance (drawing units): free ends within it are bridged.
  double gap = 0;
  /// When set and no area is found: receives the open face of the last
  /// drawing searched, with the bridges up to `openReach`.
  OpenFace* open = nullptr;
  double openReach = 0;
};

/// The area in the given chains whose closure holds `click`, with the
/// given tolerance: the smallest bounded face of the chains, cut where they
/// meet and bridged over gaps up to `options.gap` (GapBridges), that holds
/// the click (a click on a line belongs to the smaller area beside it), and
/// the outlines of the groups of chains inside it. Dangling lines bound
/// nothing. Nothing when the click lies in no bounded face. The chains are
/// as they were when it returns.
std::optional<AreaBoundaries> FindAreaInChains(std::vector<CurveRecord>& chains, Point2 click,
                                               double tolerance, BudgetGuard& budget,
                                               const AreaSearchOptions& options = {});

/// The area around a click (drawing coordinates) in the drawing the module
/// state's view shows. The graphics are gathered in square windows around
/// the click, starting from twice the distance to the nearest graphic,
/// doubling while no area holds the click and reaching past the area found
/// once one does, until the area found lies inside the window (nothing
/// outside it can change it) or the window covers the drawing. Once a
/// window of a large drawing finds no area, a walk from the click through
/// the free space between graphics (WalkOut) may show that the click sees
/// out of the drawing, which ends the search, or how far its face reaches,
/// which the next window then covers. So the answer, and its cost, depend
/// only on what surrounds the click. GeomTolerance is set
/// for each window. With a gap tolerance, an area is final once its outer
/// boundary lies inside the window by the tolerance too, since a free end
/// outside could bridge to it. Nothing when no bounded area holds the click;
/// raises BudgetSpent when the request's budget runs out.
std::optional<AreaBoundaries> FindAreaAround(ObjectState& state, Point2 click,
                                             const AreaSearchOptions& options = {});

}  // namespace pphatch
