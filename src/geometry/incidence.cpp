// The point-on-segment test and line intersection.
//
// Tolerances: with E = GeomTolerance(), an end point matches when both
// coordinate differences are below E (a square box, not a distance); a point
// lies on a segment's line when its perpendicular distance is at most 10 E.
// The band is wider than the boxes so that points computed on a line (with
// their rounding) stay on it, while end points still match only closely.
#include "geometry/incidence.h"

#include <algorithm>
#include <cmath>

#include "geometry/checked_math.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Width of the band around a segment's line, in multiples of E.
constexpr double kBandFactor = 10.0;

// a - b, raising ComputeError when the difference overflows.
double Diff(double a, double b) { return CheckedFinite(a - b); }

// True when P lies in the box of half-width e around Q.
bool InBox(double qx, double qy, double px, double py, double e) {
  return std::fabs(Diff(px, qx)) < e && std::fabs(Diff(py, qy)) < e;
}

// The part of both point tests after the end-point boxes: P strictly between
// the end points and within the band around the line. A segment shorter than
// E has no direction and holds no point here.
int PointInsideSegment(double x1, double y1, double x2, double y2, double px, double py,
                       double e) {
  const double dx = Diff(x2, x1);
  const double dy = Diff(y2, y1);
  const double len = CheckedFinite(std::sqrt(CheckedFinite(dy * dy + dx * dx)));
  if (len < e) return 0;
  // With e still zero a zero-length segment reaches this division and faults.
  const double ux = CheckedDivide(dx, len);
  const double uy = CheckedDivide(dy, len);
  const double rx = Diff(px, x1);
  const double ry = Diff(py, y1);
  const double cross = CheckedFinite(ry * ux - rx * uy);
  const double along = CheckedFinite(rx * ux + ry * uy);
  if (std::fabs(cross) > kBandFactor * e) return 0;
  if (along <= 0 || along >= len) return 0;
  return 1;
}

}  // namespace

// 1 when P is on the closed segment: at either end point or inside the band.
int PointOnSegment(double x1, double y1, double x2, double y2, double px, double py) {
  const double e = GeomTolerance();
  if (InBox(x1, y1, px, py, e)) return 1;
  if (InBox(x2, y2, px, py, e)) return 1;
  return PointInsideSegment(x1, y1, x2, y2, px, py, e);
}

// The distance to the foot of p on the segment, the foot kept within it.
double DistanceToSegment(Point2 p, Point2 a, Point2 b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  const double u = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
  return std::hypot(p.x - (a.x + u * dx), p.y - (a.y + u * dy));
}

// Cramer's rule; a zero determinant or any non-finite value gives nothing.
std::optional<Point2> IntersectLines(double a1, double b1, double c1, double a2, double b2,
                                     double c2) {
  const double d = a1 * b2 - a2 * b1;
  if (d == 0.0 || !std::isfinite(d)) return std::nullopt;
  const double x = (c1 * b2 - c2 * b1) / d;
  const double y = (a1 * c2 - a2 * c1) / d;
  if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  return Point2{x, y};
}

}  // namespace pphatch
