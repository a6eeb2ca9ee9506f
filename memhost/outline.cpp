#include "memhost/outline.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "memhost/arc_shape.h"
#include "memhost/graphic.h"

namespace pphatch::mem {

namespace {

// Ellipses are drawn with this many segments per full turn.
constexpr int kEllipseSegments = 720;
// Circular arcs inside area rings are sampled at most this far apart (radians).
constexpr double kRingArcStep = kFullTurn / 720;
// End points closer than this (relative to their size) close a ring.
constexpr double kRingClosure = 1e-9;

// Grows a box by one point.
void Grow(std::optional<Box>& box, Vec2 p) {
  // A point with a NaN coordinate has no place to bound; the pick index
  // must never hold a box whose sides do not compare.
  if (std::isnan(p.x) || std::isnan(p.y)) return;
  if (!box) {
    box = Box{p.x, p.y, p.x, p.y};
    return;
  }
  box->minX = std::min(box->minX, p.x);
  box->minY = std::min(box->minY, p.y);
  box->maxX = std::max(box->maxX, p.x);
  box->maxY = std::max(box->maxY, p.y);
}

// True when angle a lies on the arc (angles in radians).
bool OnSweep(const ArcPiece& arc, double a) {
  return arc.sweep >= kFullTurn || NormalizeAngle(a - arc.start) <= arc.sweep;
}

// The point of the arc's circle at angle a.
Vec2 ArcPoint(const ArcPiece& arc, double a) {
  return arc.centre + arc.radius * Vec2{std::cos(a), std::sin(a)};
}

// True when two points are the same within the ring closure limit.
bool Meets(Vec2 a, Vec2 b) {
  const double size = 1 + std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y)});
  return Length(a - b) <= kRingClosure * size;
}

}  // namespace

Vec2 ArcRun::PointAt(double a) const { return centre + radius * Vec2{std::cos(a), std::sin(a)}; }

ArcRun ReadArcRun(Vec2 s, Vec2 c, Vec2 d, Vec2 e) {
  ArcRun run;
  run.centre = c;
  run.radius = Length(s - c);
  run.from = std::atan2(s.y - c.y, s.x - c.x);
  run.to = std::atan2(e.y - c.y, e.x - c.x);
  const bool ccw = Cross(s - c, d - s) > 0;
  const double sweep = NormalizeAngle(ccw ? run.to - run.from : run.from - run.to);
  // A run without a radius or a sweep (or with non-finite points, which
  // leave them NaN) is a straight move to its end.
  if (std::isfinite(run.radius) && std::isfinite(sweep) && run.radius != 0 && sweep != 0) {
    run.sweep = ccw ? sweep : -sweep;
  }
  return run;
}

namespace {

// Builds one graphic's own chain into the outline, piece by piece.
class ChainBuilder {
 public:
  explicit ChainBuilder(Outline& out) : out_(out) {}

  // Adds the vertex chain of a graphic.
  void Add(const MemGraphic& g) {
    const auto& v = g.VertexList();
    const std::size_t n = v.size();
    if (n == 1 && g.TypeText() == "PWW30POINT") out_.points.push_back({v[0].x, v[0].y});
    if (n < 2) return;
    bool penUps = false;
    piece_ = {{v[0].x, v[0].y}};
    std::size_t i = 0;
    while (i + 1 < n) {
      if (v[i].arcPoint || v[i + 1].arcPoint) {
        if (i + 3 >= n) break;  // an unfinished arc run draws nothing more
        AddArcRun({v[i].x, v[i].y}, {v[i + 1].x, v[i + 1].y}, {v[i + 2].x, v[i + 2].y},
                  {v[i + 3].x, v[i + 3].y});
        i += 3;
        continue;
      }
      const Vec2 next{v[i + 1].x, v[i + 1].y};
      if (v[i + 1].penDown) {
        LineTo(next);
      } else {
        penUps = true;
        FinishPiece();
        piece_ = {next};
      }
      ++i;
    }
    const Vec2 first{v[0].x, v[0].y};
    if (g.IsClosed() && !penUps && !Meets(piece_.back(), first)) LineTo(first);
    FinishPiece();
  }

 private:
  // Draws a segment from the current point to p.
  void LineTo(Vec2 p) {
    out_.segments.push_back({piece_.back(), p});
    piece_.push_back(p);
  }

  // Start s, centre c, sense point d (left of c->s: counter-clockwise), end e.
  void AddArcRun(Vec2 s, Vec2 c, Vec2 d, Vec2 e) {
    const ArcRun run = ReadArcRun(s, c, d, e);
    if (run.sweep == 0) {
      piece_.push_back(e);
      return;
    }
    const double sweep = std::fabs(run.sweep);
    out_.arcs.push_back({run.centre, run.radius, run.sweep > 0 ? run.from : run.to, sweep});
    const int steps = std::max(1, static_cast<int>(std::ceil(sweep / kRingArcStep)));
    for (int k = 1; k < steps; ++k) piece_.push_back(run.PointAt(run.from + run.sweep * k / steps));
    piece_.push_back(run.PointAt(run.to));
  }

  // Ends the current piece; a piece that returns to its start is a ring.
  void FinishPiece() {
    if (piece_.size() >= 4 && Meets(piece_.front(), piece_.back())) out_.rings.push_back(piece_);
    piece_.clear();
  }

  Outline& out_;
  std::vector<Vec2> piece_;
};

// Adds a circle, ellipse or arc of one; a full circle's ring of samples
// (the area a fill covers) only when `rings` is set.
void AddShape(const ArcShape& shape, Outline& out, bool rings) {
  const double sweep = shape.Sweep();
  if (shape.Circular()) {
    const double turn = std::atan2(shape.major.y, shape.major.x);
    const ArcPiece arc{shape.centre, Length(shape.major), NormalizeAngle(shape.start + turn), sweep};
    if (arc.radius == 0) return;
    out.arcs.push_back(arc);
    if (shape.full && rings) {
      std::vector<Vec2> ring;
      for (int k = 0; k <= kEllipseSegments; ++k) ring.push_back(ArcPoint(arc, kFullTurn * k / kEllipseSegments));
      out.rings.push_back(std::move(ring));
    }
    return;
  }
  const int steps = std::max(8, static_cast<int>(std::ceil(sweep / kFullTurn * kEllipseSegments)));
  std::vector<Vec2> points;
  for (int k = 0; k <= steps; ++k) points.push_back(shape.PointAt(shape.start + sweep * k / steps));
  for (int k = 0; k < steps; ++k) out.segments.push_back({points[k], points[k + 1]});
  if (shape.full) out.rings.push_back(std::move(points));
}

// Adds a graphic and its descendants, parents before their children. The
// walk keeps its own stack, so that any nesting depth fits.
void Collect(const MemGraphic& root, Outline& out, bool rings) {
  std::vector<const MemGraphic*> pending{&root};
  while (!pending.empty()) {
    const MemGraphic& g = *pending.back();
    pending.pop_back();
    const std::string& type = g.TypeText();
    if (type == "CIRCLE" || type == "ARC") {
      if (g.Shape()) AddShape(*g.Shape(), out, rings);
    } else if (type != "INSERT") {
      ChainBuilder(out).Add(g);
    }
    const auto& children = g.ChildItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it) pending.push_back(it->get());
  }
}

// True for a graphic without children whose outline is the straight
// segments between its vertices (two or more, none pen-up, none an arc
// point), as most graphics of a big drawing are; a closing segment adds
// no point.
bool StraightChain(const MemGraphic& g) {
  const std::vector<VertexData>& v = g.VertexList();
  if (v.size() < 2 || v[0].arcPoint || !g.ChildItems().empty()) return false;
  const std::string& type = g.TypeText();
  if (type == "CIRCLE" || type == "ARC" || type == "INSERT") return false;
  return std::all_of(v.begin() + 1, v.end(),
                     [](const VertexData& x) { return x.penDown && !x.arcPoint; });
}

// Distance from p to the segment ab.
double SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 ab = b - a;
  const double len2 = Dot(ab, ab);
  double t = len2 > 0 ? Dot(p - a, ab) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return Length(p - (a + t * ab));
}

// Distance from p to a circular arc.
double ArcDistance(Vec2 p, const ArcPiece& arc) {
  const Vec2 d = p - arc.centre;
  if ((d.x != 0 || d.y != 0) && OnSweep(arc, std::atan2(d.y, d.x))) {
    return std::fabs(Length(d) - arc.radius);
  }
  if (arc.sweep >= kFullTurn) return arc.radius;  // p is the centre
  return std::min(Length(p - ArcPoint(arc, arc.start)),
                  Length(p - ArcPoint(arc, arc.start + arc.sweep)));
}

// Orientation of c against the line ab: >0 left, <0 right.
double Side(Vec2 a, Vec2 b, Vec2 c) { return Cross(b - a, c - a); }

// True when segments ab and cd share a point.
bool SegmentsMeet(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
  const double d1 = Side(c, d, a), d2 = Side(c, d, b), d3 = Side(a, b, c), d4 = Side(a, b, d);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
    return true;
  }
  const auto within = [](Vec2 p, Vec2 q, Vec2 r) {  // r on segment pq, given collinear
    return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
           r.y <= std::max(p.y, q.y);
  };
  return (d1 == 0 && within(c, d, a)) || (d2 == 0 && within(c, d, b)) ||
         (d3 == 0 && within(a, b, c)) || (d4 == 0 && within(a, b, d));
}

// True when p lies inside or on the convex polygon.
bool InsideConvex(const std::vector<Vec2>& quad, Vec2 p) {
  bool left = false, right = false;
  for (std::size_t k = 0; k < quad.size(); ++k) {
    const double s = Side(quad[k], quad[(k + 1) % quad.size()], p);
    if (s > 0) left = true;
    if (s < 0) right = true;
  }
  return !(left && right);
}

// True when the arc crosses the segment ab.
bool ArcMeetsSegment(const ArcPiece& arc, Vec2 a, Vec2 b) {
  const Vec2 d = b - a, f = a - arc.centre;
  const double qa = Dot(d, d), qb = 2 * Dot(f, d), qc = Dot(f, f) - arc.radius * arc.radius;
  if (qa == 0) return false;
  const double disc = qb * qb - 4 * qa * qc;
  if (disc < 0) return false;
  const double root = std::sqrt(disc);
  for (const double t : {(-qb - root) / (2 * qa), (-qb + root) / (2 * qa)}) {
    if (t < 0 || t > 1) continue;
    const Vec2 p = a + t * d;
    if (OnSweep(arc, std::atan2(p.y - arc.centre.y, p.x - arc.centre.x))) return true;
  }
  return false;
}

}  // namespace

std::optional<Box> Union(const std::optional<Box>& a, const std::optional<Box>& b) {
  if (!a) return b;
  if (!b) return a;
  return Box{std::min(a->minX, b->minX), std::min(a->minY, b->minY), std::max(a->maxX, b->maxX),
             std::max(a->maxY, b->maxY)};
}

std::optional<Box> Outline::Bounds() const {
  std::optional<Box> box;
  for (const auto& s : segments) {
    Grow(box, s.a);
    Grow(box, s.b);
  }
  for (const Vec2 p : points) Grow(box, p);
  for (const auto& arc : arcs) {
    Grow(box, ArcPoint(arc, arc.start));
    Grow(box, ArcPoint(arc, arc.start + arc.sweep));
    for (int q = 0; q < 4; ++q) {  // the extreme points in x and y that the arc passes
      const double a = q * kFullTurn / 4;
      if (OnSweep(arc, a)) Grow(box, ArcPoint(arc, a));
    }
  }
  return box;
}

Outline BuildOutline(const MemGraphic& graphic) {
  Outline out;
  Collect(graphic, out, true);
  return out;
}

std::optional<Box> BoundsOf(const MemGraphic& graphic) {
  if (StraightChain(graphic)) {
    // Its segments join every vertex to the next: their box is the vertices' box.
    std::optional<Box> box;
    for (const VertexData& v : graphic.VertexList()) Grow(box, {v.x, v.y});
    return box;
  }
  Outline out;
  Collect(graphic, out, false);
  return out.Bounds();
}

bool PassesWithin(const Outline& outline, Vec2 p, double radius) {
  for (const auto& s : outline.segments) {
    if (SegmentDistance(p, s.a, s.b) <= radius) return true;
  }
  for (const auto& arc : outline.arcs) {
    if (ArcDistance(p, arc) <= radius) return true;
  }
  for (const Vec2 q : outline.points) {
    if (Length(p - q) <= radius) return true;
  }
  return false;
}

bool InsideRings(const Outline& outline, Vec2 p) {
  bool inside = false;
  for (const auto& ring : outline.rings) {
    for (std::size_t k = 0, j = ring.size() - 1; k < ring.size(); j = k++) {
      const Vec2 a = ring[j], b = ring[k];
      if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y)) {
        inside = !inside;
      }
    }
  }
  return inside;
}

bool MeetsQuad(const Outline& outline, const std::vector<Vec2>& quad) {
  const std::size_t n = quad.size();
  for (const auto& s : outline.segments) {
    if (InsideConvex(quad, s.a) || InsideConvex(quad, s.b)) return true;
    for (std::size_t k = 0; k < n; ++k) {
      if (SegmentsMeet(s.a, s.b, quad[k], quad[(k + 1) % n])) return true;
    }
  }
  for (const auto& arc : outline.arcs) {
    if (InsideConvex(quad, ArcPoint(arc, arc.start))) return true;
    if (InsideConvex(quad, ArcPoint(arc, arc.start + arc.sweep))) return true;
    for (std::size_t k = 0; k < n; ++k) {
      if (ArcMeetsSegment(arc, quad[k], quad[(k + 1) % n])) return true;
    }
  }
  for (const Vec2 q : outline.points) {
    if (InsideConvex(quad, q)) return true;
  }
  return false;
}

}  // namespace pphatch::mem
