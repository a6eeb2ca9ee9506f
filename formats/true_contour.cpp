#include "formats/true_contour.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "memhost/arc_shape.h"
#include "memhost/drawing.h"
#include "memhost/graphic.h"
#include "memhost/outline.h"

namespace pphatch::formats {

using mem::Vec2;

namespace {

// A curve of the drawing near the contour: centre + cos(t) u + sin(t) v for
// t in [start, start + sweep] (sweep 2 pi: the whole conic); u and v are
// perpendicular, v turned +90 degrees from u.
struct Curve {
  Vec2 centre, u, v;
  double start = 0, sweep = mem::kFullTurn;
};

// The straight lines and curves of the drawing around a contour.
struct Neighbourhood {
  std::vector<mem::Outline::Segment> segments;
  std::vector<Curve> curves;
};

// v turned by +90 degrees.
Vec2 Perp(Vec2 v) { return {-v.y, v.x}; }

// Distance from p to the segment ab.
double SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 ab = b - a;
  const double len2 = Dot(ab, ab);
  const double t = len2 > 0 ? std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
  return Length(p - (a + t * ab));
}

// Adds the circles, ellipses and arcs of a graphic and its descendants.
// Circular arcs and polyline arc runs come from the outline; ellipses are
// only sampled there, so they are read from the shapes themselves.
void AddCurves(const mem::MemGraphic& root, const mem::Outline& outline, Neighbourhood& out) {
  for (const mem::ArcPiece& a : outline.arcs) {
    out.curves.push_back({a.centre, {a.radius, 0}, {0, a.radius}, a.start, a.sweep});
  }
  std::vector<const mem::MemGraphic*> pending{&root};
  while (!pending.empty()) {
    const mem::MemGraphic& g = *pending.back();
    pending.pop_back();
    const auto& shape = g.Shape();
    if (shape && !shape->Circular() && (g.TypeText() == "CIRCLE" || g.TypeText() == "ARC")) {
      out.curves.push_back({shape->centre, shape->major, shape->ratio * Perp(shape->major),
                            shape->full ? 0.0 : shape->start, shape->Sweep()});
    }
    for (const auto& child : g.ChildItems()) pending.push_back(child.get());
  }
}

// Edges of a contour looked up together: the graphics near each run of
// this many edges are those that meet the run's box, so that a long
// contour round a large area reads only what lies along it.
constexpr std::size_t kEdgesPerQuery = 16;

// The geometry of the top-level graphics that meet the boxes of the
// contour's runs of edges (grown by the tolerance), each graphic once.
Neighbourhood Around(mem::MemDrawing& drawing, const std::vector<Vec2>& ring, double tolerance) {
  std::unordered_set<mem::MemGraphic*> seen;
  Neighbourhood near;
  const std::size_t n = ring.size();
  for (std::size_t first = 0; first < n; first += kEdgesPerQuery) {
    double minX = ring[first].x, maxX = minX, minY = ring[first].y, maxY = minY;
    for (std::size_t k = first + 1; k <= std::min(first + kEdgesPerQuery, n); ++k) {
      const Vec2 p = ring[k % n];
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    minX -= tolerance, minY -= tolerance, maxX += tolerance, maxY += tolerance;
    for (mem::MemGraphic* g :
         drawing.Index().InPolygon({{minX, minY}, {maxX, minY}, {maxX, maxY}, {minX, maxY}})) {
      if (!seen.insert(g).second) continue;
      const mem::Outline outline = mem::BuildOutline(*g);
      near.segments.insert(near.segments.end(), outline.segments.begin(), outline.segments.end());
      AddCurves(*g, outline, near);
    }
  }
  return near;
}

// Where an edge of the contour lies on a curve: the parameter of its start
// and the signed turn to its end.
struct OnCurve {
  std::size_t curve = 0;
  double t = 0, turn = 0;
};

// The parameter of p on the curve, when p lies on it within the tolerance.
std::optional<double> ParameterOf(const Curve& c, Vec2 p, double tolerance) {
  const Vec2 d = p - c.centre;
  const double t = std::atan2(Dot(d, c.v) / Dot(c.v, c.v), Dot(d, c.u) / Dot(c.u, c.u));
  const Vec2 q = c.centre + std::cos(t) * c.u + std::sin(t) * c.v;
  if (Length(q - p) > tolerance) return std::nullopt;
  return t;
}

// The edge ab as a short piece of the curve: both ends on it, a turn of at
// most kMaxChordTurn between them, and its middle inside the curve's range.
std::optional<OnCurve> EdgeOn(const Curve& c, std::size_t index, Vec2 a, Vec2 b, double tolerance) {
  // Most curves of the neighbourhood are far from the edge: a look at the
  // curve's box spares their trigonometry.
  const double reach = std::max(Length(c.u), Length(c.v)) + tolerance;
  if (std::fabs(a.x - c.centre.x) > reach || std::fabs(a.y - c.centre.y) > reach) return std::nullopt;
  const auto ta = ParameterOf(c, a, tolerance);
  if (!ta) return std::nullopt;
  const auto tb = ParameterOf(c, b, tolerance);
  if (!tb) return std::nullopt;
  const double turn = std::remainder(*tb - *ta, mem::kFullTurn);
  if (turn == 0 || std::fabs(turn) > kMaxChordTurn) return std::nullopt;
  if (c.sweep < mem::kFullTurn && mem::NormalizeAngle(*ta + turn / 2 - c.start) > c.sweep) {
    return std::nullopt;
  }
  return OnCurve{index, *ta, turn};
}

// True when two curves are the same conic within the tolerance.
bool SameConic(const Curve& a, const Curve& b, double tolerance) {
  return Length(a.centre - b.centre) <= tolerance && Length(a.u - b.u) <= tolerance &&
         Length(a.v - b.v) <= tolerance;
}

// The contour's points without repeats and without the closing repeat.
std::vector<Vec2> Ring(const Contour& contour) {
  std::vector<Vec2> ring;
  for (const Point2& p : contour) {
    const Vec2 q{p[0], p[1]};
    if (ring.empty() || !(ring.back() == q)) ring.push_back(q);
  }
  if (ring.size() > 1 && ring.back() == ring.front()) ring.pop_back();
  return ring;
}

// The largest coordinate magnitude of the ring.
double Magnitude(const std::vector<Vec2>& ring) {
  double m = 0;
  for (const Vec2 p : ring) m = std::max({m, std::fabs(p.x), std::fabs(p.y)});
  return m;
}

// A straight piece.
ContourPiece Line(Vec2 a, Vec2 b) {
  ContourPiece piece;
  piece.from = a;
  piece.to = b;
  return piece;
}

}  // namespace

bool ContourPiece::Circular() const { return Length(u) == Length(v); }

Vec2 ContourPiece::At(double t) const { return centre + std::cos(t) * u + std::sin(t) * v; }

TrueContour StraightContour(const Contour& contour) {
  const std::vector<Vec2> ring = Ring(contour);
  TrueContour pieces;
  if (ring.size() < 2) return pieces;
  for (std::size_t i = 0; i < ring.size(); ++i) pieces.push_back(Line(ring[i], ring[(i + 1) % ring.size()]));
  return pieces;
}

TrueContour FollowCurves(mem::MemDrawing& drawing, const Contour& contour) {
  const std::vector<Vec2> ring = Ring(contour);
  const std::size_t n = ring.size();
  if (n < 2) return {};
  const double magnitude = Magnitude(ring);
  const Neighbourhood near = Around(drawing, ring, kOnCurveTolerance * magnitude);
  auto tolerance = [&](const Curve& c) { return kOnCurveTolerance * (magnitude + Length(c.u)); };
  // The curve of each edge, trying the curve of the edge before first.
  std::vector<std::optional<OnCurve>> on(n);
  for (std::size_t i = 0; i < n; ++i) {
    const Vec2 a = ring[i], b = ring[(i + 1) % n];
    const std::optional<OnCurve> before = i > 0 ? on[i - 1] : std::nullopt;
    if (before) on[i] = EdgeOn(near.curves[before->curve], before->curve, a, b, tolerance(near.curves[before->curve]));
    for (std::size_t k = 0; !on[i] && k < near.curves.size(); ++k) {
      on[i] = EdgeOn(near.curves[k], k, a, b, tolerance(near.curves[k]));
    }
    if (!on[i]) continue;
    // An edge along a straight line of the drawing is that line, even when
    // its ends also lie on a curve: both ends on one drawn segment, or its
    // middle on a drawn segment that runs its way (an edge over two
    // collinear segments). A chord's middle lies off its curve, and no
    // drawn line runs along a chord that the component sampled.
    const double straight = kOnCurveTolerance * magnitude;
    const Vec2 mid = 0.5 * (a + b);
    for (const auto& s : near.segments) {
      const bool ends = SegmentDistance(a, s.a, s.b) <= straight && SegmentDistance(b, s.a, s.b) <= straight;
      const bool along = SegmentDistance(mid, s.a, s.b) <= straight &&
                         std::fabs(Cross(b - a, s.b - s.a)) <= kOnCurveTolerance * Length(b - a) * Length(s.b - s.a);
      if (ends || along) {
        on[i].reset();
        break;
      }
    }
  }
  // Edges i and j continue one arc: the same conic, turning the same way.
  auto continues = [&](std::size_t i, std::size_t j) {
    if (!on[i] || !on[j]) return false;
    const Curve& a = near.curves[on[i]->curve];
    return (on[i]->turn > 0) == (on[j]->turn > 0) &&
           SameConic(a, near.curves[on[j]->curve], tolerance(a));
  };
  // Start at an edge that begins a stretch, so that no arc is cut at the
  // contour's first point (a contour all on one curve starts anywhere).
  std::size_t first = 0;
  while (first < n && continues((first + n - 1) % n, first)) ++first;
  if (first == n) first = 0;

  TrueContour pieces;
  for (std::size_t k = 0; k < n;) {
    const std::size_t i = (first + k) % n;
    if (!on[i]) {
      pieces.push_back(Line(ring[i], ring[(i + 1) % n]));
      ++k;
      continue;
    }
    const Curve& c = near.curves[on[i]->curve];
    ContourPiece piece;
    piece.arc = true;
    piece.from = ring[i];
    piece.centre = c.centre;
    piece.u = c.u;
    piece.v = c.v;
    piece.t0 = on[i]->t;
    double turn = on[i]->turn;
    std::size_t j = i;
    ++k;
    while (k < n && continues(j, (first + k) % n)) {
      j = (first + k) % n;
      turn += on[j]->turn;
      ++k;
    }
    piece.t1 = piece.t0 + turn;
    piece.to = ring[(j + 1) % n];
    pieces.push_back(piece);
  }
  return pieces;
}

}  // namespace pphatch::formats
