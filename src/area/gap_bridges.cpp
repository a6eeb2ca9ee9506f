#include "area/gap_bridges.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>
#include <unordered_map>
#include <utility>

#include "curves/conic_frame.h"
#include "geometry/box_tree.h"

namespace pphatch {
namespace {

// A bridge is its own chain's neighbourhood when the way along the drawing
// between its ends is at most this many times its length: a hook folded
// back by less than about 14 degrees is the sharpest that still bridges.
constexpr double kNeighbourhoodRatio = 8;
// A gap counts as within the reach up to this share beyond it: a gap drawn
// 1.3 wide between ends at 250 and 251.3 measures 1.3000000000000114.
constexpr double kReachSlack = 1e-9;
// Newton steps for the nearest point of an ellipse; it converges in a few.
constexpr int kEllipseSteps = 40;

double Cross(Point2 u, Point2 v) { return u.x * v.y - u.y * v.x; }
Point2 Minus(Point2 a, Point2 b) { return {a.x - b.x, a.y - b.y}; }
double Distance(Point2 a, Point2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The point of the closed segment a-b nearest to p.
Point2 NearestOnSegment(Point2 p, Point2 a, Point2 b) {
  const Point2 d = Minus(b, a);
  const double length2 = d.x * d.x + d.y * d.y;
  if (!(length2 > 0)) return a;
  const double t = std::clamp(((p.x - a.x) * d.x + (p.y - a.y) * d.y) / length2, 0.0, 1.0);
  return {a.x + t * d.x, a.y + t * d.y};
}

// The point of a circle or ellipse nearest to p: on the ray from the centre
// for a circle, by Newton's method on the angle for an ellipse.
Point2 NearestOnConic(const CurveRecord& conic, Point2 p) {
  const ConicFrame frame(conic);
  const double dx = p.x - frame.centre.x, dy = p.y - frame.centre.y;
  const double u = dx * frame.axis.x + dy * frame.axis.y;
  const double v = -dx * frame.axis.y + dy * frame.axis.x;
  const double a = frame.a, b = frame.b;
  double t = std::atan2(a * v, b * u);
  if (a != b) {
    for (int i = 0; i < kEllipseSteps; ++i) {
      const double s = std::sin(t), c = std::cos(t);
      const double g = (a * a - b * b) * s * c - u * a * s + v * b * c;
      const double slope = (a * a - b * b) * (c * c - s * s) - u * a * c - v * b * s;
      if (!(slope != 0)) break;
      const double step = g / slope;
      t -= step;
      if (!(std::fabs(step) > 1e-15)) break;
    }
  } else {
    t = std::atan2(v, u);
  }
  return frame.Out({std::cos(t), std::sin(t)});
}

// True when the ray from the centre c through q passes through the chord a-b.
bool InSector(Point2 c, Point2 a, Point2 b, Point2 q) {
  const double whole = Cross(Minus(a, c), Minus(b, c));
  const double first = Cross(Minus(a, c), Minus(q, c)), second = Cross(Minus(q, c), Minus(b, c));
  return whole != 0 && first * whole >= 0 && second * whole >= 0;
}

// True when the segments p-q and u-v cross at a point inside both.
bool CrossProperly(Point2 p, Point2 q, Point2 u, Point2 v) {
  const double d1 = Cross(Minus(q, p), Minus(u, p)), d2 = Cross(Minus(q, p), Minus(v, p));
  if (!((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0))) return false;
  const double d3 = Cross(Minus(v, u), Minus(p, u)), d4 = Cross(Minus(v, u), Minus(q, u));
  return (d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0);
}

// A place a free end could bridge to.
struct Target {
  double size = 0;
  Point2 at;
  int edge = 0;
};

class BridgeFinder {
 public:
  BridgeFinder(const std::vector<CurveRecord>& chains, const NodedChains& noded, double reach,
               double tolerance, BudgetGuard& budget)
      : chains_(chains), noded_(noded), reach_(reach), tolerance_(tolerance), budget_(budget) {
    LinkNodes();
    std::vector<Box> boxes;
    boxes.reserve(noded.edges.size());
    bulge_.reserve(noded.edges.size());
    for (const NodedEdge& e : noded.edges) {
      const Point2 a = noded.nodes[static_cast<size_t>(e.a)], b = noded.nodes[static_cast<size_t>(e.b)];
      double bulge = 0;
      if (const CurveRecord* conic = ConicOf(e)) {
        bulge = ConicFrame(*conic).Distance({(a.x + b.x) / 2, (a.y + b.y) / 2});
        if (!std::isfinite(bulge)) bulge = 0;
      }
      bulge_.push_back(bulge);
      boxes.push_back(Box::Around(a, b, bulge));
    }
    tree_ = BoxTree(boxes);
  }

  std::vector<GapBridge> Run() {
    std::vector<GapBridge> candidates;
    for (size_t n = 0; n + 1 < start_.size(); ++n) {
      if (start_[n + 1] - start_[n] != 1) continue;
      budget_.Step();
      if (const std::optional<Target> target = NearestTarget(static_cast<int>(n))) {
        candidates.push_back({noded_.nodes[n], target->at, target->size});
      }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const GapBridge& x, const GapBridge& y) { return x.size < y.size; });
    std::vector<GapBridge> laid;
    for (const GapBridge& bridge : candidates) {
      const bool clash = std::any_of(laid.begin(), laid.end(), [&](const GapBridge& other) {
        const bool repeat = Distance(other.from, bridge.to) <= tolerance_ &&
                            Distance(other.to, bridge.from) <= tolerance_;
        return repeat || CrossProperly(bridge.from, bridge.to, other.from, other.to);
      });
      if (!clash) laid.push_back(bridge);
    }
    return laid;
  }

 private:
  const CurveRecord* ConicOf(const NodedEdge& e) const {
    const CurveRecord& chain = chains_[static_cast<size_t>(e.chain)];
    return HasConic(chain) ? &chain : nullptr;
  }

  // The edges at each node, node by node.
  void LinkNodes() {
    start_.assign(noded_.nodes.size() + 1, 0);
    for (const NodedEdge& e : noded_.edges) {
      ++start_[static_cast<size_t>(e.a) + 1];
      ++start_[static_cast<size_t>(e.b) + 1];
    }
    for (size_t n = 0; n + 1 < start_.size(); ++n) start_[n + 1] += start_[n];
    edgesAt_.resize(static_cast<size_t>(start_.back()));
    std::vector<int> fill(start_.begin(), start_.end() - 1);
    for (size_t e = 0; e < noded_.edges.size(); ++e) {
      edgesAt_[static_cast<size_t>(fill[static_cast<size_t>(noded_.edges[e].a)]++)] = static_cast<int>(e);
      edgesAt_[static_cast<size_t>(fill[static_cast<size_t>(noded_.edges[e].b)]++)] = static_cast<int>(e);
    }
  }

  Point2 Node(int n) const { return noded_.nodes[static_cast<size_t>(n)]; }

  // The length of the shortest way along the edges from `from` to each node
  // it reaches within `limit`.
  std::unordered_map<int, double> WaysFrom(int from, double limit) const {
    std::unordered_map<int, double> way{{from, 0.0}};
    using Item = std::pair<double, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    open.push({0.0, from});
    while (!open.empty()) {
      const auto [d, n] = open.top();
      open.pop();
      if (d > way[n]) continue;
      for (int k = start_[static_cast<size_t>(n)]; k < start_[static_cast<size_t>(n) + 1]; ++k) {
        budget_.Step();
        const NodedEdge& e = noded_.edges[static_cast<size_t>(edgesAt_[static_cast<size_t>(k)])];
        const int other = e.a == n ? e.b : e.a;
        const double next = d + Distance(Node(n), Node(other));
        if (next > limit) continue;
        const auto found = way.find(other);
        if (found != way.end() && found->second <= next) continue;
        way[other] = next;
        open.push({next, other});
      }
    }
    return way;
  }

  // The point of edge e nearest to p: on the true curve where the edge is a
  // chord of a circle or ellipse and that point lies over the chord.
  Point2 NearestOnEdge(int e, Point2 p) const {
    const NodedEdge& edge = noded_.edges[static_cast<size_t>(e)];
    const Point2 a = Node(edge.a), b = Node(edge.b);
    if (const CurveRecord* conic = ConicOf(edge)) {
      const Point2 q = NearestOnConic(*conic, p);
      if (std::isfinite(q.x) && std::isfinite(q.y) && InSector({conic->CenterX, conic->CenterY}, a, b, q)) {
        return q;
      }
    }
    return NearestOnSegment(p, a, b);
  }

  // True when the straight bridge from node `end` to q crosses a graphic
  // other than the edges it starts or ends on.
  bool Blocked(int end, Point2 q, int targetEdge) const {
    const Point2 p = Node(end);
    bool blocked = false;
    tree_.Query(Box::Around(p, q, 0), [&](int e) {
      if (blocked || e == targetEdge) return;
      const NodedEdge& edge = noded_.edges[static_cast<size_t>(e)];
      if (edge.a == end || edge.b == end) return;
      const Point2 u = Node(edge.a), v = Node(edge.b);
      if (DistanceToSegment(q, u, v) <= 10 * tolerance_ + bulge_[static_cast<size_t>(e)]) return;
      blocked = CrossProperly(p, q, u, v);
    });
    return blocked;
  }

  // The nearest point within reach that the free end may bridge to.
  std::optional<Target> NearestTarget(int end) const {
    const Point2 p = Node(end);
    std::vector<Target> targets;
    tree_.Query(Box::Around(p, p, reach_ * (1 + kReachSlack)), [&](int e) {
      const NodedEdge& edge = noded_.edges[static_cast<size_t>(e)];
      if (edge.a == end || edge.b == end) return;
      const Point2 q = NearestOnEdge(e, p);
      const double size = Distance(p, q);
      if (size <= reach_ * (1 + kReachSlack) && size > 0) targets.push_back({size, q, e});
    });
    if (targets.empty()) return std::nullopt;
    std::stable_sort(targets.begin(), targets.end(),
                     [](const Target& x, const Target& y) { return x.size < y.size; });
    const std::unordered_map<int, double> way = WaysFrom(end, kNeighbourhoodRatio * targets.back().size);
    const auto wayTo = [&](const Target& t) {
      const NodedEdge& edge = noded_.edges[static_cast<size_t>(t.edge)];
      double best = INFINITY;
      for (const int n : {edge.a, edge.b}) {
        const auto found = way.find(n);
        if (found != way.end()) best = std::min(best, found->second + Distance(Node(n), t.at));
      }
      return best;
    };
    for (const Target& t : targets) {
      if (wayTo(t) <= kNeighbourhoodRatio * t.size) continue;
      if (Blocked(end, t.at, t.edge)) continue;
      return t;
    }
    return std::nullopt;
  }

  const std::vector<CurveRecord>& chains_;
  const NodedChains& noded_;
  double reach_, tolerance_;
  BudgetGuard& budget_;
  std::vector<int> start_, edgesAt_;
  std::vector<double> bulge_;
  BoxTree tree_;
};

}  // namespace

std::vector<int> FreeEndNodes(const NodedChains& noded) {
  std::vector<int> degree(noded.nodes.size(), 0);
  for (const NodedEdge& e : noded.edges) {
    ++degree[static_cast<size_t>(e.a)];
    ++degree[static_cast<size_t>(e.b)];
  }
  std::vector<int> ends;
  for (size_t n = 0; n < degree.size(); ++n) {
    if (degree[n] == 1) ends.push_back(static_cast<int>(n));
  }
  return ends;
}

std::vector<GapBridge> GapBridges(const std::vector<CurveRecord>& chains, const NodedChains& noded,
                                  double reach, double tolerance, BudgetGuard& budget) {
  if (!(reach > 0) || noded.edges.empty()) return {};
  return BridgeFinder(chains, noded, reach, tolerance, budget).Run();
}

}  // namespace pphatch
