// Tracing one closed contour through a list of chains from a start point.
#pragma once

#include <vector>

#include "curves/curve_record.h"

namespace pphatch {

/// Casts a ray from (x, y) towards smaller x, enters the nearest chain of
/// records 0..last (those not Used) and walks, turning as sharply right as
/// possible, back to the first point. On success writes PointCount, X and Y
/// of `contour` (last point coincides with the first) and returns true.
bool TraceContour(const std::vector<CurveRecord>& records, int last, double x, double y,
                  CurveRecord& contour);

}  // namespace pphatch
