// Run-time errors raised by the component's own computations.
#pragma once

#include <stdexcept>

namespace pphatch {

/// A computation fault: division by zero, overflow to a non-finite value,
/// or an index outside a fixed table. The request driver traps it like a
/// failing host call.
class ComputeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Divides, raising ComputeError when the divisor is zero or the quotient
/// is not finite.
double CheckedDivide(double numerator, double denominator);

/// Returns v, raising ComputeError when it is not finite.
double CheckedFinite(double v);

}  // namespace pphatch
