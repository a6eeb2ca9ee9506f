// The area around a click: its outer boundary and its islands, found from
// the graphics around the click alone.
#pragma once

#include <optional>
#include <vector>

#include "area/area_boundaries.h"
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

/// The area in the given chains whose closure holds `click`, with the
/// given tolerance: the smallest bounded face of the chains, cut where they
/// meet, that holds the click (a click on a line belongs to the smaller
/// area beside it), and the outlines of the groups of chains inside it.
/// Dangling lines bound nothing. Nothing when the click lies in no bounded
/// face. The chains are as they were when it returns.
std::optional<AreaBoundaries> FindAreaInChains(std::vector<CurveRecord>& chains, Point2 click,
                                               double tolerance, BudgetGuard& budget);

/// The area around a click (drawing coordinates) in the drawing the module
/// state's view shows. The graphics are gathered in square windows around
/// the click, starting from twice the distance to the nearest graphic,
/// doubling while no area holds the click and reaching past the area found
/// once one does, until the area found lies inside the window (nothing
/// outside it can change it) or the window covers the drawing. So the answer, and
/// its cost, depend only on what surrounds the click. GeomTolerance is set
/// for each window. Nothing when no bounded area holds the click; raises
/// BudgetSpent when the request's budget runs out.
std::optional<AreaBoundaries> FindAreaAround(ObjectState& state, Point2 click);

}  // namespace pphatch
