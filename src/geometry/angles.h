// Direction angles, in radians, counter-clockwise positive.
#pragma once

namespace pphatch {

/// Direction of the vector (x, y) in [0, 2 pi); note y comes first. A vector
/// with |x| < 0.0001 counts as vertical (pi/2 for y > 0, else 3 pi/2).
double VectorAngle(double y, double x);

/// Signed turn of the chord A->B from the unit direction (ux, uy), in
/// (-pi, pi]: 0 straight on, positive to the left, negative to the right;
/// 2 pi when the chord is shorter than GeomTolerance. O does not change the
/// result. Note uy comes first.
double RelativeAngle(double uy, double ux, double x0, double y0, double xa, double ya, double xb,
                     double yb);

}  // namespace pphatch
