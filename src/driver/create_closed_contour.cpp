// The request: from the clicked view point to the boundary graphic.
#include <cmath>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "area/find_area.h"
#include "component/beep.h"
#include "component/errors.h"
#include "component/state.h"
#include "area/ring_tests.h"
#include "driver/result_graphic.h"
#include "driver/view_convert.h"
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
  try {
    const Point2 click = ClickPointInDrawing(xView, yView);
    std::optional<AreaBoundaries> area = FindAreaAround(state, click);
    if (!area) throw GiveUp{};
    RequireSoundArea(*area, click);
    const std::vector<CurveRecord> contours = ResultOrder(std::move(*area));
    resultGraphic = BuildResultGraphic(state, contours, static_cast<int>(contours.size()) - 1);
    result = true;
  } catch (const GiveUp&) {
    Beep();
    errorString = MessageText(kNoAreaMessage);
  } catch (const std::exception&) {
    // A trapped run-time error: LastGraphicId stays as the failure left it.
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
