// Gathering the graphics along a chain through small view windows.
#pragma once

#include <vector>

#include "component/state.h"
#include "curves/curve_record.h"

namespace pphatch {

/// Identifiers of the candidate graphics near the chain, each once.
/// ids[0..count-1] are valid on return.
void CollectGraphicsAlongContour(ObjectState& state, const CurveRecord& chain,
                                 std::vector<int>& ids, int& count);

/// Appends the identifiers of the candidate graphics in the window whose
/// opposite corners are (x1, y1) and (x2, y2), drawing coordinates.
void CollectIdsInWindow(ObjectState& state, double x1, double y1, double x2, double y2,
                        std::vector<int>& ids, int& count);

}  // namespace pphatch
