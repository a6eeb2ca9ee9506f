#include "area/open_face.h"

#include <utility>

#include "area/ring_tests.h"
#include "geometry/box_tree.h"

namespace pphatch {
namespace {

// True when rays from p to the left, right, down and up each meet one of
// the segments: nothing closes an area round a point that sees out.
bool HemmedIn(Point2 p, const std::vector<std::pair<Point2, Point2>>& segments) {
  bool left = false, right = false, down = false, up = false;
  for (const auto& [a, b] : segments) {
    if ((a.y <= p.y) != (b.y <= p.y)) {
      const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
      (x < p.x ? left : right) = true;
    }
    if ((a.x <= p.x) != (b.x <= p.x)) {
      const double y = a.y + (p.x - a.x) * (b.y - a.y) / (b.x - a.x);
      (y < p.y ? down : up) = true;
    }
    if (left && right && down && up) return true;
  }
  return false;
}

}  // namespace

OpenFace OpenFaceOf(const std::vector<CurveRecord>& chains, const NodedChains& unbridged,
                    const PlanarGraph& graph, Point2 click, double reach, double tolerance,
                    BudgetGuard& budget) {
  std::vector<int> faces;
  std::vector<Box> boxes;
  for (int r = 0; r < static_cast<int>(graph.Rings().size()); ++r) {
    if (graph.Rings()[static_cast<size_t>(r)].area > 0) {
      faces.push_back(r);
      boxes.push_back(graph.Rings()[static_cast<size_t>(r)].box);
    }
  }
  const BoxTree tree(boxes);
  const auto inBoundedFace = [&](Point2 p) {
    bool inside = false;
    tree.Query(Box{p.x, p.y, p.x, p.y}, [&](int k) {
      if (!inside) {
        const Ring& ring = graph.Rings()[static_cast<size_t>(faces[static_cast<size_t>(k)])];
        inside = SideOfRing(graph, ring, p, 0) == RingSide::kInside;
      }
    });
    return inside;
  };
  OpenFace open;
  open.searched = true;
  if (reach > 0) {
    for (const GapBridge& bridge : GapBridges(chains, unbridged, reach, tolerance, budget)) {
      if (!inBoundedFace({(bridge.from.x + bridge.to.x) / 2, (bridge.from.y + bridge.to.y) / 2})) {
        open.bridges.push_back(bridge);
      }
    }
    // Bridges cannot close a face round a click that sees out past them.
    std::vector<std::pair<Point2, Point2>> segments;
    segments.reserve(unbridged.edges.size() + open.bridges.size());
    for (const NodedEdge& e : unbridged.edges) {
      segments.emplace_back(unbridged.nodes[static_cast<size_t>(e.a)], unbridged.nodes[static_cast<size_t>(e.b)]);
    }
    for (const GapBridge& bridge : open.bridges) segments.emplace_back(bridge.from, bridge.to);
    if (!HemmedIn(click, segments)) open.bridges.clear();
  }
  for (const int n : FreeEndNodes(unbridged)) {
    budget.Step();
    const Point2 p = unbridged.nodes[static_cast<size_t>(n)];
    if (!inBoundedFace(p)) open.freeEnds.push_back(p);
  }
  for (const NodedEdge& e : unbridged.edges) {
    const Point2 a = unbridged.nodes[static_cast<size_t>(e.a)], b = unbridged.nodes[static_cast<size_t>(e.b)];
    if (DistanceToSegment(click, a, b) <= tolerance) {
      open.clickOnGraphic = true;
      break;
    }
  }
  return open;
}

}  // namespace pphatch
