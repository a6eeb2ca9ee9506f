// Clean-up of the found contours and the graphic handed to the host.
#pragma once

#include <vector>

#include "component/state.h"
#include "curves/curve_record.h"

namespace pphatch {

/// Collapses every stretch of contours 0..contourCount that runs out and
/// back along the same points; a chain that only ran out and back empties.
void RemoveSpikes(std::vector<CurveRecord>& contours, int contourCount);

/// Moves the External contour to index 0 and drops inner contours that share
/// a point with it; externalIndex becomes 0, contourCount the new last index.
void OrderContours(int& externalIndex, std::vector<CurveRecord>& contours, int& contourCount);

/// A container graphic outside the drawing holding contours 0..contourCount
/// as closed children at z = 0, the drawing's workplane applied.
HostGraphicPtr BuildResultGraphic(ObjectState& state, const std::vector<CurveRecord>& contours,
                                  int contourCount);

}  // namespace pphatch
