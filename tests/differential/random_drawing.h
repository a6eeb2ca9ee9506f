// Seeded random drawings in about [0, 100] x [0, 100], holding what real
// drawings hold: rooms with islands, lines and chains, circles, ellipses and
// their arcs (as islands, across walls, with lines ending on them or
// touching them), polylines with bulges, block inserts nested three deep
// under any affine map, nearly straight arcs of huge radius as walls, long
// zigzag chains, and T-junctions whose end lies on the other line only up to
// rounding.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "differential/line_pieces.h"
#include "memhost/affine.h"
#include "memhost/arc_shape.h"
#include "memhost/builders.h"
#include "memhost/drawing.h"

namespace pphatch::differential {

using mem::Affine2;
using mem::ArcShape;

inline constexpr double kTurn = 2 * std::numbers::pi;

/// Steps of the chain the component samples a curve into: 60 for a whole
/// circle or ellipse; for an arc 61 per turn of its sweep, rounded down,
/// raised to 5 below 1 step, to 10 below 10 and to 20 below 20.
inline int CurveSteps(const ArcShape& shape) {
  if (shape.full) return 60;
  const int k = static_cast<int>(std::floor(shape.Sweep() / kTurn * 61));
  return k < 1 ? 5 : k < 10 ? 10 : k < 20 ? 20 : k;
}

/// Parameter of sample i of the curve's chain, measured from its start.
inline double SampleOffset(const ArcShape& shape, int i) {
  return shape.Sweep() * i / CurveSteps(shape);
}

/// What was drawn: how many top-level figures of each kind that is not
/// plain ("curve islands", "zigzags", ...), and how the view shows it.
struct RandomDrawing {
  std::map<std::string, int> features;
  double viewRotation = 0;
  bool viewMirrored = false;
};

/// An axis-parallel rectangle's corners, counter-clockwise from min.
inline std::vector<Vec2> Corners(Vec2 min, Vec2 max) {
  return {min, {max.x, min.y}, max, {min.x, max.y}};
}

/// A closed polyline round the box with corners of radius r; `quarter`
/// is the bulge of a quarter circle.
inline std::vector<mem::BulgePoint> RoundedRectangle(Vec2 lo, Vec2 hi, double r, double quarter) {
  return {{lo.x + r, lo.y, 0},       {hi.x - r, lo.y, quarter}, {hi.x, lo.y + r, 0},
          {hi.x, hi.y - r, quarter}, {hi.x - r, hi.y, 0},       {lo.x + r, hi.y, quarter},
          {lo.x, hi.y - r, 0},       {lo.x, lo.y + r, quarter}};
}

/// Draws the random drawing of one seed into an empty drawing. Only the raw
/// output of std::mt19937 is used (never the library's distributions), so a
/// seed gives the same drawing with every standard library.
class DrawingMaker {
 public:
  DrawingMaker(uint32_t seed, std::shared_ptr<mem::MemDrawing> drawing)
      : rng_(seed), drawing_(std::move(drawing)) {}

  /// Mostly a frame round the square; rooms with islands (some nested, some
  /// with a nearly straight arc as a wall), star-shaped polygons, curves
  /// across walls, sometimes a big insert as walls, free and anchored lines
  /// (shared vertices, T-junctions, bridges, ends on curves, tangents), open
  /// chains and sometimes a long zigzag; the view is often turned, sometimes
  /// mirrored.
  RandomDrawing Make() {
    made_.viewRotation = Chance(0.6) ? Uniform(0, kTurn) : 0;
    made_.viewMirrored = Chance(0.3);
    MakeBlocks();
    if (Chance(0.7)) {
      const Vec2 min = GridPoint(0, 8);
      Polygon(Corners(min, GridPoint(92, 100)));
    }
    for (int n = Count(2, 5); n > 0; --n) AddRoom();
    for (int n = Count(0, 2); n > 0; --n) AddStar();
    for (int n = Count(1, 3); n > 0; --n) AddCurveAcrossWall();
    if (Chance(0.3)) AddInsertWall();
    for (int n = Count(4, 9); n > 0; --n) AddLine();
    for (int n = Count(0, 2); n > 0; --n) AddOpenChain();
    if (Chance(0.25)) AddZigzag();
    return made_;
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
  double Grid(double lo, double hi) { return lo + 0.5 * std::floor(Unit() * (2 * (hi - lo) + 1)); }
  /// A point whose coordinates are Grid(lo, hi).
  Vec2 GridPoint(double lo, double hi) { return {Grid(lo, hi), Grid(lo, hi)}; }
  /// The nearest multiple of 0.5 inside [0, 100].
  static double Snap(double v) { return std::clamp(std::round(2 * v) / 2, 0.0, 100.0); }
  /// A unit vector in a random direction.
  Vec2 Direction() {
    const double a = Uniform(0, kTurn);
    return {std::cos(a), std::sin(a)};
  }

  // Top-level graphics; straight ones are kept for Anchor.
  void Drawn(const char* feature) {
    if (feature) ++made_.features[feature];
  }
  void Line(Vec2 a, Vec2 b, const char* feature = nullptr) {
    mem::AddLine(drawing_, a, b);
    Drawn(feature);
    straight_.push_back({a, b});
  }
  void Chain(const std::vector<Vec2>& points, const char* feature = nullptr) {
    mem::AddChain(drawing_, points);
    Drawn(feature);
    straight_.push_back(points);
  }
  void Polygon(std::vector<Vec2> corners) {
    mem::AddPolygon(drawing_, corners);
    corners.push_back(corners.front());
    straight_.push_back(std::move(corners));
  }
  void Shape(const ArcShape& shape, const char* feature) {
    mem::AddShape(drawing_, shape);
    Drawn(feature);
  }
  void Polyline(const std::vector<mem::BulgePoint>& points) {
    mem::AddPolyline(drawing_, points, true);
    Drawn("bulge polylines");
  }
  void Insert(size_t block, const Affine2& map, const char* feature) {
    mem::AddMappedInsert(drawing_, blocks_[block], map);
    Drawn(feature);
  }

  // --- Blocks ---

  /// Half the size of each block: its graphics lie within this distance of
  /// the block's origin.
  static constexpr std::array<double, 3> kBlockReach = {1.6, 5, 7.5};

  /// Three blocks, the third holding the second, which holds the first twice:
  /// 0, a table (a rectangle with a circle inside, sometimes a semicircular
  /// handle ending on its side and a line from the circle to the side);
  /// 1, two tables (one mirrored, one squeezed) and an ellipse in a rounded
  /// rectangle; 2, block 1 squeezed in y (its circles become ellipses)
  /// inside a circle, crossed by an elliptical arc.
  void MakeBlocks() {
    const auto block = [this] { return blocks_.emplace_back(mem::NewBlock(*drawing_)); };
    const mem::Into table(block());
    mem::AddPolygon(table, Corners({-1, -0.6}, {1, 0.6}));
    const double r = Uniform(0.2, 0.45);
    const ArcShape circle = mem::CircleShape({Uniform(-0.5, 0.5), 0}, r);
    mem::AddShape(table, circle);
    if (Chance(0.6)) mem::AddShape(table, mem::CircularArcShape({1, 0}, 0.4, -kTurn / 4, kTurn / 4));
    if (Chance(0.5)) {
      const Vec2 p = circle.PointAt(SampleBetween(circle));
      mem::AddLine(table, p, {Uniform(-0.9, 0.9), 0.6});
    }

    const mem::Into pair(block());
    mem::AddPolyline(pair, RoundedRectangle({-4.5, -2}, {4.5, 2}, 0.6, std::tan(kTurn / 16)), true);
    mem::AddMappedInsert(pair, blocks_[0], mem::Placement{-2.2, 0, 1, Uniform(0, kTurn)}.Map());
    const mem::Placement squeezed{2.2, 0, -1, Uniform(0, kTurn), Uniform(0.6, 1)};
    mem::AddMappedInsert(pair, blocks_[0], squeezed.Map());
    mem::AddShape(pair, mem::EllipseShape({0, 0}, {0, 1.2}, 0.4));

    const mem::Into ring(block());
    mem::AddMappedInsert(ring, blocks_[1], mem::Placement{0, 0, 1, 0, Uniform(0.6, 0.9)}.Map());
    mem::AddShape(ring, mem::CircleShape({0, 0}, 6));
    const double from = Uniform(0, 1);
    mem::AddShape(ring, mem::EllipticalArcShape({6, 0}, {0, 1.5}, 0.6, from, Uniform(2, 3)));
  }

  /// A map that puts a block of that reach within `room` of the point `at`:
  /// turned, often mirrored or squeezed, sometimes sheared.
  Affine2 InsertMap(Vec2 at, double reach, double room) {
    constexpr double kShear = 0.4;
    const double scale = room / (reach * (1 + kShear)) * Uniform(0.5, 1);
    mem::Placement p{at.x, at.y, scale * (Chance(0.3) ? -1 : 1),
                     Chance(0.8) ? Uniform(0, kTurn) : 0};
    if (Chance(0.4)) p.yscale = scale * Uniform(0.5, 1) * (Chance(0.2) ? -1 : 1);
    Affine2 map = p.Map();
    if (Chance(0.15)) map = mem::Compose(map, Affine2{1, Uniform(-kShear, kShear), 0, 1, {}});
    return map;
  }

  // --- Rooms and islands ---

  /// A rectangular room (sometimes with a nearly straight arc for a side),
  /// with islands inside in most cases.
  void AddRoom() {
    const Vec2 min = GridPoint(0, 70);
    const Vec2 max{std::min(100.0, min.x + Grid(15, 50)), std::min(100.0, min.y + Grid(15, 50))};
    if (Chance(0.2)) {
      AddRoomWithFlatArc(min, max);
    } else {
      Polygon(Corners(min, max));
    }
    if (Chance(0.7)) AddIsland(min, max, 0);
    if (Chance(0.3)) AddIsland(min, max, 0);
  }

  /// A room whose one side is an arc of radius 1,000 to 100,000 times the
  /// room's size, bowing in or out; the other three sides are one chain
  /// that starts and ends at the arc's own end points.
  void AddRoomWithFlatArc(Vec2 min, Vec2 max) {
    const std::vector<Vec2> corners = Corners(min, max);
    const int side = Count(0, 3);
    const Vec2 p = corners[side], q = corners[(side + 1) % 4];
    const double radius = std::max(max.x - min.x, max.y - min.y) * std::pow(10.0, Uniform(3, 5));
    const double half = Length(q - p) / 2;
    const Vec2 inward = (1 / (2 * half)) * Vec2{p.y - q.y, q.x - p.x};
    const bool bowsOut = Chance(0.5);  // the centre lies inside the room
    const Vec2 centre =
        0.5 * (p + q) + (bowsOut ? 1 : -1) * std::sqrt(radius * radius - half * half) * inward;
    // Counter-clockwise round a centre on the room's side runs from p to q.
    const Vec2 first = bowsOut ? p : q, last = bowsOut ? q : p;
    const ArcShape arc =
        mem::CircularArcShape(centre, radius, Angle(first - centre), Angle(last - centre));
    const std::vector<Vec2> ends = arc.Layout();
    const Vec2 atP = bowsOut ? ends[1] : ends[2], atQ = bowsOut ? ends[2] : ends[1];
    Shape(arc, "flat arc walls");
    Chain({atQ, corners[(side + 2) % 4], corners[(side + 3) % 4], atP}, "flat arc walls");
  }

  /// An island strictly inside the box (at least one unit from its sides):
  /// a rectangle (sometimes with an island of its own), a circle or
  /// ellipse, a polyline with bulges, or an insert of a block.
  void AddIsland(Vec2 min, Vec2 max, int depth) {
    if (max.x - min.x < 4 || max.y - min.y < 4) return;
    const double x1 = Grid(min.x + 1, max.x - 2), y1 = Grid(min.y + 1, max.y - 2);
    const double x2 = Grid(x1 + 1, max.x - 1), y2 = Grid(y1 + 1, max.y - 1);
    const Vec2 lo{x1, y1}, hi{x2, y2}, mid = 0.5 * (lo + hi);
    const double half = 0.5 * std::min(x2 - x1, y2 - y1);
    const double pick = Unit();
    if (pick < 0.4) {
      Polygon(Corners(lo, hi));
      if (depth < 2 && Chance(0.5)) AddIsland(lo, hi, depth + 1);
    } else if (pick < 0.6) {
      const double r = half * Uniform(0.5, 1);
      const Vec2 major = r * Direction();
      const ArcShape shape = Chance(0.5) ? mem::CircleShape(mid, r)
                                         : mem::EllipseShape(mid, major, Uniform(0.3, 0.85));
      Shape(shape, "curve islands");
      curves_.push_back(shape);
      const Vec2 corner{r * 0.6, shape.ratio * r * 0.6};
      if (depth < 2 && shape.Circular() && Chance(0.3))
        AddIsland(mid - corner, mid + corner, depth + 1);
    } else if (pick < 0.75) {
      AddBulgeIsland(lo, hi);
    } else {
      const double room = 0.5 * std::min(max.x - min.x, max.y - min.y) - 1;
      const size_t block = static_cast<size_t>(Count(0, 2));
      const Vec2 at = 0.5 * (min + max);
      Insert(block, InsertMap(at, kBlockReach[block], room), "insert islands");
    }
  }

  /// A polyline with bulges inside the box: a rounded rectangle or a slot.
  void AddBulgeIsland(Vec2 lo, Vec2 hi) {
    const double w = hi.x - lo.x, h = hi.y - lo.y, m = std::min(w, h);
    const Vec2 mid = 0.5 * (lo + hi);
    if (Chance(0.5)) return Polyline(RoundedRectangle(lo, hi, m * Uniform(0.1, 0.45), std::tan(kTurn / 16)));
    // A slot along the longer side.
    const double r = 0.5 * m * Uniform(0.4, 0.95);
    const Vec2 along = w >= h ? Vec2{0.5 * w - r, 0} : Vec2{0, 0.5 * h - r};
    const Vec2 across = w >= h ? Vec2{0, r} : Vec2{-r, 0};
    const Vec2 a = mid - along - across, b = mid + along - across;
    const Vec2 c = mid + along + across, d = mid - along + across;
    Polyline({{a.x, a.y, 0}, {b.x, b.y, 1}, {c.x, c.y, 0}, {d.x, d.y, 1}});
  }

  /// A star-shaped polygon of 3 to 6 corners around the centre, snapped to
  /// the grid (it may cross itself after snapping, which is fine).
  void AddStar() {
    const Vec2 centre = GridPoint(10, 90);
    const double radius = Uniform(4, 15);
    const int n = Count(3, 6);
    std::vector<double> angles;
    for (int i = 0; i < n; ++i) angles.push_back(Uniform(0, kTurn));
    std::sort(angles.begin(), angles.end());
    std::vector<Vec2> ring;
    for (const double a : angles) {
      const double r = radius * Uniform(0.4, 1.0);
      const Vec2 p{Snap(centre.x + r * std::cos(a)), Snap(centre.y + r * std::sin(a))};
      if (ring.empty() || !(ring.back() == p)) ring.push_back(p);
    }
    while (ring.size() > 1 && ring.back() == ring.front()) ring.pop_back();
    if (ring.size() >= 3) Polygon(ring);
  }

  // --- Curves and inserts across walls ---

  /// A circle, ellipse or arc of either centred near a point of some wall,
  /// large enough to cross it.
  void AddCurveAcrossWall() {
    const Vec2 wall = Anchor(Unit());
    const Vec2 centre = wall + Vec2{Uniform(-1, 1), Uniform(-1, 1)};
    const double r = Uniform(2, 10), start = Uniform(0, kTurn),
                 end = start + Uniform(0.1, 0.95) * kTurn;
    const Vec2 major = r * Direction();
    const double ratio = Uniform(0.3, 0.85);
    const ArcShape shapes[] = {mem::CircleShape(centre, r),
                               mem::CircularArcShape(centre, r, start, end),
                               mem::EllipseShape(centre, major, ratio),
                               mem::EllipticalArcShape(centre, major, ratio, start, end)};
    const ArcShape& shape = shapes[Count(0, 3)];
    Shape(shape, "curves across walls");
    curves_.push_back(shape);
  }

  /// An insert of a large block, 15 to 100 units across, whose outlines
  /// cross the rooms.
  void AddInsertWall() {
    const size_t block = static_cast<size_t>(Count(1, 2));
    const Vec2 at = GridPoint(15, 85);
    Insert(block, InsertMap(at, kBlockReach[block], Uniform(15, 50)), "insert walls");
  }

  // --- Lines and chains ---

  /// A line: free, from an existing corner, from a point of an existing
  /// piece (a T-junction, at its middle or at a rounded point), a bridge
  /// between two such points, from a point of a curve, or touching a curve.
  void AddLine() {
    const int kind = Count(0, 5);
    if (kind >= 4 && !curves_.empty()) return AddCurveLine(kind);
    const double along = kind == 1 ? 0 : AlongPiece();
    const Vec2 a = kind == 0 ? GridPoint(0, 100) : Anchor(along);
    const double alongB = kind == 3 ? AlongPiece() : 0;
    const Vec2 b = kind == 3 ? Anchor(alongB) : Toward(a);
    const bool rounded = (kind == 2 || kind == 3) && (along != 0.5 || (kind == 3 && alongB != 0.5));
    if (!(a == b)) Line(a, b, rounded ? "rounded T-junctions" : nullptr);
  }

  /// Where along a piece a line starts: its middle, a third of the way, or
  /// anywhere; the point then lies on the piece only up to rounding.
  double AlongPiece() {
    const double pick = Unit();
    return pick < 0.4 ? 0.5 : pick < 0.6 ? 1.0 / 3 : Unit();
  }

  /// A line from a point of a curve between the curve's samples, to a
  /// nearby point or into the curve; or a line touching a curve at such a
  /// point.
  void AddCurveLine(int kind) {
    const ArcShape& curve = curves_[static_cast<size_t>(Unit() * curves_.size())];
    const double t = SampleBetween(curve);
    const Vec2 p = curve.PointAt(t);
    if (kind == 4) {
      Line(p, Chance(0.5) ? Toward(p) : curve.centre + Vec2{Uniform(-1, 1), Uniform(-1, 1)},
           "lines ending on curves");
    } else {
      const Vec2 perp{-curve.major.y, curve.major.x};
      const Vec2 tangent = -std::sin(t) * curve.major + (std::cos(t) * curve.ratio) * perp;
      const Vec2 d = (1 / Length(tangent)) * tangent;
      const Vec2 from = p - Uniform(2, 15) * d;
      Line(from, p + Uniform(2, 15) * d, "tangent lines");
    }
  }

  /// A parameter of the curve between two of its samples, a fifth of a step
  /// or more from both.
  double SampleBetween(const ArcShape& curve) {
    const int i = Count(0, CurveSteps(curve) - 1);
    const double step = SampleOffset(curve, 1);
    return (curve.full ? 0 : curve.start) + step * (i + Uniform(0.2, 0.8));
  }

  /// An open chain of 3 or 4 points, each near the one before (see Toward).
  void AddOpenChain() {
    std::vector<Vec2> points{GridPoint(0, 100)};
    for (int n = Count(2, 3); n > 0; --n) {
      const Vec2 p = Toward(points.back());
      if (!(p == points.back())) points.push_back(p);
    }
    if (points.size() >= 2) Chain(points);
  }

  /// An open zigzag of 200 to 3,000 points, 20 to 80 units long, hanging
  /// from a wall or starting anywhere, running across whatever lies there.
  void AddZigzag() {
    const int n = Count(200, 3000);
    const Vec2 start = Chance(0.5) ? Anchor(Unit()) : GridPoint(0, 100);
    const Vec2 d = Direction();
    const Vec2 step = (Uniform(20, 80) / n) * d, side = Uniform(0.05, 1.5) * Vec2{-d.y, d.x};
    std::vector<Vec2> points{start};
    for (int i = 1; i < n; ++i) points.push_back(start + i * step + (i % 2 ? 1 : -1) * side);
    mem::AddChain(drawing_, points);  // not an anchor for later lines
    Drawn("zigzags");
  }

  /// A grid point up to 30 units from p in x and in y, inside the square.
  Vec2 Toward(Vec2 p) { return {Snap(p.x + Uniform(-30, 30)), Snap(p.y + Uniform(-30, 30))}; }

  /// The point a + t (b - a) of a straight piece of an earlier graphic (t =
  /// 0: its corner); computed in floating point, so it lies on the piece
  /// only up to rounding unless t is a short binary fraction.
  Vec2 Anchor(double t) {
    if (straight_.empty()) return GridPoint(0, 100);
    const std::vector<Vec2>& f = straight_[static_cast<size_t>(Unit() * straight_.size())];
    const size_t i = static_cast<size_t>(Unit() * (f.size() - 1));
    return f[i] + t * (f[i + 1] - f[i]);
  }

  static double Angle(Vec2 d) { return std::atan2(d.y, d.x); }

  std::mt19937 rng_;
  std::shared_ptr<mem::MemDrawing> drawing_;
  RandomDrawing made_;
  std::vector<mem::GraphicPtr> blocks_;
  /// The top-level lines, chains and closed polygons (their first point
  /// repeated), but not the zigzags.
  std::vector<std::vector<Vec2>> straight_;
  /// The top-level circles, ellipses and arcs, for lines ending on them.
  std::vector<ArcShape> curves_;
};

}  // namespace pphatch::differential
