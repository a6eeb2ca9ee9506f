// The faces of a noded drawing, as the rings of edges that bound them.
#pragma once

#include <vector>

#include "area/noding.h"
#include "component/budget_guard.h"
#include "geometry/box_tree.h"

namespace pphatch {

/// A closed walk along edges that keeps one face on its left: at the end of
/// each edge it takes the next edge clockwise around that node. A ring that
/// turns counter-clockwise (positive area) is the outer boundary of a
/// bounded face; every connected group of edges also has one ring that
/// turns clockwise round its outside (negative area): the outline of that
/// group as the face around it sees it.
struct Ring {
  std::vector<int> halfEdges;  ///< in walking order; see PlanarGraph::Origin
  double area = 0;             ///< signed: positive counter-clockwise
  Box box;
  int group = 0;               ///< the connected group of edges it belongs to
};

/// The noded drawing without its dangling edges (lines that end free, and
/// whatever hangs on them alone), and its rings. Half-edge 2e runs along
/// edge e from a to b, half-edge 2e + 1 back.
class PlanarGraph {
 public:
  PlanarGraph(NodedChains noded, BudgetGuard& budget);

  const std::vector<Point2>& Nodes() const { return noded_.nodes; }
  const std::vector<NodedEdge>& Edges() const { return noded_.edges; }
  const std::vector<Ring>& Rings() const { return rings_; }
  /// The noded drawing the graph was made from, dangling edges included.
  const NodedChains& Noded() const { return noded_; }

  /// The node a half-edge starts from.
  int Origin(int halfEdge) const {
    const NodedEdge& e = noded_.edges[static_cast<size_t>(halfEdge >> 1)];
    return halfEdge & 1 ? e.b : e.a;
  }
  /// The point a half-edge starts from.
  Point2 OriginPoint(int halfEdge) const { return noded_.nodes[static_cast<size_t>(Origin(halfEdge))]; }
  /// The ring that walks along the half-edge.
  int RingOf(int halfEdge) const { return ringOf_[static_cast<size_t>(halfEdge)]; }
  /// The outside ring of each connected group of edges.
  const std::vector<int>& OutsideRings() const { return outsideRing_; }

 private:
  void PruneDanglingEdges(BudgetGuard& budget);
  void LinkHalfEdges(BudgetGuard& budget);
  void WalkRings(BudgetGuard& budget);

  NodedChains noded_;
  std::vector<char> alive_;     // per edge: not pruned
  std::vector<int> next_;       // per half-edge: the next one of its ring; -1 when pruned
  std::vector<int> ringOf_;     // per half-edge: its ring; -1 when pruned
  std::vector<Ring> rings_;
  std::vector<int> outsideRing_;
};

}  // namespace pphatch
