#include "area/planar_graph.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace pphatch {
namespace {

// Union-find over nodes, for the connected groups of edges.
class Groups {
 public:
  explicit Groups(size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
  int Find(int x) {
    while (parent_[static_cast<size_t>(x)] != x) {
      parent_[static_cast<size_t>(x)] = parent_[static_cast<size_t>(parent_[static_cast<size_t>(x)])];
      x = parent_[static_cast<size_t>(x)];
    }
    return x;
  }
  void Join(int a, int b) { parent_[static_cast<size_t>(Find(a))] = Find(b); }

 private:
  std::vector<int> parent_;
};

}  // namespace

PlanarGraph::PlanarGraph(NodedChains noded, BudgetGuard& budget) : noded_(std::move(noded)) {
  PruneDanglingEdges(budget);
  LinkHalfEdges(budget);
  WalkRings(budget);
}

// Removes every edge with an end that no other edge meets, again and again,
// so that only edges on closed walks around some area are left. A line from
// a wall to an island (met at both ends) stays.
void PlanarGraph::PruneDanglingEdges(BudgetGuard& budget) {
  const size_t nodeCount = noded_.nodes.size();
  const size_t edgeCount = noded_.edges.size();
  alive_.assign(edgeCount, 1);
  std::vector<int> degree(nodeCount, 0);
  std::vector<int> start(nodeCount + 1, 0);
  for (const NodedEdge& e : noded_.edges) {
    ++degree[static_cast<size_t>(e.a)];
    ++degree[static_cast<size_t>(e.b)];
  }
  for (size_t n = 0; n < nodeCount; ++n) start[n + 1] = start[n] + degree[n];
  std::vector<int> incident(static_cast<size_t>(start[nodeCount]));
  std::vector<int> fill(start.begin(), start.end() - 1);
  for (size_t e = 0; e < edgeCount; ++e) {
    incident[static_cast<size_t>(fill[static_cast<size_t>(noded_.edges[e].a)]++)] = static_cast<int>(e);
    incident[static_cast<size_t>(fill[static_cast<size_t>(noded_.edges[e].b)]++)] = static_cast<int>(e);
  }
  std::vector<int> loose;
  for (size_t n = 0; n < nodeCount; ++n) {
    if (degree[n] == 1) loose.push_back(static_cast<int>(n));
  }
  while (!loose.empty()) {
    budget.Step();
    const int n = loose.back();
    loose.pop_back();
    if (degree[static_cast<size_t>(n)] != 1) continue;
    for (int k = start[static_cast<size_t>(n)]; k < start[static_cast<size_t>(n) + 1]; ++k) {
      const int e = incident[static_cast<size_t>(k)];
      if (!alive_[static_cast<size_t>(e)]) continue;
      alive_[static_cast<size_t>(e)] = 0;
      const NodedEdge& edge = noded_.edges[static_cast<size_t>(e)];
      const int other = edge.a == n ? edge.b : edge.a;
      --degree[static_cast<size_t>(n)];
      if (--degree[static_cast<size_t>(other)] == 1) loose.push_back(other);
      break;
    }
  }
}

// At every node, sorts the half-edges leaving it by direction; the ring
// through a half-edge arriving at a node goes on along the half-edge next
// clockwise from the way back.
void PlanarGraph::LinkHalfEdges(BudgetGuard& budget) {
  const size_t halfCount = 2 * noded_.edges.size();
  next_.assign(halfCount, -1);
  // The half-edges leaving each node, node by node (counted first, then
  // filled in), each with its direction.
  std::vector<int> start(noded_.nodes.size() + 1, 0);
  for (size_t h = 0; h < halfCount; ++h) {
    if (alive_[h >> 1]) ++start[static_cast<size_t>(Origin(static_cast<int>(h))) + 1];
  }
  for (size_t n = 0; n + 1 < start.size(); ++n) start[n + 1] += start[n];
  std::vector<std::pair<double, int>> leaving(static_cast<size_t>(start.back()));
  std::vector<int> fill(start.begin(), start.end() - 1);
  for (size_t h = 0; h < halfCount; ++h) {
    if (!alive_[h >> 1]) continue;
    budget.Step();
    const Point2 from = OriginPoint(static_cast<int>(h)), to = OriginPoint(static_cast<int>(h ^ 1));
    leaving[static_cast<size_t>(fill[static_cast<size_t>(Origin(static_cast<int>(h)))]++)] = {
        std::atan2(to.y - from.y, to.x - from.x), static_cast<int>(h)};
  }
  std::vector<int> position(halfCount, 0);
  for (size_t n = 0; n + 1 < start.size(); ++n) {
    const auto first = leaving.begin() + start[n], last = leaving.begin() + start[n + 1];
    std::sort(first, last);
    for (auto it = first; it != last; ++it) {
      position[static_cast<size_t>(it->second)] = static_cast<int>(it - leaving.begin());
    }
  }
  for (size_t h = 0; h < halfCount; ++h) {
    if (!alive_[h >> 1]) continue;
    const int back = static_cast<int>(h ^ 1);
    const size_t node = static_cast<size_t>(Origin(back));
    const int at = position[static_cast<size_t>(back)];
    const int clockwise = at == start[node] ? start[node + 1] - 1 : at - 1;
    next_[h] = leaving[static_cast<size_t>(clockwise)].second;
  }
}

// Follows every half-edge once; each closed walk is a ring. Its signed area
// (shoelace) tells bounded faces from outsides, and the most negative ring
// of a connected group is that group's outside.
void PlanarGraph::WalkRings(BudgetGuard& budget) {
  const size_t halfCount = next_.size();
  ringOf_.assign(halfCount, -1);
  Groups groups(noded_.nodes.size());
  for (size_t e = 0; e < noded_.edges.size(); ++e) {
    if (alive_[e]) groups.Join(noded_.edges[e].a, noded_.edges[e].b);
  }
  std::vector<int> groupIndex(noded_.nodes.size(), -1);
  for (size_t h = 0; h < halfCount; ++h) {
    if (next_[h] < 0 || ringOf_[h] >= 0) continue;
    Ring ring;
    const int index = static_cast<int>(rings_.size());
    double twice = 0;
    const Point2 first = OriginPoint(static_cast<int>(h));
    for (int k = static_cast<int>(h); ringOf_[static_cast<size_t>(k)] < 0; k = next_[static_cast<size_t>(k)]) {
      budget.Step();
      ringOf_[static_cast<size_t>(k)] = index;
      ring.halfEdges.push_back(k);
      const Point2 p = OriginPoint(k), q = OriginPoint(k ^ 1);
      ring.box.Add(p);
      // Relative to the first point, so that drawings far from the origin
      // keep the area's digits.
      twice += (p.x - first.x) * (q.y - first.y) - (q.x - first.x) * (p.y - first.y);
    }
    ring.area = twice / 2;
    const int root = groups.Find(Origin(static_cast<int>(h)));
    int& group = groupIndex[static_cast<size_t>(root)];
    if (group < 0) {
      group = static_cast<int>(outsideRing_.size());
      outsideRing_.push_back(index);
    } else if (ring.area < rings_[static_cast<size_t>(outsideRing_[static_cast<size_t>(group)])].area) {
      outsideRing_[static_cast<size_t>(group)] = index;
    }
    ring.group = group;
    rings_.push_back(std::move(ring));
  }
}

}  // namespace pphatch
