#include "formats/conic_arc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "formats/dxf_geometry.h"

namespace pphatch::formats {

namespace {

// Relative difference of the half-diameters (and of their dot product) up
// to which the curve counts as a circle: rounding in rotations leaves
// differences of a few units in the last place.
constexpr double kCircleTolerance = 1e-9;

// Below this share of |u|^2 + |v|^2 the area spanned by u and v counts as
// zero: the curve is seen edge-on.
constexpr double kFlatTolerance = 1e-12;

double Angle(mem::Vec2 d) { return std::atan2(d.y, d.x); }

}  // namespace

mem::GraphicPtr AddConicArc(const mem::Into& into, const ConicArc& arc) {
  const mem::Vec2 c = arc.centre, u = arc.u, v = arc.v;
  const double cross = mem::Cross(u, v);
  const double lu = mem::Length(u), lv = mem::Length(v);
  const double sweep = arc.whole ? 2 * std::numbers::pi : arc.end - arc.start;
  if (std::fabs(cross) <= kFlatTolerance * (lu * lu + lv * lv)) {
    std::vector<mem::Vec2> points;
    AppendConicPoints(points, c, u, v, arc.whole ? 0 : arc.start, sweep);
    return mem::AddChain(into, points);
  }
  const double scale = std::max(lu, lv);
  if (std::fabs(lu - lv) <= kCircleTolerance * scale &&
      std::fabs(mem::Dot(u, v)) <= kCircleTolerance * scale * scale) {
    if (arc.whole) return mem::AddCircle(into, c, lu);
    const double a = Angle(std::cos(arc.start) * u + std::sin(arc.start) * v);
    const double b = Angle(std::cos(arc.end) * u + std::sin(arc.end) * v);
    return cross > 0 ? mem::AddArc(into, c, lu, a, b) : mem::AddArc(into, c, lu, b, a);
  }
  // The major axis lies at the parameter t0 where |p(t) - c| is largest.
  const double t0 = 0.5 * std::atan2(2 * mem::Dot(u, v), mem::Dot(u, u) - mem::Dot(v, v));
  const mem::Vec2 major = std::cos(t0) * u + std::sin(t0) * v;
  const mem::Vec2 minor = -std::sin(t0) * u + std::cos(t0) * v;
  const double ratio = mem::Length(minor) / mem::Length(major);
  if (arc.whole) return mem::AddEllipse(into, c, major, ratio);
  // Counter-clockwise (u, v): the host's parameter is t - t0. Clockwise: the
  // host's parameter is t0 - t, so the arc runs from t0 - end to t0 - start.
  if (cross > 0) return mem::AddEllipticalArc(into, c, major, ratio, arc.start - t0, arc.end - t0);
  return mem::AddEllipticalArc(into, c, major, ratio, t0 - arc.end, t0 - arc.start);
}

}  // namespace pphatch::formats
