#include "curves/chain_geometry.h"

#include <cmath>
#include <cstddef>

#include "geometry/checked_math.h"

namespace pphatch {
namespace {

// Raises ComputeError unless i indexes a stored point of the chain.
void RequirePoint(const CurveRecord& chain, int i) {
  if (i < 0 || i >= chain.PointCount || static_cast<std::size_t>(i) >= chain.X.size() ||
      static_cast<std::size_t>(i) >= chain.Y.size()) {
    throw ComputeError("chain point index out of range");
  }
}

}  // namespace

Point2 ChainPoint(const CurveRecord& chain, int i) {
  RequirePoint(chain, i);
  return {chain.X[i], chain.Y[i]};
}

void SetChainPoint(CurveRecord& chain, int i, Point2 p) {
  RequirePoint(chain, i);
  chain.X[i] = p.x;
  chain.Y[i] = p.y;
}

double Distance(Point2 a, Point2 b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  return std::sqrt(dx * dx + dy * dy);
}

Line LineThrough(Point2 p, Point2 q) {
  Line line;
  line.a = p.y - q.y;
  line.b = q.x - p.x;
  line.c = line.a * p.x + line.b * p.y;
  return line;
}

}  // namespace pphatch
