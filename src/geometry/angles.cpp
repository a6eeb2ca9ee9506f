// Direction angles in radians, counter-clockwise positive.
#include "geometry/angles.h"

#include <cmath>

#include "component/errors.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Below this |x| a vector counts as vertical. Absolute, not relative to the
// vector's length: callers pass unit vectors, so it is about 0.0001 radian.
constexpr double kVerticalX = 0.0001;

// 3 pi as the literal that the downward direction is computed from.
constexpr double kThreePi = 9.42477796076937;

}  // namespace

// Direction of (x, y) in [0, 2 pi), with nearly vertical vectors snapped.
double VectorAngle(double y, double x) {
  if (std::fabs(x) < kVerticalX) return y > 0 ? kPi / 2 : kThreePi / 2;
  const double t = std::atan(CheckedDivide(y, x));
  if (y >= 0) return x > 0 ? t : t + kPi;
  return x < 0 ? t + kPi : t + kTwoPi;
}

// Turn of the chord A->B from direction u, in (-pi, pi]; 2 pi for a chord
// shorter than GeomTolerance, which has no direction.
double RelativeAngle(double uy, double ux, double x0, double y0, double xa, double ya, double xb,
                     double yb) {
  const double vx = CheckedFinite(xa - x0), vy = CheckedFinite(ya - y0);
  const double wx = CheckedFinite(xb - x0), wy = CheckedFinite(yb - y0);
  const double alongV = vx * ux + vy * uy, acrossV = vy * ux - vx * uy;
  const double alongW = wx * ux + wy * uy, acrossW = wy * ux - wx * uy;
  const double dAcross = CheckedFinite(acrossW - acrossV);
  const double dAlong = CheckedFinite(alongW - alongV);
  const double len = CheckedFinite(std::sqrt(CheckedFinite(dAlong * dAlong + dAcross * dAcross)));
  if (len < GeomTolerance()) return kTwoPi;
  // With the tolerance still zero a zero-length chord faults in these divisions.
  const double angle = VectorAngle(CheckedDivide(dAcross, len), CheckedDivide(dAlong, len));
  return angle > kPi ? angle - kTwoPi : angle;
}

}  // namespace pphatch
