// Entering the chain hit by the march: direction of travel, the graphics
// along the hit segment, and the first point of the loop.
#pragma once

#include "contour/march.h"
#include "contour/search_state.h"

namespace pphatch {

/// Makes the hit chain the current chain, entered so that the hit segment
/// runs upwards (the pick point then lies on the right), rebuilds the
/// candidates along the hit segment and fixes the first point S: the last
/// junction on the hit segment before the crossing, or the segment's lower
/// end. False when the search must end (an extraction failed, or the hit
/// chain or segment is not found again after the rebuild).
bool EnterHitChain(SearchState& search, const RayHit& hit);

}  // namespace pphatch
