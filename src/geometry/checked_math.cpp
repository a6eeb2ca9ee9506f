// Explicit checks for the floating-point faults the component treats as run-time errors.
#include "geometry/checked_math.h"

#include <cmath>

namespace pphatch {

// Divides, raising ComputeError on a zero divisor or a non-finite quotient.
double CheckedDivide(double numerator, double denominator) {
  if (denominator == 0.0) throw ComputeError("division by zero");
  return CheckedFinite(numerator / denominator);
}

// Passes a finite value through; infinity or NaN is an overflow fault.
double CheckedFinite(double v) {
  if (!std::isfinite(v)) throw ComputeError("overflow");
  return v;
}

}  // namespace pphatch
