#include "area/noding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "curves/conic_frame.h"
#include "geometry/box_tree.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// How far off the true curve a point may lie and still count as on it, in
// tolerances: the host's end points of arcs and the lines drawn to them are
// computed separately and may differ by a few roundings.
constexpr double kOnCurveTolerances = 4;

// The sagitta estimated from the turn between chords is enlarged by half, so
// that unevenly sampled curves (ellipses, splines) are covered too.
constexpr double kSagittaSlack = 1.5;

double Cross(Point2 u, Point2 v) { return u.x * v.y - u.y * v.x; }
double Dot(Point2 u, Point2 v) { return u.x * v.x + u.y * v.y; }
Point2 Minus(Point2 a, Point2 b) { return {a.x - b.x, a.y - b.y}; }
bool Finite(Point2 p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Finds the node of a point: the nearest existing node within the
// tolerance, or a new one. Nodes are kept in square cells two tolerances
// wide, in an open-addressing hash of cells (each holding a list of its
// nodes through `next_`), so that only the 2 x 2 cells around a point are
// searched.
class NodeSnapper {
 public:
  NodeSnapper(double tolerance, std::vector<Point2>& nodes, size_t expected)
      : tolerance_(tolerance), nodes_(nodes) {
    size_t capacity = 16;
    while (capacity < 2 * expected) capacity *= 2;
    keys_.assign(capacity, kEmpty);
    heads_.assign(capacity, -1);
  }

  int At(Point2 p) {
    // Cells are two tolerances wide: the points within the tolerance of p
    // lie in p's cell and in the neighbours on the sides p is nearer to.
    const double fx = p.x / (2 * tolerance_), fy = p.y / (2 * tolerance_);
    const long long cx = Cell(fx), cy = Cell(fy);
    const long long nx = fx - std::floor(fx) < 0.5 ? cx - 1 : cx + 1;
    const long long ny = fy - std::floor(fy) < 0.5 ? cy - 1 : cy + 1;
    int best = -1;
    double bestDistance = tolerance_;
    for (const long long x : {cx, nx}) {
      for (const long long y : {cy, ny}) {
        const size_t slot = Slot(Key(x, y));
        if (keys_[slot] == kEmpty) continue;
        for (int n = heads_[slot]; n >= 0; n = next_[static_cast<size_t>(n)]) {
          const double d = std::hypot(p.x - nodes_[n].x, p.y - nodes_[n].y);
          if (d < bestDistance || (d == bestDistance && (best < 0 || n < best))) {
            bestDistance = d;
            best = n;
          }
        }
      }
    }
    if (best >= 0) return best;
    const int id = static_cast<int>(nodes_.size());
    nodes_.push_back(p);
    const std::uint64_t key = Key(cx, cy);
    const size_t slot = Slot(key);
    if (keys_[slot] == kEmpty) {
      keys_[slot] = key;
      ++used_;
    }
    next_.push_back(heads_[slot]);
    heads_[slot] = id;
    if (2 * used_ > keys_.size()) Grow();
    return id;
  }

 private:
  static constexpr std::uint64_t kEmpty = ~0ull;

  // Cell numbers stay far inside the range of long long for any coordinate
  // the tolerance rule allows; the clamp only guards against misuse.
  static long long Cell(double scaled) {
    return static_cast<long long>(std::clamp(std::floor(scaled), -1e18, 1e18));
  }
  static std::uint64_t Key(long long x, long long y) {
    const std::uint64_t k = static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
                            (static_cast<std::uint64_t>(y) + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
    return k == kEmpty ? 0 : k;
  }
  // The slot holding the key, or the empty slot where it would go.
  size_t Slot(std::uint64_t key) const {
    const size_t mask = keys_.size() - 1;
    size_t slot = static_cast<size_t>(key ^ (key >> 29)) & mask;
    while (keys_[slot] != kEmpty && keys_[slot] != key) slot = (slot + 1) & mask;
    return slot;
  }
  void Grow() {
    std::vector<std::uint64_t> keys = std::move(keys_);
    std::vector<int> heads = std::move(heads_);
    keys_.assign(2 * keys.size(), kEmpty);
    heads_.assign(2 * keys.size(), -1);
    for (size_t k = 0; k < keys.size(); ++k) {
      if (keys[k] == kEmpty) continue;
      const size_t slot = Slot(keys[k]);
      keys_[slot] = keys[k];
      heads_[slot] = heads[k];
    }
  }

  double tolerance_;
  std::vector<Point2>& nodes_;
  std::vector<std::uint64_t> keys_;
  std::vector<int> heads_;
  std::vector<int> next_;
  size_t used_ = 0;
};

// A segment of a chain between two nodes.
struct Segment {
  int a = 0, b = 0;
  int chain = 0;
  // How far off its line a chain point may lie and still cut it: the
  // tolerance, or for a curve's chord the tolerance and the chord's sagitta
  // on the side the true curve lies on (bulgeSide: +1 left of a -> b, -1
  // right, 0 when the curve's side is unknown).
  double reach = 0;
  int bulgeSide = 0;
};

// What a node stands for.
struct NodeRole {
  bool vertex = false;   // a point of some chain (not only a crossing)
  bool freeEnd = false;  // the first or last point of an open chain
};

class Noder {
 public:
  Noder(const std::vector<CurveRecord>& chains, double tolerance, BudgetGuard& budget)
      : chains_(chains),
        tolerance_(tolerance),
        budget_(budget),
        snapper_(tolerance, out_.nodes, PointCount(chains)) {}

  NodedChains Run() {
    MakeSegments();
    std::vector<Box> boxes;
    boxes.reserve(segments_.size());
    for (const Segment& s : segments_) {
      boxes.push_back(Box::Around(out_.nodes[s.a], out_.nodes[s.b], s.reach));
    }
    const BoxTree tree(boxes);
    cuts_.assign(segments_.size(), {});
    tree.ForEachOverlappingPair([&](int i, int j) {
      budget_.Step();
      CutPair(std::min(i, j), std::max(i, j));
    });
    MakeEdges();
    return std::move(out_);
  }

 private:
  // The node of every finite chain point, and a segment between every two
  // consecutive points with different nodes.
  void MakeSegments() {
    for (int c = 0; c < static_cast<int>(chains_.size()); ++c) {
      const CurveRecord& chain = chains_[c];
      const int n = std::min<int>(chain.PointCount, static_cast<int>(std::min(chain.X.size(), chain.Y.size())));
      std::vector<int> nodes(static_cast<size_t>(std::max(n, 0)), -1);
      for (int k = 0; k < n; ++k) {
        budget_.Step();
        const Point2 p{chain.X[k], chain.Y[k]};
        if (!Finite(p)) continue;
        nodes[k] = snapper_.At(p);
        Role(nodes[k]).vertex = true;
      }
      if (n < 1) continue;
      const bool closed = n > 2 && nodes[0] >= 0 && nodes[0] == nodes[n - 1];
      if (!closed) {
        if (nodes[0] >= 0) Role(nodes[0]).freeEnd = true;
        if (nodes[n - 1] >= 0) Role(nodes[n - 1]).freeEnd = true;
      }
      for (int k = 0; k + 1 < n; ++k) {
        if (nodes[k] < 0 || nodes[k + 1] < 0 || nodes[k] == nodes[k + 1]) continue;
        Segment s{nodes[k], nodes[k + 1], c, tolerance_, 0};
        if (chain.Curved) AddCurveBand(chain, k, closed, s);
        segments_.push_back(s);
      }
    }
  }

  static size_t PointCount(const std::vector<CurveRecord>& chains) {
    size_t count = 0;
    for (const CurveRecord& c : chains) count += static_cast<size_t>(std::max(c.PointCount, 0));
    return count;
  }

  NodeRole& Role(int node) {
    if (static_cast<size_t>(node) >= roles_.size()) roles_.resize(static_cast<size_t>(node) + 1);
    return roles_[static_cast<size_t>(node)];
  }

  // The side a curve's true shape lies on beside chord k, and the chord's
  // sagitta, estimated from the turns of the chain at the chord's ends: a
  // chain that turns left at both ends bows out to the right of the chord.
  void AddCurveBand(const CurveRecord& chain, int k, bool closed, Segment& s) {
    const int n = chain.PointCount;
    const auto point = [&](int i) { return Point2{chain.X[i], chain.Y[i]}; };
    const Point2 p = point(k), q = point(k + 1);
    const Point2 chord = Minus(q, p);
    int before = k - 1, after = k + 2;
    if (closed && before < 0) before = n - 2;
    if (closed && after > n - 1) after = 1;
    int sign = 0;
    double turn = 0;
    bool mixed = false;
    const auto look = [&](Point2 u, Point2 v) {
      const double cross = Cross(u, v);
      if (!std::isfinite(cross) || cross == 0) return;
      const int t = cross > 0 ? 1 : -1;
      if (sign != 0 && t != sign) mixed = true;
      sign = t;
      turn = std::max(turn, std::atan2(std::fabs(cross), Dot(u, v)));
    };
    if (before >= 0 && before < n) look(Minus(p, point(before)), chord);
    if (after >= 0 && after < n) look(chord, Minus(point(after), q));
    if (sign == 0 || mixed) return;
    const double length = std::hypot(chord.x, chord.y);
    const double sagitta = 0.5 * length * std::tan(std::min(turn, kPi / 2) / 4) * kSagittaSlack;
    if (!std::isfinite(sagitta)) return;
    s.reach = tolerance_ + sagitta;
    s.bulgeSide = -sign;
  }

  // Cuts segment s at `node` when the node lies on it (within the
  // tolerance), or in its curve band where the curve passes. True only for
  // the first: a point in the band lies off the chord, so a segment ending
  // there may still cross the chord itself.
  bool CutAtPoint(int s, int node) {
    const Segment& seg = segments_[s];
    if (node == seg.a || node == seg.b) return false;
    const Point2 a = out_.nodes[seg.a], b = out_.nodes[seg.b], p = out_.nodes[node];
    const Point2 d = Minus(b, a);
    const double length2 = Dot(d, d);
    const double u = Dot(Minus(p, a), d) / length2;
    if (!(u > 0 && u < 1)) return false;
    const double across = Cross(d, Minus(p, a)) / std::sqrt(length2);
    const double off = std::fabs(across);
    if (off <= tolerance_) {
      AddCut(s, u, node);
      return true;
    }
    if (seg.bulgeSide == 0 || off > seg.reach || (across > 0 ? 1 : -1) != seg.bulgeSide) return false;
    const CurveRecord& curve = chains_[seg.chain];
    const NodeRole role = Role(node);
    const bool onCurve = curve.Conic ? role.vertex && HasConic(curve) &&
                                            ConicFrame(curve).Distance(p) <= kOnCurveTolerances * tolerance_
                                     : role.freeEnd;
    if (!onCurve) return false;
    AddCut(s, u, node);
    return false;
  }

  // Where two segments cross strictly inside both, each is cut at the
  // crossing's node.
  void CutAtCrossing(int i, int j) {
    const Segment& s = segments_[i];
    const Segment& r = segments_[j];
    const Point2 a = out_.nodes[s.a], b = out_.nodes[s.b];
    const Point2 c = out_.nodes[r.a], d = out_.nodes[r.b];
    const double d1 = Cross(Minus(b, a), Minus(c, a)), d2 = Cross(Minus(b, a), Minus(d, a));
    if (!((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0))) return;
    const double d3 = Cross(Minus(d, c), Minus(a, c)), d4 = Cross(Minus(d, c), Minus(b, c));
    if (!((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return;
    const double t = d1 / (d1 - d2);
    const Point2 x{c.x + (d.x - c.x) * t, c.y + (d.y - c.y) * t};
    if (!Finite(x)) return;
    const int node = snapper_.At(x);
    Role(node);
    const Point2 at = out_.nodes[node];
    if (node != s.a && node != s.b) AddCut(i, Param(a, b, at), node);
    if (node != r.a && node != r.b) AddCut(j, Param(c, d, at), node);
  }

  static double Param(Point2 a, Point2 b, Point2 p) {
    const Point2 d = Minus(b, a);
    return std::clamp(Dot(Minus(p, a), d) / Dot(d, d), 0.0, 1.0);
  }

  void CutPair(int i, int j) {
    const Segment s = segments_[i];
    const Segment r = segments_[j];
    bool touched = false;
    touched = CutAtPoint(i, r.a) || touched;
    touched = CutAtPoint(i, r.b) || touched;
    touched = CutAtPoint(j, s.a) || touched;
    touched = CutAtPoint(j, s.b) || touched;
    const bool shared = s.a == r.a || s.a == r.b || s.b == r.a || s.b == r.b;
    if (!touched && !shared) CutAtCrossing(i, j);
  }

  void AddCut(int s, double u, int node) { cuts_[static_cast<size_t>(s)].emplace_back(u, node); }

  // Every segment becomes the edges between its cuts, in order along it;
  // an edge met again (from the other direction too) is kept once, as the
  // first chain drew it.
  void MakeEdges() {
    std::vector<NodedEdge> edges;
    edges.reserve(segments_.size());
    for (size_t s = 0; s < segments_.size(); ++s) {
      std::vector<std::pair<double, int>>& cuts = cuts_[s];
      std::sort(cuts.begin(), cuts.end());
      int from = segments_[s].a;
      const auto edgeTo = [&](int to) {
        if (to == from) return;
        edges.push_back({from, to, segments_[s].chain});
        from = to;
      };
      for (const auto& cut : cuts) edgeTo(cut.second);
      edgeTo(segments_[s].b);
    }
    // Open addressing over the edges' node pairs; the first edge of a pair wins.
    size_t capacity = 16;
    while (capacity < 2 * edges.size()) capacity *= 2;
    std::vector<std::uint64_t> seen(capacity, ~0ull);
    for (const NodedEdge& e : edges) {
      const auto low = static_cast<std::uint64_t>(std::min(e.a, e.b));
      const auto high = static_cast<std::uint64_t>(std::max(e.a, e.b));
      const std::uint64_t key = low << 32 | high;
      size_t slot = static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 17) & (capacity - 1);
      while (seen[slot] != ~0ull && seen[slot] != key) slot = (slot + 1) & (capacity - 1);
      if (seen[slot] == key) continue;
      seen[slot] = key;
      out_.edges.push_back(e);
    }
  }

  const std::vector<CurveRecord>& chains_;
  double tolerance_;
  BudgetGuard& budget_;
  NodedChains out_;
  NodeSnapper snapper_;
  std::vector<NodeRole> roles_;
  std::vector<Segment> segments_;
  std::vector<std::vector<std::pair<double, int>>> cuts_;
};

}  // namespace

NodedChains NodeChains(const std::vector<CurveRecord>& chains, double tolerance,
                       BudgetGuard& budget) {
  return Noder(chains, tolerance, budget).Run();
}

}  // namespace pphatch
