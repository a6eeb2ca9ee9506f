#include "memhost/arc_shape.h"

#include <algorithm>
#include <cmath>

namespace pphatch::mem {

namespace {

// Collinearity limit for three points: the sine of the angle at s.
constexpr double kCollinearSine = 1e-12;

// Relative difference of two half-diameters' lengths (and their dot
// product) up to which the curve counts as a circle: rounding in rotations
// leaves differences of a few units in the last place.
constexpr double kCircleTolerance = 1e-9;

double Direction(Vec2 d) { return std::atan2(d.y, d.x); }

// A circular shape's major axis put back along +x; arc angles follow.
ArcShape AlignCircular(ArcShape shape) {
  const double turn = std::atan2(shape.major.y, shape.major.x);
  shape.major = {Length(shape.major), 0};
  if (!shape.full) {
    shape.start = NormalizeAngle(shape.start + turn);
    shape.end = NormalizeAngle(shape.end + turn);
  }
  return shape;
}

}  // namespace

double NormalizeAngle(double angle) {
  double a = std::fmod(angle, kFullTurn);
  if (a < 0) a += kFullTurn;
  if (a >= kFullTurn) a = 0;
  return a;
}

Vec2 ArcShape::PointAt(double t) const {
  const Vec2 perp{-major.y, major.x};
  return centre + std::cos(t) * major + (std::sin(t) * ratio) * perp;
}

double ArcShape::Sweep() const {
  if (full) return kFullTurn;
  const double s = NormalizeAngle(end - start);
  return s == 0 ? kFullTurn : s;
}

std::array<double, 11> ArcShape::ArcData() const {
  std::array<double, 11> a{};
  a[0] = centre.x;
  a[1] = centre.y;
  a[3] = centre.x + major.x;
  a[4] = centre.y + major.y;
  a[6] = ratio;
  a[7] = full ? 0 : start;
  a[8] = full ? kFullTurn : end;
  return a;
}

std::vector<Vec2> ArcShape::Layout() const {
  if (full) return {centre};
  const double sweep = Sweep();
  return {centre, PointAt(start), PointAt(start + sweep), PointAt(start + sweep / 2)};
}

ArcShape CircleShape(Vec2 centre, double radius) {
  ArcShape s;
  s.centre = centre;
  s.major = {radius, 0};
  return s;
}

ArcShape EllipseShape(Vec2 centre, Vec2 major, double ratio) {
  ArcShape s;
  s.centre = centre;
  s.major = major;
  s.ratio = ratio;
  return s;
}

ArcShape CircularArcShape(Vec2 centre, double radius, double start, double end) {
  ArcShape s = CircleShape(centre, radius);
  s.full = false;
  s.start = NormalizeAngle(start);
  s.end = NormalizeAngle(end);
  return s;
}

ArcShape EllipticalArcShape(Vec2 centre, Vec2 major, double ratio, double start, double end) {
  ArcShape s = EllipseShape(centre, major, ratio);
  s.full = false;
  s.start = NormalizeAngle(start);
  s.end = NormalizeAngle(end);
  return s;
}

std::optional<ArcThroughResult> ArcThroughPoints(Vec2 s, Vec2 m, Vec2 e) {
  const Vec2 sm = m - s, se = e - s;
  const double lengths = Length(sm) * Length(se);
  const double cross = Cross(sm, se);
  if (lengths == 0 || std::fabs(cross) <= kCollinearSine * lengths) return std::nullopt;
  // Circumcentre relative to s: solves 2 c.sm = |sm|^2 and 2 c.se = |se|^2.
  const double a = Dot(sm, sm), b = Dot(se, se);
  const Vec2 c{(se.y * a - sm.y * b) / (2 * cross), (sm.x * b - se.x * a) / (2 * cross)};
  const Vec2 centre = s + c;
  const double radius = Length(c);
  const bool reversed = cross < 0;  // s -> m -> e turns clockwise
  const Vec2 first = reversed ? e : s, last = reversed ? s : e;
  ArcThroughResult result;
  result.shape = CircularArcShape(centre, radius, std::atan2(first.y - centre.y, first.x - centre.x),
                                  std::atan2(last.y - centre.y, last.x - centre.x));
  result.reversed = reversed;
  return result;
}

ArcShape ConjugateArcShape(Vec2 centre, Vec2 u, Vec2 v, double start, double end, bool whole) {
  const bool counterClockwise = Cross(u, v) >= 0;
  const double lu = Length(u), lv = Length(v);
  const double size = std::max(lu, lv);
  if (std::fabs(lu - lv) <= kCircleTolerance * size &&
      std::fabs(Dot(u, v)) <= kCircleTolerance * size * size) {
    if (whole) return CircleShape(centre, lu);
    const double a = Direction(std::cos(start) * u + std::sin(start) * v);
    const double b = Direction(std::cos(end) * u + std::sin(end) * v);
    return counterClockwise ? CircularArcShape(centre, lu, a, b) : CircularArcShape(centre, lu, b, a);
  }
  const double t0 = 0.5 * std::atan2(2 * Dot(u, v), Dot(u, u) - Dot(v, v));
  const Vec2 major = std::cos(t0) * u + std::sin(t0) * v;
  const Vec2 minor = -std::sin(t0) * u + std::cos(t0) * v;
  const double ratio = Length(minor) / Length(major);
  if (whole) return EllipseShape(centre, major, ratio);
  // Counter-clockwise (u, v): the shape's parameter is t - t0. Clockwise: it
  // is t0 - t, so the arc runs from t0 - end to t0 - start.
  if (counterClockwise) return EllipticalArcShape(centre, major, ratio, start - t0, end - t0);
  return EllipticalArcShape(centre, major, ratio, t0 - end, t0 - start);
}

ArcShape Transformed(const ArcShape& shape, const Affine2& map) {
  if (map.IsSimilarity()) {
    ArcShape t = shape;
    t.centre = map.Apply(shape.centre);
    t.major = map.ApplyToVector(shape.major);
    // A mirror turns perp(major) against the image's perp(major): the
    // parameter changes sign.
    if (map.Determinant() < 0 && !shape.full) {
      t.start = NormalizeAngle(-shape.end);
      t.end = NormalizeAngle(-shape.start);
    }
    return t.Circular() ? AlignCircular(t) : t;
  }
  const Vec2 u = shape.major, v = shape.ratio * Vec2{-u.y, u.x};
  return ConjugateArcShape(map.Apply(shape.centre), map.ApplyToVector(u), map.ApplyToVector(v),
                           shape.start, shape.start + shape.Sweep(), shape.full);
}

ArcShape Transformed(const ArcShape& shape, const Placement& placement) {
  return Transformed(shape, placement.Map());
}

}  // namespace pphatch::mem
