// Gathering the graphics along a chain through small view windows.
#include "scan/along_contour.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

#include "component/errors.h"
#include "driver/view_convert.h"
#include "geometry/tolerance.h"
#include "scan/candidate_scan.h"
#include "scan/graphic_reads.h"
#include "scan/workplane_compare.h"

namespace pphatch {
namespace {

// Windows are measured against L = view height / 15: runs of short edges are
// grouped into windows of about L per side (at most 1.1 L), longer edges get
// windows of their own or are cut into pieces.
constexpr double kWindowLimitDivisor = 15;
constexpr double kGroupOvershoot = 1.1;
// Each window is widened by view height / 25 on every side, in view units.
constexpr double kWindowMarginDivisor = 25;
// A window across a horizontal or vertical edge is at least this many
// GeomTolerances wide on each side of the edge.
constexpr double kThinEdgeHalfWidth = 10;

// A window in drawing coordinates.
struct Box {
  double left, bottom, right, top;
  double Width() const { return right - left; }
  double Height() const { return top - bottom; }
};

// The bounding box of two points.
Box BoxOf(double x0, double y0, double x1, double y1) {
  return Box{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

// The box grown to take in (x, y).
Box Grown(const Box& b, double x, double y) {
  return Box{std::min(b.left, x), std::min(b.bottom, y), std::max(b.right, x), std::max(b.top, y)};
}

// The identifier list being filled, with a hash set beside it for the
// duplicate test; the list keeps the order in which graphics were first seen.
class IdList {
 public:
  IdList(std::vector<int>& ids, int& count) : ids_(ids), count_(count) {
    ids_.resize(static_cast<size_t>(std::max(count_, 0)));
    seen_.insert(ids_.begin(), ids_.end());
  }

  // Appends id unless it is listed already.
  void AddUnique(int id) {
    if (!seen_.insert(id).second) return;
    ids_.push_back(id);
    count_ = static_cast<int>(ids_.size());
  }

 private:
  std::vector<int>& ids_;
  int& count_;
  std::unordered_set<int> seen_;
};

// Picks the window, widened in view coordinates, and lists the candidates
// among its graphics. The pick and everything before the first graphic's
// workplane put or IgnoreFlag read raise; after that failures are skipped.
void CollectInWindow(ObjectState& state, const Box& window, IdList& list) {
  // A long chain in a narrow view needs a great many windows; the request's
  // budget ends the collection (and with it the search) like any other loop.
  if (BudgetExceeded(state)) throw ComputeError("the request's time budget is spent");
  const HostViewPtr view = Must(Module().View);
  const double margin = view->ViewHeight() / kWindowMarginDivisor;
  const HostPoint3 a = WorldToView(window.left, window.bottom, 0);
  const HostPoint3 b = WorldToView(window.right, window.top, 0);
  const HostPickResultPtr picks =
      view->PickWindow(std::min(a.x, b.x) - margin, std::min(a.y, b.y) - margin,
                       std::max(a.x, b.x) + margin, std::max(a.y, b.y) + margin);
  ErrorMode mode;
  const int hits = Must(picks)->Count();
  for (int k = 0; k < hits; ++k) {
    HostGraphicPtr g;
    mode([&] { g = Must(picks->Item(k))->Graphic(); });
    if (!g) continue;
    if (!PassesWorkplaneStep(state, g, mode)) continue;
    std::string type;
    mode([&] { type = g->Type(); });
    if (IsExcludedTypeName(type)) continue;
    std::string info;
    mode([&] { info = g->InfoText(); });
    if (info == "Hatch") continue;
    mode.Enter();
    if (ReadOr(false, [&] { return g->IgnoreFlag(); })) continue;
    int id = 0;
    if (!Attempt([&] { id = g->ID(); })) continue;  // no identifier, nothing to list
    list.AddUnique(id);
  }
}

// Number of pieces a long edge is cut into: one more than the whole window
// limits its smaller extent spans.
int PieceCount(double dx, double dy, double limit) {
  const double k =
      std::min(std::floor(CheckedDivide(dx, limit)), std::floor(CheckedDivide(dy, limit))) + 1;
  if (k > std::numeric_limits<int>::max()) throw ComputeError("overflow");
  return std::max(1, static_cast<int>(k));
}

}  // namespace

// Covers the chain's edges with windows and lists the graphics they hold.
void CollectGraphicsAlongContour(ObjectState& state, const CurveRecord& chain,
                                 std::vector<int>& ids, int& count) {
  count = 0;
  IdList list(ids, count);
  const double limit = Must(Module().View)->ViewHeight() / kWindowLimitDivisor;
  const double tol = GeomTolerance();
  const int n = static_cast<int>(std::min<size_t>(
      {static_cast<size_t>(std::max(chain.PointCount, 0)), chain.X.size(), chain.Y.size()}));
  const auto& X = chain.X;
  const auto& Y = chain.Y;

  int i = 0;
  while (i < n - 1) {
    const double x0 = X[i], y0 = Y[i], x1 = X[i + 1], y1 = Y[i + 1];
    const double dx = std::fabs(x1 - x0);
    const double dy = std::fabs(y1 - y0);
    if (std::sqrt(dx * dx + dy * dy) < tol) {
      ++i;  // a zero-length edge is passed over
      continue;
    }
    if (dx < limit && dy < limit) {
      // Short edges: one window for a run of them. The box grows point by
      // point until it reaches L; the point that takes it there stays in
      // the group if the box is then at most 1.1 L, else it is left to the
      // next group. The next group starts at this group's last point.
      Box box = BoxOf(x0, y0, x1, y1);
      int last = i + 1;
      for (int j = i + 2; j < n; ++j) {
        const Box grown = Grown(box, X[j], Y[j]);
        if (grown.Width() < limit && grown.Height() < limit) {
          box = grown;
          last = j;
          continue;
        }
        if (grown.Width() <= kGroupOvershoot * limit && grown.Height() <= kGroupOvershoot * limit) {
          box = grown;
          last = j;
        }
        break;
      }
      CollectInWindow(state, box, list);
      i = last;
      continue;
    }
    if (dx >= limit && dy >= limit) {
      // Long edge (an extent of exactly L counts as long): cut into k pieces.
      const int k = PieceCount(dx, dy, limit);
      for (int p = 0; p < k; ++p) {
        const double s = static_cast<double>(p) / k;
        const double t = static_cast<double>(p + 1) / k;
        CollectInWindow(
            state,
            BoxOf(x0 + (x1 - x0) * s, y0 + (y1 - y0) * s, x0 + (x1 - x0) * t, y0 + (y1 - y0) * t),
            list);
      }
      ++i;
      continue;
    }
    // Thin edge: one extent below L, the other at least L. A window that
    // would be flatter than 10 GeomTolerance is widened around the edge's start.
    Box box = BoxOf(x0, y0, x1, y1);
    const double half = kThinEdgeHalfWidth * tol;
    if (box.Width() < half) {
      box.left = x0 - half;
      box.right = x0 + half;
    }
    if (box.Height() < half) {
      box.bottom = y0 - half;
      box.top = y0 + half;
    }
    CollectInWindow(state, box, list);
    ++i;
  }
}

// The candidates in one window, appended to ids[0..count-1].
void CollectIdsInWindow(ObjectState& state, double x1, double y1, double x2, double y2,
                        std::vector<int>& ids, int& count) {
  IdList list(ids, count);
  CollectInWindow(state, BoxOf(x1, y1, x2, y2), list);
}

}  // namespace pphatch
