#include "formats/dxf_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pphatch::formats {

namespace {

// Below this share of a unit the x and y of a normal count as zero, so the
// OCS x axis is built from the world y axis (the arbitrary axis rule).
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;

}  // namespace

Affine3 Affine3::Then(const Affine3& after) const {
  return {after.Linear(cx), after.Linear(cy), after.Linear(cz), after.Apply(t)};
}

Affine3 Translation(Vec3 offset) {
  Affine3 m;
  m.t = offset;
  return m;
}

Affine3 Scaling(Vec3 f) { return {{f.x, 0, 0}, {0, f.y, 0}, {0, 0, f.z}, {0, 0, 0}}; }

Affine3 RotationZ(double radians) {
  const double c = std::cos(radians), s = std::sin(radians);
  return {{c, s, 0}, {-s, c, 0}, {0, 0, 1}, {0, 0, 0}};
}

Vec3 Normalized(Vec3 v) {
  const double length = std::sqrt(Dot(v, v));
  if (length == 0) return {0, 0, 1};
  return (1 / length) * v;
}

Vec3 CrossProduct(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Affine3 OcsFrame(Vec3 extrusion) {
  const Vec3 n = Normalized(extrusion);
  const bool nearZ = std::fabs(n.x) < kArbitraryAxisLimit && std::fabs(n.y) < kArbitraryAxisLimit;
  const Vec3 ax = Normalized(CrossProduct(nearZ ? Vec3{0, 1, 0} : Vec3{0, 0, 1}, n));
  const Vec3 ay = Normalized(CrossProduct(n, ax));
  return {ax, ay, n, {0, 0, 0}};
}

void AppendConicPoints(std::vector<Vec2>& out, Vec2 c, Vec2 u, Vec2 v, double from, double sweep) {
  const double turn = 2 * std::numbers::pi;
  const int n =
      std::max(2, static_cast<int>(std::ceil(std::fabs(sweep) / turn * kSegmentsPerTurn)));
  for (int i = 0; i <= n; ++i) {
    const double t = from + sweep * i / n;
    out.push_back(c + std::cos(t) * u + std::sin(t) * v);
  }
}

void AppendBulgeSegment(std::vector<Vec2>& out, Vec2 p, Vec2 q, double bulge) {
  if (bulge == 0 || p == q) {
    out.push_back(q);
    return;
  }
  const Vec2 chord = q - p;
  const Vec2 centre = 0.5 * (p + q) + ((1 - bulge * bulge) / (4 * bulge)) * Vec2{-chord.y, chord.x};
  const double radius = Length(p - centre);
  const double from = std::atan2(p.y - centre.y, p.x - centre.x);
  std::vector<Vec2> arc;
  AppendConicPoints(arc, centre, {radius, 0}, {0, radius}, from, 4 * std::atan(bulge));
  arc.back() = q;  // the exact end, not its rounded image
  out.insert(out.end(), arc.begin() + 1, arc.end());
}

}  // namespace pphatch::formats
