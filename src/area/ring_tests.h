// Where a point lies with respect to a ring of a planar graph.
#pragma once

#include <vector>

#include "area/planar_graph.h"

namespace pphatch {

/// Where a point lies with respect to a ring.
enum class RingSide { kOutside, kOnBoundary, kInside };

/// Where p lies with respect to the ring: on its boundary when it is within
/// `tolerance` of one of its edges, else inside or outside by the crossings
/// of a ray from p (even-odd; an edge walked twice, as a ring walks a line
/// between a wall and an island, crosses twice and counts for nothing).
RingSide SideOfRing(const PlanarGraph& graph, const Ring& ring, Point2 p, double tolerance);

/// The same question asked of one ring many times: its edges sorted into
/// horizontal bands, so that a point is tested against the edges of its
/// band only.
class RingLocator {
 public:
  RingLocator(const PlanarGraph& graph, const Ring& ring);
  /// The ring of a closed chain (its last point repeats its first).
  explicit RingLocator(const CurveRecord& chain);
  RingSide Side(Point2 p, double tolerance) const;

 private:
  struct Edge {
    Point2 p, q;
  };
  void SortIntoBands();
  int BandOf(double y) const;

  std::vector<Edge> edges_;
  std::vector<std::vector<int>> bands_;
  double minY_ = 0, bandHeight_ = 1;
};

}  // namespace pphatch
