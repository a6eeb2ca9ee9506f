// Putting the points where other chains touch a circle into its chain.
#pragma once

#include <vector>

#include "curves/curve_record.h"

namespace pphatch {

/// Refines records 0..n-1 in place: vertices of other chains on a circle,
/// touching points of tangent circles, and touching points of straight
/// segments become points of the circle-type ("CIRCLE") chains. Only those
/// chains change (points added or moved; bounds, sums and Closed are kept);
/// a closed chain's first and last points stay at the same place, and an
/// arc's end points never move. Raises ComputeError on a computation fault
/// or a record whose X and Y hold fewer than PointCount points.
void RefineCircleContacts(std::vector<CurveRecord>& records, int n);

}  // namespace pphatch
