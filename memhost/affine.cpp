#include "memhost/affine.h"

#include <cmath>

namespace pphatch::mem {

namespace {

// Relative rounding up to which a matrix's columns count as perpendicular
// and of equal length.
constexpr double kSimilarityTolerance = 1e-12;

}  // namespace

Vec2 Affine2::Apply(Vec2 p) const { return offset + ApplyToVector(p); }

Vec2 Affine2::ApplyToVector(Vec2 v) const { return {xx * v.x + xy * v.y, yx * v.x + yy * v.y}; }

bool Affine2::IsSimilarity() const {
  const Vec2 first{xx, yx}, second{xy, yy};
  const double a = Dot(first, first), b = Dot(second, second);
  const double limit = kSimilarityTolerance * (a + b);
  return std::fabs(a - b) <= limit && std::fabs(Dot(first, second)) <= limit;
}

Affine2 Affine2::Inverse() const {
  const double det = Determinant();
  Affine2 inverse{yy / det, -xy / det, -yx / det, xx / det, {}};
  inverse.offset = -1 * inverse.ApplyToVector(offset);
  return inverse;
}

Affine2 Compose(const Affine2& outer, const Affine2& inner) {
  Affine2 m;
  m.xx = outer.xx * inner.xx + outer.xy * inner.yx;
  m.xy = outer.xx * inner.xy + outer.xy * inner.yy;
  m.yx = outer.yx * inner.xx + outer.yy * inner.yx;
  m.yy = outer.yx * inner.xy + outer.yy * inner.yy;
  m.offset = outer.Apply(inner.offset);
  return m;
}

Affine2 Placement::Map() const {
  const double c = std::cos(rotation), s = std::sin(rotation);
  const double sx = XScale(), sy = YScale();
  return {c * sx, -s * sy, s * sx, c * sy, {x, y}};
}

Affine2 Compose(const Placement& outer, const Placement& inner) {
  return Compose(outer.Map(), inner.Map());
}

}  // namespace pphatch::mem
