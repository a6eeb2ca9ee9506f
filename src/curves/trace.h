// Tracing one closed contour through a list of chains from a start point.
#pragma once

#include <vector>

#include "curves/curve_record.h"

namespace pphatch {

/// Casts a ray from (x, y) towards smaller x, enters the nearest chain of
/// records 0..last (those not Used) and walks, turning as sharply right as
/// possible, back to the first point. On success writes PointCount, X and Y
/// of `contour` (last point coincides with the first) and returns true.
///
/// Returns false, leaving `contour` untouched, when the ray meets no chain,
/// when the contour would exceed 9000 points, when more than 1001 crossings
/// on one segment or more than 101 at one junction occur, when no way on at
/// a junction qualifies (every one a reversal or a dead end), or on any
/// computation fault. The records are read only; each must hold PointCount
/// points in X and Y.
bool TraceContour(const std::vector<CurveRecord>& records, int last, double x, double y,
                  CurveRecord& contour);

}  // namespace pphatch
