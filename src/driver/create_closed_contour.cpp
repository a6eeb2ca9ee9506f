// The request: from the clicked view point to the boundary graphic.
#include <cmath>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "area/find_area.h"
#include "area/neighbourhood.h"
#include "area/ring_tests.h"
#include "component/beep.h"
#include "component/budget_guard.h"
#include "component/state.h"
#include "component/view_convert.h"
#include "driver/open_diagnosis.h"
#include "driver/result_graphic.h"
#include "geometry/checked_math.h"
#include "geometry/incidence.h"
#include "geometry/tolerance.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch {
namespace {

/// The message of a request that finds no area.
constexpr int kNoAreaMessage = 107;

/// Thrown inside the request when it gives up; turned into the failure exit.
struct GiveUp {};

/// Clears and releases the search's candidate sets.
void ReleaseSearchSets(ObjectState& state) {
  if (state.SearchSet) state.SearchSet->Clear();
  state.SearchSet.reset();
  state.SearchSets.reset();
}

/// The clicked view point in drawing coordinates.
Point2 ClickPointInDrawing(double xView, double yView) {
  const HostPoint3 w1 = ViewToWorld(xView, yView, 0);
  const HostPoint3 v2 = WorldToView(w1.x + 1.0, w1.y, w1.z);
  double z1 = w1.z;
  if (std::fabs(v2.y - yView) < 0.001) z1 = 0;
  return {w1.x + TolerantSign(v2.y - yView) * z1, w1.y + TolerantSign(v2.x - xView) * z1};
}

/// The boundaries in the order the result graphic holds them: the outer
/// boundary first, then the islands.
std::vector<CurveRecord> ResultOrder(AreaBoundaries area) {
  std::vector<CurveRecord> contours;
  contours.reserve(area.islands.size() + 1);
  contours.push_back(std::move(area.outer));
  for (CurveRecord& island : area.islands) contours.push_back(std::move(island));
  return contours;
}

/// A success must never report a wrong area: the outer boundary must hold
/// the click and every island must lie strictly inside it. A result that
/// breaks this is not handed out.
void RequireSoundArea(const AreaBoundaries& area, Point2 click) {
  const RingLocator outer(area.outer);
  const double tolerance = GeomTolerance();
  if (outer.Side(click, tolerance) == RingSide::kOutside) throw GiveUp{};
  for (const CurveRecord& island : area.islands) {
    if (island.PointCount < 1 || outer.Side({island.X[0], island.Y[0]}, tolerance) != RingSide::kInside) {
      throw GiveUp{};
    }
  }
}

// The share of the view's height that a diagnosis tries as the largest gap
// tolerance unless the caller sets another: gaps wider than that are seen
// as gaps on the screen.
constexpr double kDiagnosisViewShare = 0.01;

// The largest gap tolerance the diagnosis of a failed request tries.
double DiagnosisReachFor(const ObjectState& state) {
  if (state.DiagnosisReach > 0) return state.DiagnosisReach;
  return kDiagnosisViewShare * Neighbourhood::ViewSpan().value_or(0);
}

// The diagnosis of a request that found no area, from the open face its
// search saw; each probe searches again with a larger gap tolerance.
PickDiagnosis Diagnose(ObjectState& state, Point2 click, const OpenFace& open) {
  if (!open.searched) {
    PickDiagnosis diagnosis;
    diagnosis.cause = PickDiagnosis::Cause::kNotEnclosed;
    return diagnosis;
  }
  const GapProbe probe = [&](double gap) {
    AreaSearchOptions options;
    options.gap = gap;
    std::optional<AreaBoundaries> area = FindAreaAround(state, click, options);
    ReleaseSearchSets(state);
    // Only an area the request would hand out closes the pick.
    try {
      if (area) RequireSoundArea(*area, click);
    } catch (const GiveUp&) {
      area.reset();
    }
    return area;
  };
  try {
    return DiagnoseNoArea(open, click, state.GapTolerance, probe);
  } catch (const BudgetSpent&) {
    // The probes ran out of time: what the failed search saw is still true.
    OpenFace seen = open;
    seen.bridges.clear();
    PickDiagnosis diagnosis = DiagnoseNoArea(seen, click, state.GapTolerance, probe);
    if (diagnosis.freeEnds.empty()) diagnosis.cause = PickDiagnosis::Cause::kBudget;
    return diagnosis;
  }
}

}  // namespace

bool PickPointHatch::CreateClosedContour(double xView, double yView, HostGraphicPtr& resultGraphic,
                                         std::string& errorString, std::any& /*reserved*/) {
  ObjectState& state = *state_;
  ModuleState& module = Module();

  // Set-up: errors here reach the caller (for example a request before Init).
  state.LastGraphicId = -1;
  if (!module.Drawing) throw HostError("no drawing is bound; call Init first");
  state.Workplane = module.Drawing->Workplane();
  state.StartTime = ClockSeconds();
  module.DrawingGraphics = module.Drawing->Graphics();

  bool result = false;
  state.Diagnosis = {};
  try {
    const Point2 click = ClickPointInDrawing(xView, yView);
    OpenFace open;
    AreaSearchOptions options;
    options.gap = state.GapTolerance;
    options.open = &open;
    options.openReach = DiagnosisReachFor(state);
    std::optional<AreaBoundaries> area = FindAreaAround(state, click, options);
    if (!area) {
      state.Diagnosis = Diagnose(state, click, open);
      throw GiveUp{};
    }
    RequireSoundArea(*area, click);
    state.Diagnosis.gaps = PickGaps(area->bridged);
    const std::vector<CurveRecord> contours = ResultOrder(std::move(*area));
    resultGraphic = BuildResultGraphic(state, contours, static_cast<int>(contours.size()) - 1);
    result = true;
  } catch (const GiveUp&) {
    // An area that broke the rules is no area, and nothing surrounds the click soundly.
    if (state.Diagnosis.cause == PickDiagnosis::Cause::kNone) {
      state.Diagnosis = {};
      state.Diagnosis.cause = PickDiagnosis::Cause::kNotEnclosed;
    }
    Beep();
    errorString = MessageText(kNoAreaMessage);
  } catch (const std::exception& e) {
    // A trapped run-time error: LastGraphicId stays as the failure left it.
    state.Diagnosis = {};
    state.Diagnosis.cause = dynamic_cast<const BudgetSpent*>(&e) ? PickDiagnosis::Cause::kBudget
                                                                  : PickDiagnosis::Cause::kError;
    Beep();
    errorString = MessageText(kNoAreaMessage);
    try {
      ReleaseSearchSets(state);
    } catch (const std::exception&) {
      state.SearchSet.reset();
      state.SearchSets.reset();
    }
    return false;
  }

  try {
    ReleaseSearchSets(state);
  } catch (const std::exception&) {
    state.SearchSet.reset();
    state.SearchSets.reset();
  }
  state.LastGraphicId = -1;
  return result;
}

}  // namespace pphatch
