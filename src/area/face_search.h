// Finding, in a planar graph, the face that holds a point and the islands
// that lie in it.
#pragma once

#include <optional>
#include <vector>

#include "area/planar_graph.h"

namespace pphatch {

/// The bounded face whose closure holds p: the ring of smallest area among
/// the counter-clockwise rings that hold p inside or on their boundary
/// (within `tolerance`); such rings are nested, so the smallest is the
/// innermost. Nothing when p lies in no bounded face.
std::optional<int> RingHolding(const PlanarGraph& graph, Point2 p, double tolerance);

/// The islands of the face bounded by ring `outer`: the outside rings of the
/// connected groups of edges that lie inside it and in no bounded face of
/// another group inside it.
std::vector<int> IslandRings(const PlanarGraph& graph, int outer, double tolerance,
                             BudgetGuard& budget);

/// The point to locate for a click at p. A click between the chord that
/// stands for a circle or ellipse and the true curve lies inside the curve
/// but outside its chords; it is mirrored to the inner side of the chord,
/// so that the face inside the curve holds it. Any other click is located
/// where it is.
Point2 PointToLocate(const PlanarGraph& graph, const std::vector<CurveRecord>& chains, Point2 p);

}  // namespace pphatch
