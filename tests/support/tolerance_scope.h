// Sets the thread's GeomTolerance for the length of a test.
#pragma once

#include "geometry/tolerance.h"

namespace pphatch {

/// Sets this thread's GeomTolerance and restores the old value afterwards.
class ToleranceScope {
 public:
  explicit ToleranceScope(double e) : saved_(GeomTolerance()) { GeomTolerance() = e; }
  ~ToleranceScope() { GeomTolerance() = saved_; }
  ToleranceScope(const ToleranceScope&) = delete;
  ToleranceScope& operator=(const ToleranceScope&) = delete;

 private:
  double saved_;
};

}  // namespace pphatch
