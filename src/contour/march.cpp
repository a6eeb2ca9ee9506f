#include "contour/march.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "contour/candidates.h"
#include "driver/leftward.h"
#include "driver/view_convert.h"
#include "scan/candidate_scan.h"

namespace pphatch {

namespace {

// The flags the search passes to every point pick.
const PickFlags kMarchPickFlags = {true, true, true, true, true, false};

// Best distance a pass starts from: the first pass, and every later one.
constexpr double kFirstPassBest = 1e8;
constexpr double kLaterPassBest = 1e10;

// Nearest crossing of the line y = y0 left of x0 among chains 0..count-1;
// the first one met wins ties.
std::optional<RayHit> NearestCrossing(const std::vector<CurveRecord>& curves, int count, double x0,
                                      double y0, double best) {
  std::optional<RayHit> hit;
  for (int k = 0; k < count; ++k) {
    const CurveRecord& chain = curves[static_cast<size_t>(k)];
    for (int j = 0; j + 1 < chain.PointCount; ++j) {
      const std::optional<double> cx =
          CrossingLeftOf(ChainPoint(chain, j), ChainPoint(chain, j + 1), x0, y0);
      if (!cx) continue;
      const double t = x0 - *cx;
      if (t < best) {
        best = t;
        hit = RayHit{k, j, *cx};
      }
    }
  }
  return hit;
}

// The tolerance for a view of width w (view units): finer for narrow views.
double ToleranceForViewWidth(double w) {
  if (w < 0.001) return 1e-8;
  if (w < 0.01) return 1e-7;
  return 1e-6;
}

// The pick at one march position sees only what lies within the aperture;
// the chains it finds may cross the line far to the left, beyond graphics
// that no march position has picked yet (a wall met at a slant, with a
// nearer wall that the first pick missed). Every graphic in a thin window
// along the line between the crossing and the reference point is taken in
// as well, and the nearest crossing is chosen among all of them. When that
// finds nothing, the first pick's chains are restored.
std::optional<RayHit> WithGraphicsBeforeTheCrossing(SearchState& search, RayHit hit,
                                                   double rayStep, double best) {
  ModuleState& module = Module();
  ObjectState& state = search.object;
  const HostPoint3 a = WorldToView(hit.crossX, search.Y0, 0);
  const HostPoint3 b = WorldToView(search.X0, search.Y0, 0);
  const HostPickResultPtr alongLine = RequireObject(RequireObject(module.View)->PickWindow(
      std::min(a.x, b.x) - rayStep, std::min(a.y, b.y) - rayStep, std::max(a.x, b.x) + rayStep,
      std::max(a.y, b.y) + rayStep));
  state.SearchSet->Clear();
  ScanPickedGraphics(state, alongLine, state.SearchSet);
  search.chainCount = ExtractCandidates(state.SearchSet, module.Curves);
  std::optional<RayHit> nearer =
      NearestCrossing(module.Curves, search.chainCount, search.X0, search.Y0, best);
  if (nearer) return nearer;
  state.SearchSet->Clear();
  ScanPickedGraphics(state, module.WindowHits, state.SearchSet);
  search.chainCount = ExtractCandidates(state.SearchSet, module.Curves);
  return NearestCrossing(module.Curves, search.chainCount, search.X0, search.Y0, best);
}

}  // namespace

std::optional<double> CrossingLeftOf(Point2 a, Point2 b, double x0, double y0) {
  const double e = GeomTolerance();
  // A vertex within E of the line counts as on it: a sampled vertex that
  // rounding lifts 1e-15 above the line would otherwise lose the crossing
  // twice, once as "wholly above" on the segment that ends there and once as
  // the excluded start of the segment that leaves it.
  if ((a.y - y0 > e && b.y - y0 > e) || (a.y - y0 < -e && b.y - y0 < -e)) return std::nullopt;
  if (std::fabs(b.y - a.y) <= e) return std::nullopt;
  const double cx = a.x + CheckedDivide((b.x - a.x) * (y0 - a.y), b.y - a.y);
  if (PointOnSegmentExclStart(a.x, a.y, b.x, b.y, cx, y0) != 1) return std::nullopt;
  if (!(x0 - cx > 0)) return std::nullopt;
  return cx;
}

std::optional<RayHit> MarchToNearestChain(SearchState& search, SuspendedFills& fills, double& px,
                                          double& py) {
  ModuleState& module = Module();
  ObjectState& state = search.object;
  HostViewPtr view = RequireObject(module.View);

  state.SearchSets = RequireObject(RequireObject(module.Drawing)->GraphicSets());
  state.SearchSet = RequireObject(state.SearchSets->Add());

  const double width = view->ViewWidth();

  // The reference point: the pick point in drawing coordinates, and the
  // image (ax, ay) in the view of one drawing unit along the drawing's x
  // axis, which the march follows.
  const HostPoint3 world = ViewToWorld(px, py, 0);
  const HostPoint3 image = WorldToView(world.x + 1, world.y, world.z);
  const double rawAx = image.x - px;
  const double ay = image.y - py;
  const double ax = std::fabs(rawAx) < 1e-5 ? 1 : rawAx;
  double wz = world.z;
  if (std::fabs(ay) < 1e-5) wz = 0;
  search.X0 = world.x + TolerantSign(ay) * wz;
  search.Y0 = world.y + TolerantSign(ax) * wz;
  // A view that shows the drawing's x axis (nearly) upright marches along
  // its y axis; any other view along its x axis.
  const bool upright = std::fabs(rawAx) < 1e-5 && std::fabs(ay) >= 1e-5;
  const LeftwardDirection leftward(upright ? rawAx : ax, ay);

  const double limit = leftward.Limit(search.Y0);
  const double rayStep = std::fabs(leftward.Progress({px, py}) - limit) / 1000;
  GeomTolerance() = ToleranceForViewWidth(width);
  search.closeTolerance = GeomTolerance();

  double best = kFirstPassBest;
  for (;;) {
    const int sense = leftward.Sense();
    const Point2 pick{px, py};

    fills.Restore();
    double aperture = rayStep;
    fills.Suspend(view->PickPoint(px, py, aperture, kMarchPickFlags));

    // Positions one step apart along the march line, from one step (and a
    // little) beyond the pick point to the limit, inclusive. A pick point
    // at or beyond the limit has no positions to visit.
    bool met = false;
    double c = leftward.Progress(pick) - sense * rayStep - sense * 100 * GeomTolerance();
    if (rayStep > 0 && std::isfinite(rayStep)) {
      for (; !leftward.Beyond(leftward.OnLineAt(pick, c), limit); c -= sense * rayStep) {
        if (BudgetExceeded(state)) return std::nullopt;
        const Point2 v = leftward.OnLineAt(pick, c);
        aperture = rayStep;
        module.WindowHits = RequireObject(view->PickPoint(v.x, v.y, aperture, kMarchPickFlags));
        const int count = module.WindowHits->Count();
        if (count == 0) continue;
        if (count == 1) {
          // A graphic already met alone in this search is passed over.
          const int id = RequireObject(RequireObject(module.WindowHits->Item(0))->Graphic())->ID();
          if (state.LastGraphicId != -1 && id == state.LastGraphicId) continue;
          if (state.LastGraphicId == -1) state.LastGraphicId = id;
        }
        ScanPickedGraphics(state, module.WindowHits, state.SearchSet);
        if (BudgetExceeded(state)) return std::nullopt;
        if (state.SearchSet->Count() == 0) continue;
        search.chainCount = ExtractCandidates(state.SearchSet, module.Curves);
        met = true;
        break;
      }
    }
    if (!met) return std::nullopt;

    std::optional<RayHit> hit =
        NearestCrossing(module.Curves, search.chainCount, search.X0, search.Y0, best);
    if (hit) return WithGraphicsBeforeTheCrossing(search, *hit, rayStep, best);
    // Graphics were met but none crosses the line on the left: march again
    // from one step beyond them, on the same line.
    const Point2 next = leftward.OnLineAt(pick, c - sense * rayStep);
    px = next.x;
    py = next.y;
    best = kLaterPassBest;
  }
}

}  // namespace pphatch
