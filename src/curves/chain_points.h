// Small checks on the points of a CurveRecord chain.
#pragma once

#include "curves/curve_record.h"

namespace pphatch {

/// True when the two points coincide: both coordinate differences are below
/// GeomTolerance (a square box, not a distance).
bool PointsCoincide(double x1, double y1, double x2, double y2);

/// Raises ComputeError unless points 0..PointCount-1 exist in both X and Y,
/// so that no chain walk reads outside the arrays.
void RequireChainPoints(const CurveRecord& chain);

}  // namespace pphatch
