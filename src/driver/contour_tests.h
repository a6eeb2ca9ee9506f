// Tests on a closed chain (last point repeats the first), drawing coordinates.
#pragma once

#include "curves/curve_record.h"

namespace pphatch {

/// 1 when the point lies inside the chain or on it, else 0.
int PointInContour(const CurveRecord& chain, double px, double py);

/// 1 when the point lies strictly inside the chain; 0 on it or outside.
int PointStrictlyInContour(const CurveRecord& chain, double px, double py);

}  // namespace pphatch
