// The diagnosis of a failed pick, with probes that stand in for searches
// with a gap tolerance: the smallest closing size by bisection, few probes,
// and the free ends nearest the click when nothing closes.
#include "driver/open_diagnosis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace pphatch {
namespace {

// Bridges of the given sizes along the x axis, shortest first.
OpenFace FaceWithBridges(const std::vector<double>& sizes) {
  OpenFace open;
  open.searched = true;
  for (const double s : sizes) open.bridges.push_back({{s, 0}, {0, 0}, s});
  return open;
}

// A probe that finds an area from `closing` on, bridged over one gap of the
// probed size, and counts its calls.
struct CountingProbe {
  double closing;
  int calls = 0;
  GapProbe Probe() {
    return [this](double gap) -> std::optional<AreaBoundaries> {
      ++calls;
      if (gap < closing) return std::nullopt;
      AreaBoundaries area;
      area.bridged.push_back({{1, 1}, {1, 1 + gap}, gap});
      return area;
    };
  }
};

TEST(OpenDiagnosis, BisectsTheBridgeSizesForTheSmallestThatCloses) {
  struct Case {
    const char* name;
    std::vector<double> sizes;
    double gap;       // the tolerance the pick failed with
    double closing;   // probes succeed from this size on
    double expected;  // closesAt; 0: nothing closes
    int maxProbes;
  };
  const std::vector<Case> cases = {
      {"the third of eight", {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8}, 0, 0.3, 0.3, 4},
      {"the first", {0.1, 0.2, 0.3}, 0, 0.05, 0.1, 3},
      {"none", {0.1, 0.2, 0.3}, 0, 1, 0, 1},
      {"sizes up to the failed tolerance are not tried", {0.1, 0.2, 0.3}, 0.2, 0.1, 0.3, 1},
      {"sizes a rounding apart are one", {0.1, 0.1 * (1 + 1e-12), 0.2}, 0, 0.1 * (1 + 1e-12), 0.1 * (1 + 1e-12), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CountingProbe probe{c.closing};
    const PickDiagnosis d = DiagnoseNoArea(FaceWithBridges(c.sizes), {0, 0}, c.gap, probe.Probe());
    EXPECT_DOUBLE_EQ(d.closesAt, c.expected);
    EXPECT_LE(probe.calls, c.maxProbes);
    if (c.expected > 0) {
      ASSERT_EQ(d.gaps.size(), 1u);
      EXPECT_DOUBLE_EQ(d.gaps[0].size, c.expected);
    }
  }
}

TEST(OpenDiagnosis, NamesTheFreeEndsNearestTheClickWhenNothingCloses) {
  OpenFace open;
  open.searched = true;
  for (int k = 12; k >= 1; --k) open.freeEnds.push_back({static_cast<double>(k), 0});
  CountingProbe never{INFINITY};
  const PickDiagnosis d = DiagnoseNoArea(open, {0, 0}, 0, never.Probe());
  EXPECT_EQ(d.cause, PickDiagnosis::Cause::kOpen);
  EXPECT_EQ(d.closesAt, 0);
  ASSERT_EQ(d.freeEnds.size(), 8u);
  for (size_t k = 0; k < d.freeEnds.size(); ++k) EXPECT_EQ(d.freeEnds[k][0], k + 1.0);
  EXPECT_EQ(never.calls, 0);  // no bridge to try

  OpenFace onLine;
  onLine.clickOnGraphic = onLine.searched = true;
  EXPECT_EQ(DiagnoseNoArea(onLine, {0, 0}, 0, never.Probe()).cause, PickDiagnosis::Cause::kOnBoundary);
  onLine.clickOnGraphic = false;
  EXPECT_EQ(DiagnoseNoArea(onLine, {0, 0}, 0, never.Probe()).cause, PickDiagnosis::Cause::kNotEnclosed);
}

}  // namespace
}  // namespace pphatch
