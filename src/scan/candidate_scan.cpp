// The candidate scan's entry points and the steps every graphic goes through
// before the per-type rules.
#include "scan/candidate_scan.h"

#include <algorithm>
#include <cmath>

#include "geometry/tolerance.h"
#include "scan/graphic_reads.h"
#include "scan/pen_split.h"
#include "scan/scan_rows.h"
#include "scan/workplane_compare.h"

namespace pphatch {
namespace {

// A region: the pen-up pieces of its boundary, which is its last child, or
// that child's last child when that one is a plain chain. For the list forms
// the copied boundary is closed (its last point put on its first); the
// region itself is never changed.
void CollectRegion(const HostGraphicPtr& g, const HostGraphicSetPtr& set, bool closeBoundary) {
  const int n = ReadOr(0, [&] { return ChildCount(g); });
  HostGraphicPtr boundary = ReadOr<HostGraphicPtr>(nullptr, [&] { return ChildAt(g, n - 1); });
  const int inner = ReadOr(0, [&] { return ChildCount(boundary); });
  if (inner >= 1) {
    const HostGraphicPtr last =
        ReadOr<HostGraphicPtr>(nullptr, [&] { return ChildAt(boundary, inner - 1); });
    if (ReadOr<std::string>("", [&] { return TypeOf(last); }) == "GRAPHIC") boundary = last;
  }
  Attempt([&] { SplitAtPenUps(boundary, set, closeBoundary); });
}

// With TileMode 1, a childless graphic with a thickness is a solid edge, not
// an outline. The list forms allow a thickness up to GeomTolerance (a missing
// or unreadable value counts as 0); members of groups must have exactly 0.
bool TooThick(const HostGraphicPtr& g, ScanForm form) {
  if (form == ScanForm::kList) {
    const double thickness = ReadOr(0.0, [&] { return PropertyNumberOf(g, "Thickness"); });
    return std::fabs(thickness) > GeomTolerance();
  }
  return ReadOr(false, [&] { return PropertyNumberOf(g, "Thickness") != 0; });
}

// The steps after the workplane step: exclusions, the region rule, the
// thickness test and the per-type rule. Type and info text are read under
// `mode`; from the IgnoreFlag on the scan continues past failures.
void ScanSteps(ObjectState& state, const HostGraphicPtr& g, const HostGraphicSetPtr& set,
               ScanForm form, ErrorMode& mode, int depth) {
  std::string type;
  mode([&] { type = TypeOf(g); });
  if (IsExcludedTypeName(type)) return;
  std::string info;
  mode([&] { info = Must(g)->InfoText(); });
  if (info == "Hatch") return;

  mode.Enter();
  if (ReadOr(false, [&] { return Must(g)->IgnoreFlag(); })) return;
  if (type == "PWW70Region") {
    CollectRegion(g, set, form == ScanForm::kList);
    return;
  }
  const int n = ReadOr(0, [&] { return ChildCount(g); });
  if (n == 0 && state.TileMode == 1 && TooThick(g, form)) return;
  CollectByType(state, g, type, n, set, form, depth);
}

// One graphic of a list form; the first one switches the call into
// continue-on-error mode. A graphic that could not be fetched is passed over.
void ScanListEntry(ObjectState& state, const HostGraphicPtr& g, const HostGraphicSetPtr& set,
                   ErrorMode& mode) {
  mode.Enter();
  if (!g) return;
  if (!PassesWorkplaneStep(state, g, mode)) return;
  ScanSteps(state, g, set, ScanForm::kList, mode, 0);
}

}  // namespace

// Exact, case-sensitive membership in ExcludedTypeNames.
bool IsExcludedTypeName(const std::string& type) {
  return std::find(ExcludedTypeNames.begin(), ExcludedTypeNames.end(), type) !=
         ExcludedTypeNames.end();
}

// Every picked graphic, in pick order.
bool ScanPickedGraphics(ObjectState& state, const HostPickResultPtr& picks,
                        const HostGraphicSetPtr& set) {
  ErrorMode mode;
  const int count = Must(picks)->Count();
  for (int i = 0; i < count; ++i) {
    HostGraphicPtr g;
    mode([&] { g = Must(picks->Item(i))->Graphic(); });
    ScanListEntry(state, g, set, mode);
  }
  return true;
}

// One graphic, as a pick would hand it over.
bool ScanPickedGraphic(ObjectState& state, const HostGraphicPtr& graphic,
                       const HostGraphicSetPtr& set) {
  ErrorMode mode;
  ScanListEntry(state, graphic, set, mode);
  return true;
}

// The drawing's graphics with the listed identifiers, in list order.
bool ScanGraphicsById(ObjectState& state, const std::vector<int>& ids, int count,
                      const HostGraphicSetPtr& set) {
  ErrorMode mode;
  for (int i = 0; i < count; ++i) {
    HostGraphicPtr g;
    mode(
        [&] { g = Must(Module().DrawingGraphics)->GraphicFromID(ids.at(static_cast<size_t>(i))); });
    ScanListEntry(state, g, set, mode);
  }
  return true;
}

// One member graphic.
bool ScanGraphic(ObjectState& state, const HostGraphicPtr& graphic, const HostGraphicSetPtr& set) {
  ScanMember(state, graphic, set, 1);
  return true;
}

// A member at nesting level `depth`, in a continue-on-error mode of its own.
void ScanMember(ObjectState& state, const HostGraphicPtr& graphic, const HostGraphicSetPtr& set,
                int depth) {
  if (depth > kMaxGroupDepth) return;
  ErrorMode mode;
  ScanSteps(state, graphic, set, ScanForm::kMember, mode, depth);
}

}  // namespace pphatch
