#include "memhost/arc_shape.h"

#include <cmath>

namespace pphatch::mem {

namespace {

// Collinearity limit for three points: the sine of the angle at s.
constexpr double kCollinearSine = 1e-12;

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

Vec2 Placement::Apply(Vec2 p) const { return Vec2{x, y} + ApplyToVector(p); }

Vec2 Placement::ApplyToVector(Vec2 v) const { return scale * Rotated(v, rotation); }

ArcShape Transformed(const ArcShape& shape, const Placement& placement) {
  ArcShape t = shape;
  t.centre = placement.Apply(shape.centre);
  t.major = placement.ApplyToVector(shape.major);
  return t.Circular() ? AlignCircular(t) : t;
}

}  // namespace pphatch::mem
