// Direction angles, in radians, counter-clockwise positive.
#pragma once

namespace pphatch {

/// Direction of the vector (x, y) in [0, 2 pi); note y comes first. A vector
/// with |x| < 0.0001 counts as vertical (pi/2 for y > 0, else 3 pi/2).
double VectorAngle(double y, double x);

}  // namespace pphatch
