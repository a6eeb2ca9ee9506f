// Clean-up of the found contours and the container graphic handed to the host.
#include "driver/result_graphic.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "component/continue_on_error.h"
#include "component/errors.h"
#include "curves/chain_points.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Raises ComputeError unless contours 0..last exist and hold their points.
void RequireContours(const std::vector<CurveRecord>& contours, int last) {
  if (last >= 0 && static_cast<std::size_t>(last) >= contours.size()) {
    throw ComputeError("contour index beyond the list");
  }
  for (int r = 0; r <= last; ++r) RequireChainPoints(contours[r]);
}

// True when points i and j of the chain coincide.
bool SamePoint(const CurveRecord& c, int i, int j) {
  return PointsCoincide(c.X[i], c.Y[i], c.X[j], c.Y[j]);
}

// Index of the point `offset` steps from point i along the closed chain of
// n points, whose point n - 1 repeats point 0: stepping on from point n - 1
// goes on at point 1, stepping back from point 0 at point n - 2.
int AroundChain(int i, int offset, int n) {
  const int ring = n - 1;
  const int k = ((i + offset) % ring + ring) % ring;
  // Point n - 1 stays itself when reached from before the seam.
  return (k == 0 && i + offset > 0) ? n - 1 : k;
}

// The points of one closed chain (n points, the last repeating the first)
// that belong to stretches running out and back. Every spike tip found is
// widened pair by pair while the points on both sides of it still match;
// one copy of the spike's base point stays. The widening goes on across the
// chain's seam, so that a spike next to the first or last point keeps its
// base too. Marks of different tips add up; all comparisons read the
// unchanged chain.
std::vector<bool> SpikePoints(const CurveRecord& c) {
  const int n = c.PointCount;
  std::vector<bool> dropped(static_cast<std::size_t>(n) + 1, false);
  // A chain out to one point and back has no area left at all.
  if (n == 3) {
    std::fill(dropped.begin(), dropped.end(), true);
    return dropped;
  }
  for (int i = 0; i <= n - 2; ++i) {
    // P(prev - 1) is the point before P(i) along the closed chain; for i = 0
    // that is P(n - 2), because P(n - 1) repeats P(0).
    const int prev = i == 0 ? n - 1 : i;
    if (!SamePoint(c, i + 1, prev - 1)) continue;
    // Points 0 and n - 1 are one place of the closed chain: dropping either
    // drops both; only the base kept below may leave one copy of it.
    const auto drop = [&dropped, n](int j) {
      dropped[j] = true;
      if (j == 0 || j == n - 1) dropped[0] = dropped[n - 1] = true;
    };
    drop(i);
    drop(i + 1);
    drop(prev - 1);
    for (int k = 2; k <= n - 1; ++k) {
      const int ahead = i == 0 ? i + k : AroundChain(i, k, n);
      const int behind = i == 0 ? prev - k : AroundChain(i, -k, n);
      if (!SamePoint(c, ahead, behind)) {
        // The retraced stretch ends here: keep its base point. A spike at the
        // chain's start moves the start to the base, kept at both ends.
        if (i > 0) {
          dropped[AroundChain(i, k - 1, n)] = false;
        } else {
          dropped[k - 1] = false;
          dropped[prev - k + 1] = false;
        }
        break;
      }
      drop(ahead);
      drop(behind);
    }
  }
  return dropped;
}

// True when some point of a coincides with some point of b. Points of b are
// looked up in order of x, so that long contours are compared in n log n;
// the x window is twice the tolerance wide on each side so that rounding
// cannot hide a candidate, and PointsCoincide decides.
bool SharePoint(const CurveRecord& a, const CurveRecord& b) {
  std::vector<int> byX(static_cast<std::size_t>(b.PointCount));
  for (int j = 0; j < b.PointCount; ++j) byX[j] = j;
  std::sort(byX.begin(), byX.end(), [&b](int p, int q) { return b.X[p] < b.X[q]; });
  const double e = GeomTolerance();
  for (int i = 0; i < a.PointCount; ++i) {
    const double lowX = CheckedFinite(a.X[i] - 2 * e);
    const double highX = CheckedFinite(a.X[i] + 2 * e);
    auto it = std::upper_bound(byX.begin(), byX.end(), lowX,
                               [&b](double x, int j) { return x < b.X[j]; });
    for (; it != byX.end() && b.X[*it] < highX; ++it) {
      if (PointsCoincide(a.X[i], a.Y[i], b.X[*it], b.Y[*it])) return true;
    }
  }
  return false;
}

}  // namespace

// Cuts every out-and-back stretch from contours 0..contourCount in place;
// each contour still ends where it starts.
void RemoveSpikes(std::vector<CurveRecord>& contours, int contourCount) {
  RequireContours(contours, contourCount);
  for (int r = 0; r <= contourCount; ++r) {
    CurveRecord& contour = contours[r];
    const std::vector<bool> dropped = SpikePoints(contour);
    int kept = 0;
    for (int i = 0; i < contour.PointCount; ++i) {
      if (dropped[i]) continue;
      contour.X[kept] = contour.X[i];
      contour.Y[kept] = contour.Y[i];
      ++kept;
    }
    contour.PointCount = kept;
    // A loop that started on a spike loses its first and last point with
    // the spike; it is closed again at the point it now starts from.
    if (kept >= 2 && !PointsCoincide(contour.X[0], contour.Y[0], contour.X[kept - 1],
                                     contour.Y[kept - 1])) {
      if (contour.X.size() <= static_cast<size_t>(kept)) {
        contour.X.resize(kept + 1);
        contour.Y.resize(kept + 1);
      }
      contour.X[kept] = contour.X[0];
      contour.Y[kept] = contour.Y[0];
      contour.PointCount = kept + 1;
    }
  }
}

// External contour first, then the others in their order, without those that
// share a point with the External one. The dropped contours follow the kept
// ones, unmarked, beyond the new count.
void OrderContours(int& externalIndex, std::vector<CurveRecord>& contours, int& contourCount) {
  if (contourCount == 0) return;
  RequireContours(contours, contourCount);
  if (externalIndex < 0 || externalIndex > contourCount) {
    throw ComputeError("external contour index beyond the list");
  }
  std::vector<CurveRecord> ordered;
  ordered.reserve(static_cast<std::size_t>(contourCount) + 1);
  ordered.push_back(std::move(contours[externalIndex]));
  for (int r = 0; r <= contourCount; ++r) {
    if (r != externalIndex) ordered.push_back(std::move(contours[r]));
  }
  for (CurveRecord& c : ordered) c.Used = true;
  for (std::size_t r = 1; r < ordered.size(); ++r) {
    if (SharePoint(ordered[r], ordered[0])) ordered[r].Used = false;
  }
  int k = 0;
  contours[0] = std::move(ordered[0]);
  for (std::size_t r = 1; r < ordered.size(); ++r) {
    if (ordered[r].Used) contours[++k] = std::move(ordered[r]);
  }
  int next = k;
  for (std::size_t r = 1; r < ordered.size(); ++r) {
    if (!ordered[r].Used) contours[++next] = std::move(ordered[r]);
  }
  externalIndex = 0;
  contourCount = k;
}

// One container outside the drawing with a closed child per contour, in the
// order of the list, every point at z = 0, the drawing's workplane applied.
// Should building fail, the container and the working set are discarded
// before the error goes on, so that nothing of it stays in the drawing.
HostGraphicPtr BuildResultGraphic(ObjectState& state, const std::vector<CurveRecord>& contours,
                                  int contourCount) {
  RequireContours(contours, contourCount);
  ModuleState& module = Module();
  if (!module.DrawingGraphics) throw HostError("no drawing graphics");
  const HostDrawingPtr drawing = module.DrawingGraphics->Drawing();
  if (!drawing) throw HostError("no drawing");
  const HostGraphicSetsPtr sets = drawing->GraphicSets();
  if (!sets) throw HostError("no graphic sets");
  const HostGraphicSetPtr set = sets->Add("LocalSet", false);
  if (!set) throw HostError("no graphic set");

  HostGraphicPtr container;
  try {
    container = set->Add(kContainerKind);
    if (!container) throw HostError("no container graphic");
    for (int r = 0; r <= contourCount; ++r) {
      const HostGraphicsPtr children = container->Graphics();
      if (!children) throw HostError("no child graphics");
      const HostGraphicPtr child = children->Add(kChainKind);
      if (!child) throw HostError("no child graphic");
      const HostVerticesPtr vertices = child->Vertices();
      if (!vertices) throw HostError("no vertices");
      const CurveRecord& contour = contours[r];
      for (int j = 0; j < contour.PointCount; ++j) vertices->Add(contour.X[j], contour.Y[j], 0);
      child->SetClosed(true);
    }
    const HostGraphicsPtr children = container->Graphics();
    if (!children) throw HostError("no child graphics");
    module.CurrentGraphic = children->Parent();
    if (!module.CurrentGraphic) throw HostError("no container graphic");
    container->Delete();
  } catch (...) {
    if (container) Attempt([&] { container->Delete(); });
    Attempt([&] { set->Clear(); });
    throw;
  }

  const HostGraphicPtr result = module.CurrentGraphic;
  Attempt([&] { result->ApplyWorkplane(state.Workplane); });
  Attempt([&] { set->Clear(); });
  return result;
}

}  // namespace pphatch
