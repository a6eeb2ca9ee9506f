// Small checks on the points of a CurveRecord chain.
#include "curves/chain_points.h"

#include <cmath>
#include <cstddef>

#include "geometry/checked_math.h"
#include "geometry/tolerance.h"

namespace pphatch {

// Box test against GeomTolerance; an overflowing difference is a fault.
bool PointsCoincide(double x1, double y1, double x2, double y2) {
  const double e = GeomTolerance();
  return std::fabs(CheckedFinite(x1 - x2)) < e && std::fabs(CheckedFinite(y1 - y2)) < e;
}

// A negative count or one beyond either array is an index fault.
void RequireChainPoints(const CurveRecord& chain) {
  if (chain.PointCount < 0) throw ComputeError("negative point count");
  const auto n = static_cast<std::size_t>(chain.PointCount);
  if (n > chain.X.size() || n > chain.Y.size()) throw ComputeError("point count beyond the chain");
}

}  // namespace pphatch
