// The request: from the clicked view point to the boundary graphic.
#include <cmath>
#include <algorithm>
#include <exception>
#include <vector>

#include "component/beep.h"
#include "component/errors.h"
#include "component/state.h"
#include "contour/search.h"
#include "curves/circle_contacts.h"
#include "curves/extract.h"
#include "curves/trace.h"
#include "driver/contour_tests.h"
#include "driver/leftward.h"
#include "driver/result_graphic.h"
#include "driver/view_convert.h"
#include "geometry/incidence.h"
#include "geometry/tolerance.h"
#include "pphatch/pick_point_hatch.h"
#include "scan/candidate_scan.h"

namespace pphatch {
namespace {

/// Contours a request may file: entries 0 .. 500.
constexpr int kMaxContours = 501;

/// The message of a request that finds no area.
constexpr int kNoAreaMessage = 107;

/// A loop needs four points (three corners and the closing repeat) to
/// enclose anything.
constexpr int kMinAreaPoints = 4;

/// Thrown inside the request when it gives up; turned into the failure exit.
struct GiveUp {};

/// The contours found so far and which of them is the outer one.
struct ContourList {
  std::vector<CurveRecord> items = std::vector<CurveRecord>(kMaxContours);
  int last = -1;           ///< index of the last filed contour
  int externalIndex = -1;  ///< index of the "External" contour

  /// Files a copy of the chain; a 502nd contour is a run-time error.
  CurveRecord& File(const CurveRecord& chain) {
    if (last + 1 >= kMaxContours) throw ComputeError("too many contours");
    items[++last] = chain;
    return items[last];
  }
};

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

/// Moves the pick point to the first free place left of an island that
/// does not hold the click point.
void StepLeftOfIsland(const ObjectState& state, const CurveRecord& island, Point2 click, double& px,
                      double& py) {
  ModuleState& module = Module();
  const double xl = LeftmostCrossing(island, click.x, click.y);
  const HostPoint3 v = WorldToView(xl, click.y, 0);
  const LeftwardDirection leftward = LeftwardDirection::AtDrawingPoint(xl, click.y);
  const double limit = leftward.Limit(click.y);
  const double step = module.View->ViewWidth() / 1000;
  // A view without width gives no step to scan with; the scan could not move.
  if (!(step > 0) || !std::isfinite(step)) throw GiveUp{};
  Point2 p{v.x, v.y};
  if (leftward.Beyond(p, limit)) throw GiveUp{};
  // Scan left until nothing lies under the position, or past the limit.
  while (!leftward.Beyond(p, limit)) {
    // A narrow view over a wide drawing makes this scan long; it shares the
    // request's budget like every other loop of the request.
    if (BudgetExceeded(state)) throw GiveUp{};
    double aperture = step;
    if (module.View->PickPoint(p.x, p.y, aperture)->Count() == 0) break;
    p = leftward.Step(p, step);
  }
  p = leftward.Step(p, 2 * step);
  px = p.x;
  py = p.y;
}

/// Moves the pick point left of a loop that only retraces itself.
void StepLeftOfDegenerateLoop(Point2 click, double& px, double& py) {
  ModuleState& module = Module();
  const double e = GeomTolerance();
  const double xl = LeftmostCrossing(module.WorkContour, click.x, click.y) - 1000 * e;
  const HostPoint3 v = WorldToView(xl, click.y, 0);
  const LeftwardDirection leftward = LeftwardDirection::AtDrawingPoint(xl, click.y);
  const Point2 next = leftward.Step({v.x, v.y}, module.View->ViewWidth() / 500);
  // Starting again no further left than the last search started would find
  // the same loop until the budget runs out; give up at once instead.
  if (!leftward.Beyond(next, leftward.Progress({px, py}))) throw GiveUp{};
  px = next.x;
  py = next.y;
}

/// Phase 1: searches until a loop holds the click point; loops beside it
/// are filed as islands on the way.
void FindExternalContour(ObjectState& state, Point2 click, double px, double py,
                         ContourList& contours) {
  ModuleState& module = Module();
  for (;;) {
    if (!SearchClosedContour(state, px, py)) throw GiveUp{};
    if (!IsAreaContour(module.WorkContour)) {
      if (BudgetExceeded(state)) throw GiveUp{};
      StepLeftOfDegenerateLoop(click, px, py);
      continue;
    }
    CurveRecord& loop = contours.File(module.WorkContour);
    if (PointInContour(loop, click.x, click.y) == 1) {
      loop.Kind = "External";
      contours.externalIndex = contours.last;
      return;
    }
    loop.Kind = "Internal";
    StepLeftOfIsland(state, loop, click, px, py);
  }
}

/// True when every point of the chain lies strictly inside the outer
/// boundary and outside (or on) every island found so far.
bool IsIslandCandidate(const CurveRecord& chain, const ContourList& contours) {
  const CurveRecord& outer = contours.items[contours.externalIndex];
  for (int j = 0; j < chain.PointCount; ++j) {
    const double x = chain.X[j], y = chain.Y[j];
    if (PointStrictlyInContour(outer, x, y) == 0) return false;
    for (int k = 0; k <= contours.last; ++k) {
      if (k != contours.externalIndex && PointInContour(contours.items[k], x, y) == 1) return false;
    }
  }
  return true;
}

/// The chains of the graphics in a window around the outer boundary that
/// may be islands, with their circle contacts refined.
std::vector<CurveRecord> CollectIslandChains(ObjectState& state, const ContourList& contours) {
  ModuleState& module = Module();
  const double e = GeomTolerance();
  const CurveRecord& outer = contours.items[contours.externalIndex];
  double xmin = 1e8, xmax = -1e8, ymin = 1e8, ymax = -1e8;
  for (int j = 0; j < outer.PointCount; ++j) {
    if (outer.X[j] > xmax) xmax = outer.X[j];
    if (outer.X[j] < xmin) xmin = outer.X[j];
    if (outer.Y[j] > ymax) ymax = outer.Y[j];
    if (outer.Y[j] < ymin) ymin = outer.Y[j];
  }
  const HostPoint3 a = WorldToView(xmax + 10 * e, ymax + 10 * e, 0);
  const HostPoint3 b = WorldToView(xmin - 10 * e, ymin - 10 * e, 0);
  module.WindowHits = module.View->PickWindow(b.x, b.y, a.x, a.y);
  std::vector<CurveRecord> islands;
  if (module.WindowHits->Count() < 1) return islands;

  const HostGraphicSetPtr set = module.Drawing->GraphicSets()->Add();
  ScanPickedGraphics(state, module.WindowHits, set);
  const int m = set->Count();
  islands.reserve(m);
  for (int i = 0; i < m; ++i) {
    module.CurrentGraphic = set->Item(i);
    // A graphic whose chain cannot be read leaves the record holding an
    // earlier chain; it must not be filed as an island.
    if (!ExtractCurve(module.CurrentGraphic, module.WorkContour)) continue;
    if (!IsIslandCandidate(module.WorkContour, contours)) continue;
    islands.push_back(module.WorkContour);
    islands.back().Used = false;
  }
  RefineCircleContacts(islands, static_cast<int>(islands.size()));
  set->Clear();
  return islands;
}

/// The unused island chain reaching farthest right, or -1 when none is left.
int NextIslandToTrace(const std::vector<CurveRecord>& islands, double xmax) {
  const double e = GeomTolerance();
  double best = 1e7;
  int chosen = -1;
  for (int i = 0; i < static_cast<int>(islands.size()); ++i) {
    const CurveRecord& island = islands[i];
    if (island.Used) continue;
    if (island.PointCount == 2 && std::fabs(island.Y[0] - island.Y[1]) < e) continue;
    const double d = xmax - island.MaxX;
    if (d < best) {
      best = d;
      chosen = i;
    }
  }
  return best > 1e6 ? -1 : chosen;
}

/// Phase 2: traces the outline of every island inside the outer boundary.
void TraceIslands(ObjectState& state, ContourList& contours) {
  std::vector<CurveRecord> islands = CollectIslandChains(state, contours);
  if (islands.empty()) return;
  const double e = GeomTolerance();
  double xmax = -1e8;
  const CurveRecord& outer = contours.items[contours.externalIndex];
  for (int j = 0; j < outer.PointCount; ++j) xmax = std::max(xmax, outer.X[j]);
  const int lastIsland = static_cast<int>(islands.size()) - 1;

  for (int chosen; (chosen = NextIslandToTrace(islands, xmax)) >= 0;) {
    const CurveRecord& island = islands[chosen];
    const double sx = island.MaxX + 1000 * e;
    const double sy = (island.MaxY + island.MinY) / 2 + 100 * e;
    CurveRecord traced;
    if (!TraceContour(islands, lastIsland, sx, sy, traced)) return;
    CurveRecord& filed = contours.File(traced);
    filed.Kind = "Internal";
    bool marked = false;
    for (CurveRecord& other : islands) {
      if (!other.Used && other.PointCount > 0 &&
          PointInContour(filed, other.X[0], other.Y[0]) == 1) {
        other.Used = true;
        marked = true;
      }
    }
    // A pass that accounted for no chain would repeat the same trace until
    // the contour table overflows; its chosen chain counts as done.
    if (!marked) islands[chosen].Used = true;
  }
}

/// Drops inner contours that no longer enclose anything after spike
/// removal; fails when the outer boundary itself encloses nothing or no
/// longer holds the click.
void DropEmptyContours(ContourList& contours, Point2 click) {
  const CurveRecord& outer = contours.items[contours.externalIndex];
  if (outer.PointCount < kMinAreaPoints) throw GiveUp{};
  // A click on a line that only hung off the loop as a spike lies outside
  // what is left once the spike is cut away: there is no area to hatch.
  if (PointInContour(outer, click.x, click.y) != 1) throw GiveUp{};
  int kept = -1;
  for (int i = 0; i <= contours.last; ++i) {
    if (i != contours.externalIndex && contours.items[i].PointCount < kMinAreaPoints) continue;
    if (i == contours.externalIndex) contours.externalIndex = kept + 1;
    if (++kept != i) contours.items[kept] = std::move(contours.items[i]);
  }
  contours.last = kept;
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
    ContourList contours;
    const Point2 click = ClickPointInDrawing(xView, yView);
    FindExternalContour(state, click, xView, yView, contours);
    TraceIslands(state, contours);

    RemoveSpikes(contours.items, contours.last);
    DropEmptyContours(contours, click);
    OrderContours(contours.externalIndex, contours.items, contours.last);
    resultGraphic = BuildResultGraphic(state, contours.items, contours.last);
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
