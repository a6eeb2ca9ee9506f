// The rings of a found face as the boundaries the result graphic holds.
#pragma once

#include <vector>

#include "area/gap_bridges.h"
#include "area/planar_graph.h"
#include "curves/curve_record.h"

namespace pphatch {

/// The boundaries of the area around a click, each closed (its last point
/// repeats its first), in drawing coordinates.
struct AreaBoundaries {
  /// Kind "External": runs clockwise from the lower end of its edge that a
  /// ray from the click towards -x meets first.
  CurveRecord outer;
  /// Kind "Internal": each runs counter-clockwise from the lower end of its
  /// rightmost edge at its mid-height. First the islands that the ray from
  /// the click meets, nearest first; then the others, the one reaching
  /// farthest right first.
  std::vector<CurveRecord> islands;
  /// The bridges over gaps that the boundaries run along, shortest first.
  std::vector<GapBridge> bridged;
};

/// The boundaries of the face bounded by `outerRing`, with the outside
/// rings `islandRings` of its islands.
AreaBoundaries BoundariesOf(const PlanarGraph& graph, int outerRing,
                            const std::vector<int>& islandRings, Point2 click);

}  // namespace pphatch
