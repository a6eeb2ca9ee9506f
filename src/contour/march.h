// The first stage of the search: from the pick point, march left through the
// view until graphics are met, and find the chain that the horizontal line
// through the point crosses nearest on its left.
#pragma once

#include <optional>

#include "contour/search_state.h"
#include "contour/suspended_fills.h"
#include "geometry/incidence.h"

namespace pphatch {

/// The chain hit by the march: its index in Module().Curves, the hit
/// segment (point `segment` to point `segment` + 1) and the x of the crossing.
struct RayHit {
  int chain = 0;
  int segment = 0;
  double crossX = 0;
};

/// Where the segment A->B crosses the line y = y0 strictly left of x0:
/// the crossing's x, or nothing. Horizontal segments (within GeomTolerance)
/// and a crossing at A itself do not count; one at B does.
std::optional<double> CrossingLeftOf(Point2 a, Point2 b, double x0, double y0);

/// Sets the search up (candidate set, tolerance, reference point) and
/// marches from the view point (px, py); px moves left with every pass that
/// meets graphics but no crossing. Fills under the pick point are blanked
/// in `fills` for each pass. Returns the hit, or nothing when the march
/// ends without one or the time budget is spent.
std::optional<RayHit> MarchToNearestChain(SearchState& search, SuspendedFills& fills, double& px,
                                          double& py);

}  // namespace pphatch
