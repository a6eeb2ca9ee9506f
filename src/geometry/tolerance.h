// The module-wide geometric tolerance.
#pragma once

namespace pphatch {

/// The tolerance every geometric comparison reads (drawing units): 1e-6,
/// 1e-7 or 1e-8, set by the contour search from the view's width; zero until
/// the first search. Two points coincide when both coordinate differences
/// are below it (a box test); bands around lines are ten times as wide.
/// One copy per thread.
double& GeomTolerance();

/// Sets this thread's GeomTolerance and restores the old value when it
/// goes out of scope.
class ToleranceScope {
 public:
  explicit ToleranceScope(double tolerance) : saved_(GeomTolerance()) { GeomTolerance() = tolerance; }
  ~ToleranceScope() { GeomTolerance() = saved_; }
  ToleranceScope(const ToleranceScope&) = delete;
  ToleranceScope& operator=(const ToleranceScope&) = delete;

 private:
  double saved_;
};

/// The literal values of pi and 2 pi that every angle rule uses.
inline constexpr double kPi = 3.14159265358979;
inline constexpr double kTwoPi = 6.28318530717958;

}  // namespace pphatch
