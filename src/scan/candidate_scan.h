// Collecting, from host graphics, the plain chain graphics that can bound an area.
//
// The scan reads each graphic's type and properties through the host and puts
// into the set: graphics that curve extraction reads as they are, copies of
// cosmetic outlines and pen-up pieces, the suitable parts of exploded
// inserts, and, for groups, what their members yield. Points, dimensions,
// solids, surfaces, hatches, flagged graphics and (with TileMode 1) thick
// graphics and graphics on a foreign workplane are left out.
//
// Continue-on-error: from the first graphic's workplane step on (the list
// forms) or from the IgnoreFlag read on (ScanGraphic), a failing host call
// is skipped and the scan goes on; every graphic starts with fresh values,
// so a failed read never carries a value over from the graphic before.
//
// The user's drawing is left as it was, except that a graphic on a parallel
// workplane at the same offset is put onto the drawing's workplane.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "component/state.h"
#include "pphatch/host.h"

namespace pphatch {

/// The type names of graphics that never bound an area, in test order.
inline constexpr std::array<std::string_view, 14> ExcludedTypeNames = {
    "PWW30POINT",   "PWW25DimLin",  "PWW25DimDat",    "PWW25DimAng", "PWW25DimRad",
    "PWW25DimDia",  "PWW25DimLead", "PWW40CUBE",      "PWW40SPHERE", "PWW40LOFT",
    "PWW40EXTRUDE", "PWW40SPIN",    "PWW60ACISSOLID", "SURFACE"};

/// Groups nested deeper than this many levels below a scanned graphic are
/// not collected, so that a pathological nesting cannot exhaust the stack.
inline constexpr int kMaxGroupDepth = 1000;

/// Inserts nested deeper than this many levels (of groups and inserts)
/// below a scanned graphic are not exploded: every level copies all that
/// lies below it. Real drawings nest blocks a few levels deep.
inline constexpr int kMaxInsertDepth = 64;

/// True when `type` is one of ExcludedTypeNames (exact, case-sensitive).
bool IsExcludedTypeName(const std::string& type);

/// Scans every picked graphic into the set, in pick order. A failure reading
/// the pick count or the first pick raises; later failures are skipped.
/// Always returns true.
bool ScanPickedGraphics(ObjectState& state, const HostPickResultPtr& picks,
                        const HostGraphicSetPtr& set);

/// Scans one graphic into the set as ScanPickedGraphics scans each pick:
/// with the workplane step, failures skipped. Always returns true.
bool ScanPickedGraphic(ObjectState& state, const HostGraphicPtr& graphic,
                       const HostGraphicSetPtr& set);

/// Scans the drawing's graphics with identifiers ids[0..count-1] into the
/// set. A failure resolving the first identifier raises; later failures
/// (including an index beyond ids) are skipped. Always returns true.
bool ScanGraphicsById(ObjectState& state, const std::vector<int>& ids, int count,
                      const HostGraphicSetPtr& set);

/// Scans one graphic (a member of a group or drafting object) into the set:
/// no workplane step, thickness must be exactly 0 (with TileMode 1), region
/// boundaries are not closed, multilines and drafting objects are not
/// collected. Failures reading the type or info text raise. Always true.
bool ScanGraphic(ObjectState& state, const HostGraphicPtr& graphic, const HostGraphicSetPtr& set);

}  // namespace pphatch
