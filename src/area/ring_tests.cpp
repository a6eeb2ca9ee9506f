#include "area/ring_tests.h"

#include <algorithm>
#include <cmath>

namespace pphatch {
namespace {

// Edges per band of a locator, on average.
constexpr double kEdgesPerBand = 4;
// Bands at most, so that long edges spanning many bands stay cheap.
constexpr int kMaxBands = 4096;

// True when the edge a-b crosses the ray from p towards +x (half-open in
// y, so that a vertex on the ray counts once).
bool CrossesRay(Point2 p, Point2 a, Point2 b) {
  if ((a.y > p.y) == (b.y > p.y)) return false;
  const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
  return x > p.x;
}

}  // namespace

RingSide SideOfRing(const PlanarGraph& graph, const Ring& ring, Point2 p, double tolerance) {
  bool inside = false;
  for (const int h : ring.halfEdges) {
    const Point2 a = graph.OriginPoint(h), b = graph.OriginPoint(h ^ 1);
    if (DistanceToSegment(p, a, b) <= tolerance) return RingSide::kOnBoundary;
    if (CrossesRay(p, a, b)) inside = !inside;
  }
  return inside ? RingSide::kInside : RingSide::kOutside;
}

RingLocator::RingLocator(const PlanarGraph& graph, const Ring& ring) {
  edges_.reserve(ring.halfEdges.size());
  for (const int h : ring.halfEdges) edges_.push_back({graph.OriginPoint(h), graph.OriginPoint(h ^ 1)});
  SortIntoBands();
}

RingLocator::RingLocator(const CurveRecord& chain) {
  const int n = std::min<int>(chain.PointCount, static_cast<int>(std::min(chain.X.size(), chain.Y.size())));
  for (int k = 0; k + 1 < n; ++k) edges_.push_back({{chain.X[k], chain.Y[k]}, {chain.X[k + 1], chain.Y[k + 1]}});
  SortIntoBands();
}

void RingLocator::SortIntoBands() {
  Box box;
  for (const Edge& e : edges_) {
    box.Add(e.p);
    box.Add(e.q);
  }
  minY_ = box.minY;
  const double height = box.maxY - box.minY;
  const int bands = std::clamp(static_cast<int>(static_cast<double>(edges_.size()) / kEdgesPerBand), 1, kMaxBands);
  bandHeight_ = height > 0 ? height / bands : 1;
  bands_.assign(static_cast<size_t>(bands), {});
  for (int e = 0; e < static_cast<int>(edges_.size()); ++e) {
    const int low = BandOf(std::min(edges_[e].p.y, edges_[e].q.y));
    const int high = BandOf(std::max(edges_[e].p.y, edges_[e].q.y));
    for (int b = low; b <= high; ++b) bands_[static_cast<size_t>(b)].push_back(e);
  }
}

int RingLocator::BandOf(double y) const {
  const double band = std::floor((y - minY_) / bandHeight_);
  return static_cast<int>(std::clamp(band, 0.0, static_cast<double>(bands_.size() - 1)));
}

RingSide RingLocator::Side(Point2 p, double tolerance) const {
  // Edges within the tolerance of p lie in the bands around p's.
  const int low = BandOf(p.y - tolerance), high = BandOf(p.y + tolerance);
  for (int b = low; b <= high; ++b) {
    for (const int e : bands_[static_cast<size_t>(b)]) {
      if (DistanceToSegment(p, edges_[e].p, edges_[e].q) <= tolerance) return RingSide::kOnBoundary;
    }
  }
  bool inside = false;
  for (const int e : bands_[static_cast<size_t>(BandOf(p.y))]) {
    if (CrossesRay(p, edges_[e].p, edges_[e].q)) inside = !inside;
  }
  return inside ? RingSide::kInside : RingSide::kOutside;
}

}  // namespace pphatch
