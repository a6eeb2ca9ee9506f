// The graphic handed to the host.
#pragma once

#include <vector>

#include "component/state.h"
#include "curves/curve_record.h"

namespace pphatch {

/// A container graphic outside the drawing holding contours 0..contourCount
/// as closed children at z = 0, the drawing's workplane applied.
HostGraphicPtr BuildResultGraphic(ObjectState& state, const std::vector<CurveRecord>& contours,
                                  int contourCount);

}  // namespace pphatch
