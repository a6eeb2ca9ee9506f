// Why a request found no area: the gap tolerance that would close it, or
// where the boundary around the click is open.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "area/find_area.h"
#include "pphatch/pick_diagnosis.h"

namespace pphatch {

/// The area around the click searched again with the given gap tolerance;
/// nothing when there is none.
using GapProbe = std::function<std::optional<AreaBoundaries>(double gap)>;

/// The diagnosis of a request that found no area with gap tolerance `gap`,
/// from the open face its last search saw:
///  - the smallest of the sizes of `open.bridges` above `gap` with which
///    `probe` finds an area, and the gaps that area is bridged over. The
///    sizes are bisected: a larger tolerance lays the same bridges and
///    more, and a bridge more never opens a closed area;
///  - else the free ends in the click's face nearest to the click;
///  - else the click on a graphic, or no boundary around the click.
PickDiagnosis DiagnoseNoArea(const OpenFace& open, Point2 click, double gap, const GapProbe& probe);

/// The bridges as the diagnosis reports them.
std::vector<PickGap> PickGaps(const std::vector<GapBridge>& bridges);

}  // namespace pphatch
