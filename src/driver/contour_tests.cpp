// Tests on a closed chain: does it enclose area, where does a horizontal
// line first cross it, and does it hold a point.
#include "driver/contour_tests.h"

#include <cmath>
#include <cstddef>
#include <exception>

#include "component/errors.h"
#include "curves/chain_points.h"
#include "geometry/incidence.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// LeftmostCrossing's answer when its computation faults.
constexpr double kCrossingFault = 1e7;

// The point tests cast their ray 30 degrees above the positive x axis, so
// that a point level with a vertex (a common case in drawings) does not send
// the ray exactly through that vertex. These are cos 30 and sin 30.
constexpr double kRayCos = 0.8660254037844386;
constexpr double kRaySin = 0.5;

// Signum: -1, 0 or +1.
int Sign(double v) { return (v > 0) - (v < 0); }

// The ray-crossing count behind both point tests. onBoundary is the answer
// for a point on the chain. Any computation fault answers 0.
//
// Crossings: each end of an edge lies on one side of the ray's line, a point
// exactly on the line counting as the upper side, and an edge crosses when
// its ends lie on different sides. Because each vertex gets one side for
// both edges that share it, a chain that passes through the line at a vertex
// is counted once and a chain that only touches it there is counted twice
// or not at all, and a very short edge across the line is counted like any
// other; the parity stays right in all these cases. The crossing point's
// parameter t = a1 / (a1 - a2) lies in [0, 1] for such an edge, so its
// computation cannot overflow.
//
// Boundary: a point within E of a vertex, on a horizontal edge (within E
// vertically), where an edge crosses the ray within E of the point, or on an
// edge that runs along the ray's line (within the 10 E band of PointOnSegment).
int RayTest(const CurveRecord& chain, double px, double py, int onBoundary) {
  try {
    RequireChainPoints(chain);
    const double e = GeomTolerance();
    // Edges are counted in a wide type: chains may have any number of points.
    std::size_t crossings = 0;
    for (int i = 0; i + 1 < chain.PointCount; ++i) {
      const double x1 = chain.X[i], y1 = chain.Y[i];
      const double x2 = chain.X[i + 1], y2 = chain.Y[i + 1];
      const bool zeroLength = PointsCoincide(x1, y1, x2, y2);
      if (!zeroLength) {
        if (PointsCoincide(px, py, x1, y1) || PointsCoincide(px, py, x2, y2)) return onBoundary;
        if (std::fabs(y1 - y2) < e && std::fabs(py - y1) < e &&
            PointOnSegmentExclStart(x1, y1, x2, y2, px, py) == 1) {
          return onBoundary;
        }
      }
      // End points relative to the point, turned by -30 degrees: a across
      // the ray (positive above it), b along it.
      const double rx1 = CheckedFinite(x1 - px), ry1 = CheckedFinite(y1 - py);
      const double rx2 = CheckedFinite(x2 - px), ry2 = CheckedFinite(y2 - py);
      const double a1 = CheckedFinite(ry1 * kRayCos - rx1 * kRaySin);
      const double b1 = CheckedFinite(rx1 * kRayCos + ry1 * kRaySin);
      const double a2 = CheckedFinite(ry2 * kRayCos - rx2 * kRaySin);
      const double b2 = CheckedFinite(rx2 * kRayCos + ry2 * kRaySin);
      if (!zeroLength && std::fabs(a1 - a2) < e && PointOnSegment(x1, y1, x2, y2, px, py) == 1) {
        return onBoundary;
      }
      if ((a1 >= 0) == (a2 >= 0)) continue;
      const double t = a1 / (a1 - a2);
      const double along = CheckedFinite(b1 + t * (b2 - b1));
      if (std::fabs(along) < e) return onBoundary;
      if (along > e) ++crossings;
    }
    return crossings % 2 == 1 ? 1 : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

// 1 inside the chain or on it, 0 outside.
int PointInContour(const CurveRecord& chain, double px, double py) {
  return RayTest(chain, px, py, 1);
}

// 1 strictly inside the chain, 0 on it or outside.
int PointStrictlyInContour(const CurveRecord& chain, double px, double py) {
  return RayTest(chain, px, py, 0);
}

}  // namespace pphatch
