// Where a contour trace enters the chains: the nearest chain that a ray cast
// from the start point towards smaller x meets.
#pragma once

#include <optional>
#include <vector>

#include "curves/curve_record.h"
#include "geometry/incidence.h"

namespace pphatch {

/// The first point of a trace and the way it leaves it.
struct TraceStart {
  int chain = 0;  ///< index of the chain entered
  int k = 0;      ///< the walk is on the segment from point k to point k + d
  int d = 1;      ///< +1 forward along the chain, -1 backward
  Point2 a;       ///< the first point of the contour, on that segment
  Point2 b;       ///< point k + d, the segment's upper end
};

/// Casts a ray from (x, y) towards smaller x over records 0..count-1 that
/// are not Used and enters the nearest segment it meets, going upwards, so
/// that (x, y) lies to the walk's right. The first point is the segment's
/// lower end, or the last place below the ray where another chain crosses
/// the segment. Nothing when the ray meets no chain.
std::optional<TraceStart> FindTraceStart(const std::vector<CurveRecord>& records, int count,
                                         double x, double y);

}  // namespace pphatch
