// Collecting, from host graphics, the plain chain graphics that can bound an area.
#pragma once

#include <vector>

#include "component/state.h"
#include "pphatch/host.h"

namespace pphatch {

/// The type names of graphics that never bound an area, in test order.
bool IsExcludedTypeName(const std::string& type);

/// Scans every picked graphic into the set.
bool ScanPickedGraphics(ObjectState& state, const HostPickResultPtr& picks,
                        const HostGraphicSetPtr& set);

/// Scans the graphics with identifiers ids[0..count-1] into the set.
bool ScanGraphicsById(ObjectState& state, const std::vector<int>& ids, int count,
                      const HostGraphicSetPtr& set);

/// Scans one graphic (a member of a group or drafting object) into the set.
bool ScanGraphic(ObjectState& state, const HostGraphicPtr& graphic, const HostGraphicSetPtr& set);

/// True for a part of an exploded insert that can go into the set as it is.
bool IsSimpleBoundaryGraphic(const HostGraphicPtr& graphic);

}  // namespace pphatch
