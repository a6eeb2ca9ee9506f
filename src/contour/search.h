// The search for the closed loop of graphics around a picked point.
#pragma once

#include "component/state.h"

namespace pphatch {

/// Marches left from the view point (px, py) to the nearest chain, then
/// walks the chains turning as sharply right as possible until the loop is
/// closed; the loop is left in Module().WorkContour. May move px to the
/// left (the caller keeps the moved value).
bool SearchClosedContour(ObjectState& state, double& px, double& py);

}  // namespace pphatch
