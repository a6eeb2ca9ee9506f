// The module-wide geometric tolerance, one copy per thread.
#include "geometry/tolerance.h"

namespace pphatch {

// This thread's tolerance; zero until the contour search first sets it.
double& GeomTolerance() {
  thread_local double tolerance = 0.0;
  return tolerance;
}

}  // namespace pphatch
