// The per-type rules of the candidate scan, shared by its entry points.
#pragma once

#include <string>

#include "component/state.h"
#include "pphatch/host.h"

namespace pphatch {

/// Which entry point a graphic is scanned for: a list form (picks or
/// identifiers) or ScanGraphic for a member of a group.
enum class ScanForm { kList, kMember };

/// Puts into the set what the rule for `type` makes of the graphic, which
/// has `childCount` children. Runs in continue-on-error mode. Members of
/// groups are scanned at nesting level depth + 1.
void CollectByType(ObjectState& state, const HostGraphicPtr& graphic, const std::string& type,
                   int childCount, const HostGraphicSetPtr& set, ScanForm form, int depth);

/// ScanGraphic of a member at nesting level `depth` (1 for a direct member);
/// beyond kMaxGroupDepth nothing is collected.
void ScanMember(ObjectState& state, const HostGraphicPtr& graphic, const HostGraphicSetPtr& set,
                int depth);

}  // namespace pphatch
