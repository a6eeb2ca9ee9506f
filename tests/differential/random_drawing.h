// Seeded random drawings of lines, open chains, rectangles and polygons in
// [0, 100] x [0, 100]. Points lie on a half-unit grid, or at the middle of a
// piece (T-junctions), so every coordinate is a short binary fraction and
// crossings are well conditioned. A drawing is kept as a plan of figures
// that can be built in an in-memory drawing and handed to a peer library.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "differential/line_pieces.h"
#include "memhost/builders.h"
#include "memhost/drawing.h"

namespace pphatch::differential {

/// One graphic of a random drawing. A closed figure returns to its first
/// point; that point is not repeated in `points`.
struct Figure {
  enum class Kind { kLine, kChain, kRectangle, kPolygon };
  Kind kind = Kind::kLine;
  std::vector<Vec2> points;

  bool Closed() const { return kind == Kind::kRectangle || kind == Kind::kPolygon; }
};

using Plan = std::vector<Figure>;

/// The straight pieces of every figure of the plan, closing pieces included.
inline std::vector<Piece> PlanPieces(const Plan& plan) {
  std::vector<Piece> pieces;
  for (const Figure& f : plan) {
    const size_t n = f.points.size();
    for (size_t i = 0; i + 1 < n; ++i) pieces.push_back({f.points[i], f.points[i + 1]});
    if (f.Closed() && n > 2) pieces.push_back({f.points[n - 1], f.points[0]});
  }
  return pieces;
}

/// Adds the plan's figures to the drawing as graphics, in plan order.
inline void BuildPlan(const Plan& plan, const std::shared_ptr<mem::MemDrawing>& drawing) {
  const mem::Into into(drawing);
  for (const Figure& f : plan) {
    switch (f.kind) {
      case Figure::Kind::kLine: mem::AddLine(into, f.points[0], f.points[1]); break;
      case Figure::Kind::kChain: mem::AddChain(into, f.points); break;
      case Figure::Kind::kRectangle: mem::AddRectangle(into, f.points[0], f.points[2]); break;
      case Figure::Kind::kPolygon: mem::AddPolygon(into, f.points); break;
    }
  }
}

/// Makes the random plan of one seed. Only the raw output of std::mt19937
/// is used (never the library's distributions), so a seed gives the same
/// drawing with every standard library.
class PlanMaker {
 public:
  explicit PlanMaker(uint32_t seed) : rng_(seed) {}

  /// Mostly a frame round the square; rooms with islands (some nested),
  /// star-shaped polygons, free and anchored lines (shared vertices,
  /// T-junctions, bridges) and open chains.
  Plan Make() {
    if (Chance(0.7)) plan_.push_back(Rectangle(GridPoint(0, 8), GridPoint(92, 100)));
    for (int n = Count(2, 5); n > 0; --n) AddRoom();
    for (int n = Count(1, 3); n > 0; --n) AddStar(GridPoint(10, 90), Uniform(4, 15));
    for (int n = Count(4, 9); n > 0; --n) AddLine();
    for (int n = Count(0, 2); n > 0; --n) AddOpenChain();
    return plan_;
  }

 private:
  /// Uniform in [0, 1).
  double Unit() { return rng_() / 4294967296.0; }
  /// Uniform in [lo, hi).
  double Uniform(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  /// A whole number in [lo, hi].
  int Count(int lo, int hi) { return lo + static_cast<int>(Unit() * (hi - lo + 1)); }
  /// True with probability p.
  bool Chance(double p) { return Unit() < p; }
  /// A multiple of 0.5 in [lo, hi] (lo and hi multiples of 0.5).
  double Grid(double lo, double hi) {
    return lo + 0.5 * std::floor(Unit() * (2 * (hi - lo) + 1));
  }
  /// A point whose coordinates are Grid(lo, hi).
  Vec2 GridPoint(double lo, double hi) { return {Grid(lo, hi), Grid(lo, hi)}; }
  /// The nearest multiple of 0.5 inside [0, 100].
  static double Snap(double v) { return std::clamp(std::round(2 * v) / 2, 0.0, 100.0); }

  /// A rectangular room, with islands inside in most cases.
  void AddRoom() {
    const Vec2 min = GridPoint(0, 70);
    const Vec2 max{std::min(100.0, min.x + Grid(15, 50)), std::min(100.0, min.y + Grid(15, 50))};
    plan_.push_back(Rectangle(min, max));
    if (Chance(0.7)) AddIsland(min, max, 0);
    if (Chance(0.3)) AddIsland(min, max, 0);
  }

  /// A rectangle or triangle strictly inside the box (at least one unit from
  /// its sides); sometimes with an island of its own.
  void AddIsland(Vec2 min, Vec2 max, int depth) {
    if (max.x - min.x < 4 || max.y - min.y < 4) return;
    const double x1 = Grid(min.x + 1, max.x - 2), y1 = Grid(min.y + 1, max.y - 2);
    const double x2 = Grid(x1 + 1, max.x - 1), y2 = Grid(y1 + 1, max.y - 1);
    if (Chance(0.7)) {
      plan_.push_back(Rectangle({x1, y1}, {x2, y2}));
      if (depth < 2 && Chance(0.5)) AddIsland({x1, y1}, {x2, y2}, depth + 1);
    } else {
      plan_.push_back({Figure::Kind::kPolygon, {{x1, y1}, {x2, Grid(y1, y2)}, {Grid(x1, x2), y2}}});
    }
  }

  /// A star-shaped polygon of 3 to 6 corners around the centre, snapped to
  /// the grid (it may cross itself after snapping, which is fine).
  void AddStar(Vec2 centre, double radius) {
    const int n = Count(3, 6);
    std::vector<double> angles;
    for (int i = 0; i < n; ++i) angles.push_back(Uniform(0, 6.283185307179586));
    std::sort(angles.begin(), angles.end());
    std::vector<Vec2> ring;
    for (const double a : angles) {
      const double r = radius * Uniform(0.4, 1.0);
      const Vec2 p{Snap(centre.x + r * std::cos(a)), Snap(centre.y + r * std::sin(a))};
      if (ring.empty() || !(ring.back() == p)) ring.push_back(p);
    }
    while (ring.size() > 1 && ring.back() == ring.front()) ring.pop_back();
    if (ring.size() >= 3) plan_.push_back({Figure::Kind::kPolygon, ring});
  }

  /// A line: free, from an existing corner, from the middle of an existing
  /// piece (a T-junction), or a bridge between two such points.
  void AddLine() {
    const int kind = Count(0, 3);
    const Vec2 a = kind == 0 ? GridPoint(0, 100) : Anchor(kind == 2);
    const Vec2 b = kind == 3 ? Anchor(Chance(0.5)) : Toward(a);
    if (!(a == b)) plan_.push_back({Figure::Kind::kLine, {a, b}});
  }

  /// An open chain of 3 or 4 points, each near the one before (see Toward).
  void AddOpenChain() {
    std::vector<Vec2> points{GridPoint(0, 100)};
    for (int n = Count(2, 3); n > 0; --n) {
      const Vec2 p = Toward(points.back());
      if (!(p == points.back())) points.push_back(p);
    }
    if (points.size() >= 2) plan_.push_back({Figure::Kind::kChain, points});
  }

  /// A grid point up to 30 units from p in x and in y, inside the square.
  Vec2 Toward(Vec2 p) {
    return {Snap(p.x + Uniform(-30, 30)), Snap(p.y + Uniform(-30, 30))};
  }

  /// A corner of an existing figure, or the middle of one of its pieces.
  Vec2 Anchor(bool middle) {
    const std::vector<Piece> pieces = PlanPieces(plan_);
    if (pieces.empty()) return GridPoint(0, 100);
    const Piece& s = pieces[static_cast<size_t>(Unit() * pieces.size())];
    return middle ? 0.5 * (s.a + s.b) : s.a;
  }

  /// An axis-parallel rectangle, counter-clockwise from its lower-left corner.
  static Figure Rectangle(Vec2 min, Vec2 max) {
    return {Figure::Kind::kRectangle, {min, {max.x, min.y}, max, {min.x, max.y}}};
  }

  std::mt19937 rng_;
  Plan plan_;
};

/// The random plan of that seed.
inline Plan RandomPlan(uint32_t seed) { return PlanMaker(seed).Make(); }

}  // namespace pphatch::differential
