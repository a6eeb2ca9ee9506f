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

/// Where a click lies between the chord that stands for a circle or
/// ellipse and the true curve: inside the curve but outside its chords.
struct ChordGap {
  int chain = 0;  ///< the chain of the curve
  int chord = 0;  ///< its chord from point `chord` to point `chord + 1`
  Point2 onCurve; ///< the point of the true curve seen from the centre through the click
};

/// The chord gap that holds p, if any (the first one in chain order).
std::optional<ChordGap> ChordGapHolding(const std::vector<CurveRecord>& chains, Point2 p);

}  // namespace pphatch
