#include "contour/march.h"

#include <cmath>
#include <vector>

#include "contour/candidates.h"
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

// The view's left limit, moved further left to the drawing's lower-left
// corner when that lies outside the view.
double LeftLimit() {
  ModuleState& module = Module();
  double left = RequireObject(module.View)->ViewLeft();
  HostVertexPtr corner =
      RequireObject(RequireObject(RequireObject(module.DrawingGraphics)->CalcBoundingBox())->Min());
  const HostPoint3 cornerView = WorldToView(corner->X(), corner->Y(), corner->Z());
  if (cornerView.x < left) left = cornerView.x;
  return left;
}

// The tolerance for a view of width w (view units): finer for narrow views.
double ToleranceForViewWidth(double w) {
  if (w < 0.001) return 1e-8;
  if (w < 0.01) return 1e-7;
  return 1e-6;
}

}  // namespace

std::optional<double> CrossingLeftOf(Point2 a, Point2 b, double x0, double y0) {
  const double e = GeomTolerance();
  if ((a.y > y0 && b.y > y0) || (a.y < y0 && b.y < y0)) return std::nullopt;
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

  const double left = LeftLimit();
  const double width = view->ViewWidth();

  // The reference point: the pick point in drawing coordinates, and the
  // image (ax, ay) in the view of one drawing unit along the drawing's x
  // axis, which the march follows.
  const HostPoint3 world = ViewToWorld(px, py, 0);
  const HostPoint3 image = WorldToView(world.x + 1, world.y, world.z);
  double ax = image.x - px;
  const double ay = image.y - py;
  double wz = world.z;
  if (std::fabs(ax) < 1e-5) ax = 1;
  if (std::fabs(ay) < 1e-5) wz = 0;
  search.X0 = world.x + TolerantSign(ay) * wz;
  search.Y0 = world.y + TolerantSign(ax) * wz;

  const double rayStep = (px - left) / 1000;
  GeomTolerance() = ToleranceForViewWidth(width);
  search.closeTolerance = GeomTolerance();

  double best = kFirstPassBest;
  for (;;) {
    const double end = ax > 0 ? left : left + width;
    const int sense = TolerantSign(ax);
    const double step = -sense * rayStep;

    fills.Restore();
    double aperture = rayStep;
    fills.Suspend(view->PickPoint(px, py, aperture, kMarchPickFlags));

    // A march that cannot move towards its end (a pick point outside the
    // view) has no positions to visit.
    bool met = false;
    double v = px - sense * rayStep - sense * 100 * GeomTolerance();
    if (sense * rayStep > 0) {
      for (; sense > 0 ? v >= end : v <= end; v += step) {
        if (BudgetExceeded(state)) return std::nullopt;
        const double vy = (v - px) * ay / ax + py;
        aperture = rayStep;
        module.WindowHits = RequireObject(view->PickPoint(v, vy, aperture, kMarchPickFlags));
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
    if (hit) return hit;
    // Graphics were met but none crosses the line on the left: march again
    // from one step beyond them.
    px = v - rayStep;
    best = kLaterPassBest;
  }
}

}  // namespace pphatch
