// Micro-benchmarks of picks that find no area: the 100k floor plan with a
// gap punched into a wall of each clicked room, picked without a gap
// tolerance (the pick fails and diagnoses the gap) and with one just wider
// than the gaps (the pick finds the room).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <any>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "bench/drawings.h"
#include "bench/pphatch_run.h"
#include "memhost/view_setup.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch::bench {
namespace {

constexpr std::size_t kPieces = 100000;
constexpr std::uint32_t kSeed = 1;
constexpr int kClicks = 64;
constexpr double kGap = 0.01;

struct GappedScene {
  Plan plan;
  std::shared_ptr<mem::MemDrawing> drawing;
};

const GappedScene& GappedPlan() {
  static const GappedScene scene = [] {
    Plan plan = PunchGaps(MakeFloorPlan(kPieces, kSeed, kClicks), kGap);
    auto drawing = BuildDrawing(plan);
    return GappedScene{std::move(plan), std::move(drawing)};
  }();
  return scene;
}

// The 95th percentile; 0 for no values.
double P95(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(0.95 * static_cast<double>(values.size() - 1) + 0.5)];
}

// True when the diagnosis closes the pick at the punched gaps' size, over
// gaps of that size lying in the clicked room (6 x 5 units; two clicks in
// one room punch two gaps into it).
bool NamesTheRoomsGap(const PickDiagnosis& d, Vec2 click) {
  if (std::fabs(d.closesAt - kGap) > 1e-9 || d.gaps.empty()) return false;
  return std::all_of(d.gaps.begin(), d.gaps.end(), [&](const PickGap& g) {
    return std::fabs(g.fromX - click.x) < 6 && std::fabs(g.fromY - click.y) < 5 &&
           std::fabs(g.size - kGap) < 1e-9;
  });
}

// Each click with the gap tolerance, timed per request; the counters tell
// how many clicks failed and how many of those named their room's gap.
// `reach`: the largest tolerance the diagnosis tries; 0 for its default.
void PickGapped(benchmark::State& state, double gap, double reach = 0) {
  const GappedScene& scene = GappedPlan();
  auto view = std::make_shared<mem::MemView>(scene.drawing);
  SetBeepHandler([] {});
  PickPointHatch hatch;
  hatch.Init(view);
  hatch.SetGapTolerance(gap);
  hatch.SetDiagnosisReach(reach);
  std::size_t i = 0, failed = 0, diagnosed = 0, picks = 0;
  std::vector<double> found, open;  // milliseconds of the picks that found an area, and of the others
  for (auto _ : state) {
    state.PauseTiming();
    const Vec2 click = scene.plan.clicks[i];
    mem::ShowAroundClick(*view, click);
    const HostPoint3 v = view->WorldToView(click.x, click.y, 0);
    HostGraphicPtr result;
    std::string error;
    std::any reserved;
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    const bool ok = hatch.CreateClosedContour(v.x, v.y, result, error, reserved);
    const auto stop = std::chrono::steady_clock::now();
    state.PauseTiming();
    ++picks;
    if (!ok) ++failed;
    (ok ? found : open).push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    if (!ok && NamesTheRoomsGap(hatch.Diagnosis(), click)) ++diagnosed;
    i = (i + 1) % scene.plan.clicks.size();
    state.ResumeTiming();
  }
  state.counters["failed"] = static_cast<double>(failed) / static_cast<double>(picks);
  state.counters["diagnosed"] = static_cast<double>(diagnosed) / static_cast<double>(picks);
  state.counters["failed_p95_ms"] = P95(open);
  state.counters["found_p95_ms"] = P95(found);
  SetBeepHandler(nullptr);
}

// Without a tolerance: each pick fails and finds the gap that closes it.
void BM_FailedPickWithDiagnosis(benchmark::State& state) { PickGapped(state, 0); }
BENCHMARK(BM_FailedPickWithDiagnosis)->Unit(benchmark::kMillisecond)->Iterations(kClicks);

// The same failed picks with a diagnosis that tries no tolerance: what the
// failure costs by itself.
void BM_FailedPickAlone(benchmark::State& state) { PickGapped(state, 0, 1e-12); }
BENCHMARK(BM_FailedPickAlone)->Unit(benchmark::kMillisecond)->Iterations(kClicks);

// With a tolerance just wider than the gaps: each pick finds its room.
void BM_PickBridgingTheGap(benchmark::State& state) { PickGapped(state, 1.5 * kGap); }
BENCHMARK(BM_PickBridgingTheGap)->Unit(benchmark::kMillisecond)->Iterations(kClicks);

}  // namespace
}  // namespace pphatch::bench
