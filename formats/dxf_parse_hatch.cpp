// Reading the boundary of a HATCH: loops of polyline vertices or of edges
// (lines, circular and elliptical arcs, splines), turned into rings of points.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "formats/dxf_geometry.h"
#include "formats/dxf_parse.h"
#include "formats/spline.h"

namespace pphatch::formats {

namespace {

// Boundary path flag: the loop is a polyline.
constexpr long long kPolylineLoop = 2;

constexpr double kDegree = std::numbers::pi / 180;

// Relative distance below which the end of one edge and the start of the
// next are the same point (sampled arcs end a rounding error away).
constexpr double kJoinTolerance = 1e-9;

// True when the points are the same but for rounding.
bool Near(Vec2 a, Vec2 b) {
  const double size = 1 + std::max(std::fabs(a.x), std::fabs(a.y));
  return Length(a - b) <= kJoinTolerance * size;
}

// Appends points, leaving out a first point that repeats the ring's last one.
void Join(std::vector<Vec2>& ring, const std::vector<Vec2>& piece) {
  for (std::size_t i = 0; i < piece.size(); ++i) {
    if (i == 0 && !ring.empty() && Near(ring.back(), piece[0])) continue;
    ring.push_back(piece[i]);
  }
}

// A polyline loop: vertices with optional bulges; the last segment closes it.
std::vector<Vec2> PolylineLoop(DxfCursor& c) {
  c.TakeInteger(72);  // has-bulge flag: the 42 groups tell by themselves
  c.TakeInteger(73);  // closed flag: hatch boundaries are always closed
  const long long count = c.TakeInteger(93);
  std::vector<Vec2> vertices;
  std::vector<double> bulges;
  for (long long i = 0; i < count; ++i) {
    const double x = c.TakeReal(10), y = c.TakeReal(20);
    vertices.push_back({x, y});
    bulges.push_back(c.At(42) ? c.TakeReal(42) : 0);
  }
  std::vector<Vec2> ring;
  if (vertices.empty()) return ring;
  ring.push_back(vertices[0]);
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    AppendBulgeSegment(ring, vertices[i], vertices[(i + 1) % vertices.size()], bulges[i]);
  }
  return ring;
}

// An arc edge (circular when `ratio` is 1): angles in degrees; a clockwise
// edge keeps its angles mirrored, so it runs clockwise from -start to -end.
std::vector<Vec2> ArcEdge(Vec2 centre, Vec2 major, double ratio, double start, double end,
                          bool ccw) {
  double sweep = std::fmod(end - start, 360.0);
  if (sweep <= 0) sweep += 360;
  const Vec2 minor = ratio * Vec2{-major.y, major.x};
  std::vector<Vec2> points;
  if (ccw) {
    AppendConicPoints(points, centre, major, minor, start * kDegree, sweep * kDegree);
  } else {
    AppendConicPoints(points, centre, major, minor, -start * kDegree, -sweep * kDegree);
  }
  return points;
}

// A spline edge: degree, knots and control points (with weights when rational).
std::vector<Vec2> SplineEdge(DxfCursor& c) {
  const int degree = static_cast<int>(c.TakeInteger(94));
  const bool rational = c.TakeInteger(73) != 0;
  c.TakeInteger(74);  // periodic flag: the knots say it
  const long long knotCount = c.TakeInteger(95);
  const long long controlCount = c.TakeInteger(96);
  std::vector<double> knots, weights;
  std::vector<Vec3> control;
  for (long long i = 0; i < knotCount; ++i) knots.push_back(c.TakeReal(40));
  for (long long i = 0; i < controlCount; ++i) {
    const double x = c.TakeReal(10), y = c.TakeReal(20);
    control.push_back({x, y, 0});
    if (rational || c.At(42)) weights.push_back(c.At(42) ? c.TakeReal(42) : 1);
  }
  std::vector<Vec2> fit;
  // Fit data (newer files): a count, then points and end tangents. A 97 that
  // is followed by source handles (330) counts the loop's source objects instead.
  if (c.At(97) && c.PeekCodeAfterNext() != 330) {
    const long long fitCount = c.TakeInteger(97);
    for (long long i = 0; i < fitCount; ++i) {
      const double x = c.TakeReal(11), y = c.TakeReal(21);
      fit.push_back({x, y});
    }
    for (const int code : {12, 13}) {
      if (c.At(code)) {
        c.TakeReal(code);
        c.TakeReal(code + 10);
      }
    }
  }
  std::vector<Vec2> points;
  for (const Vec3& p : SampleSpline(degree, knots, weights, control)) points.push_back(Flat(p));
  if (points.empty()) return fit;
  return points;
}

// An edge loop: each edge's points in order.
std::vector<Vec2> EdgeLoop(DxfCursor& c) {
  const long long count = c.TakeInteger(93);
  std::vector<Vec2> ring;
  for (long long i = 0; i < count; ++i) {
    const long long type = c.TakeInteger(72);
    if (type == 1) {
      const double x1 = c.TakeReal(10), y1 = c.TakeReal(20);
      const double x2 = c.TakeReal(11), y2 = c.TakeReal(21);
      Join(ring, {{x1, y1}, {x2, y2}});
    } else if (type == 2 || type == 3) {
      const double cx = c.TakeReal(10), cy = c.TakeReal(20);
      Vec2 major{0, 0};
      double ratio = 1;
      if (type == 2) {
        major.x = c.TakeReal(40);
      } else {
        major.x = c.TakeReal(11);
        major.y = c.TakeReal(21);
        ratio = c.TakeReal(40);
      }
      const double start = c.TakeReal(50), end = c.TakeReal(51);
      const bool ccw = c.TakeInteger(73) != 0;
      Join(ring, ArcEdge({cx, cy}, major, ratio, start, end, ccw));
    } else if (type == 4) {
      Join(ring, SplineEdge(c));
    } else {
      throw DxfLayoutError{c.Place(), "unknown edge type " + std::to_string(type)};
    }
  }
  return ring;
}

// Source-object handles that end a loop.
void SkipSources(DxfCursor& c) {
  if (!c.At(97)) return;
  c.TakeInteger(97);
  while (c.At(330)) c.Skip();
}

}  // namespace

DxfHatch ReadHatch(const DxfRecord& record, LoadReport& report) {
  DxfHatch hatch;
  hatch.elevation = record.Real(30);
  hatch.solid = (record.Integer(70) & 1) != 0;
  hatch.pattern = record.Text(2);
  std::size_t start = record.Begin() + 1;
  while (start < record.End() && record.CodeAt(start) != 91) ++start;
  if (start == record.End()) return hatch;
  DxfCursor c(record, start);
  try {
    const long long loops = c.TakeInteger(91);
    for (long long i = 0; i < loops; ++i) {
      const long long flags = c.TakeInteger(92);
      std::vector<Vec2> ring = (flags & kPolylineLoop) != 0 ? PolylineLoop(c) : EdgeLoop(c);
      SkipSources(c);
      if (ring.size() > 1 && Near(ring.back(), ring.front())) ring.back() = ring.front();
      if (ring.size() >= 3) hatch.loops.push_back(std::move(ring));
    }
  } catch (const DxfLayoutError& e) {
    hatch.loops.clear();
    report.warnings.push_back(PlaceText(e.place, record.Binary()) +
                              ": the boundary of the HATCH could not be read (" + e.what +
                              "); the hatch is left out");
  }
  return hatch;
}

}  // namespace pphatch::formats
