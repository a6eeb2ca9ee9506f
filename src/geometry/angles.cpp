// Direction angles in radians, counter-clockwise positive.
#include "geometry/angles.h"

#include <cmath>

#include "geometry/checked_math.h"
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

}  // namespace pphatch
