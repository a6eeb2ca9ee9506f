#include "area/face_search.h"

#include <algorithm>
#include <cmath>

#include "area/ring_tests.h"
#include "curves/conic_frame.h"

namespace pphatch {
std::optional<int> RingHolding(const PlanarGraph& graph, Point2 p, double tolerance) {
  std::optional<int> best;
  for (int r = 0; r < static_cast<int>(graph.Rings().size()); ++r) {
    const Ring& ring = graph.Rings()[static_cast<size_t>(r)];
    if (!(ring.area > 0)) continue;
    const Box& b = ring.box;
    if (p.x < b.minX - tolerance || p.x > b.maxX + tolerance || p.y < b.minY - tolerance ||
        p.y > b.maxY + tolerance) {
      continue;
    }
    if (best && ring.area >= graph.Rings()[static_cast<size_t>(*best)].area) continue;
    if (SideOfRing(graph, ring, p, tolerance) != RingSide::kOutside) best = r;
  }
  return best;
}

std::vector<int> IslandRings(const PlanarGraph& graph, int outer, double tolerance,
                             BudgetGuard& budget) {
  const std::vector<Ring>& rings = graph.Rings();
  const Ring& outerRing = rings[static_cast<size_t>(outer)];
  const Box& box = outerRing.box;
  const auto within = [&box](const Box& b) {
    return b.minX >= box.minX && b.maxX <= box.maxX && b.minY >= box.minY && b.maxY <= box.maxY;
  };

  // Groups inside the outer ring's box, and the bounded faces they make.
  std::vector<int> candidates;
  std::vector<char> isCandidate(graph.OutsideRings().size(), 0);
  for (int g = 0; g < static_cast<int>(graph.OutsideRings().size()); ++g) {
    if (g == outerRing.group) continue;
    if (!within(rings[static_cast<size_t>(graph.OutsideRings()[static_cast<size_t>(g)])].box)) continue;
    candidates.push_back(g);
    isCandidate[static_cast<size_t>(g)] = 1;
  }
  if (candidates.empty()) return {};
  std::vector<int> faces;
  std::vector<Box> faceBoxes;
  for (int r = 0; r < static_cast<int>(rings.size()); ++r) {
    const Ring& ring = rings[static_cast<size_t>(r)];
    if (ring.area > 0 && isCandidate[static_cast<size_t>(ring.group)]) {
      faces.push_back(r);
      faceBoxes.push_back(ring.box);
    }
  }
  const BoxTree faceTree(faceBoxes);
  const RingLocator outerLocator(graph, outerRing);

  std::vector<int> islands;
  for (const int g : candidates) {
    budget.Step();
    const int outside = graph.OutsideRings()[static_cast<size_t>(g)];
    const Point2 p = graph.OriginPoint(rings[static_cast<size_t>(outside)].halfEdges.front());
    if (outerLocator.Side(p, 0) != RingSide::kInside) continue;
    bool nested = false;
    faceTree.Query(Box{p.x, p.y, p.x, p.y}, [&](int k) {
      if (nested) return;
      const Ring& face = rings[static_cast<size_t>(faces[static_cast<size_t>(k)])];
      if (face.group == g) return;
      nested = SideOfRing(graph, face, p, tolerance) == RingSide::kInside;
    });
    if (!nested) islands.push_back(outside);
  }
  return islands;
}

std::optional<ChordGap> ChordGapHolding(const std::vector<CurveRecord>& chains, Point2 p) {
  for (int c = 0; c < static_cast<int>(chains.size()); ++c) {
    const CurveRecord& chain = chains[static_cast<size_t>(c)];
    if (!HasConic(chain)) continue;
    const Point2 centre{chain.CenterX, chain.CenterY};
    // Only a point inside the curve, away from its centre, can lie in a gap.
    const double level = ConicFrame(chain).Level(p);
    if (!(level < 1) || !(level > 0)) continue;
    for (int k = 0; k + 1 < chain.PointCount; ++k) {
      const Point2 a{chain.X[k], chain.Y[k]}, b{chain.X[k + 1], chain.Y[k + 1]};
      const double dx = b.x - a.x, dy = b.y - a.y;
      // p and the centre on opposite sides of the chord, p's foot on it.
      const double side = dx * (p.y - a.y) - dy * (p.x - a.x);
      const double centreSide = dx * (centre.y - a.y) - dy * (centre.x - a.x);
      if (!(side * centreSide < 0)) continue;
      const double u = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
      if (!(u > 0 && u < 1)) continue;
      // The level is homogeneous in p - centre: scaling by 1 / level lands on the curve.
      return ChordGap{c, k, {centre.x + (p.x - centre.x) / level, centre.y + (p.y - centre.y) / level}};
    }
  }
  return std::nullopt;
}

}  // namespace pphatch
