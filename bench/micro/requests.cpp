// Micro-benchmarks of whole requests and of the in-memory host's picks, on
// the generated floor plans.
#include <benchmark/benchmark.h>

#include <any>
#include <map>
#include <memory>
#include <string>

#include "bench/drawings.h"
#include "bench/pphatch_run.h"
#include "component/state.h"
#include "area/find_area.h"
#include "memhost/view_setup.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch::bench {
namespace {

constexpr std::uint32_t kSeed = 1;
constexpr int kClicks = 64;

// A floor plan of about that many pieces and its drawing, made once per size.
struct Scene {
  Plan plan;
  std::shared_ptr<mem::MemDrawing> drawing;
};

const Scene& FloorPlan(std::size_t pieces) {
  static std::map<std::size_t, Scene> scenes;
  auto it = scenes.find(pieces);
  if (it == scenes.end()) {
    Plan plan = MakeFloorPlan(pieces, kSeed, kClicks);
    auto drawing = BuildDrawing(plan);
    it = scenes.emplace(pieces, Scene{std::move(plan), std::move(drawing)}).first;
  }
  return it->second;
}

// Whole requests, the view set up for each click, cycling through the clicks.
void BM_Request(benchmark::State& state) {
  const Scene& scene = FloorPlan(static_cast<std::size_t>(state.range(0)));
  PphatchClicker clicker(scene.drawing, ViewChoice::kAroundClick);
  clicker.Click(scene.plan.clicks.front());  // the host's index is built at the first pick
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(clicker.Click(scene.plan.clicks[i]).ok);
    i = (i + 1) % scene.plan.clicks.size();
  }
}
BENCHMARK(BM_Request)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The area search alone (windows, noding, faces) from each click of the small plan.
void BM_FindAreaAround(benchmark::State& state) {
  const Scene& scene = FloorPlan(1000);
  auto view = std::make_shared<mem::MemView>(scene.drawing);
  PickPointHatch hatch;
  hatch.Init(view);
  ObjectState& object = hatch.State();
  std::size_t i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const Vec2 click = scene.plan.clicks[i];
    mem::ShowAroundClick(*view, click);
    object.Workplane = scene.drawing->Workplane();
    object.StartTime = ClockSeconds();
    Module().DrawingGraphics = scene.drawing->Graphics();
    state.ResumeTiming();
    benchmark::DoNotOptimize(FindAreaAround(object, {click.x, click.y}));
    state.PauseTiming();
    object.SearchSet.reset();
    object.SearchSets.reset();
    state.ResumeTiming();
    i = (i + 1) % scene.plan.clicks.size();
  }
}
BENCHMARK(BM_FindAreaAround)->Unit(benchmark::kMicrosecond);

// Setting the view up for a click.
void BM_ShowAroundClick(benchmark::State& state) {
  const Scene& scene = FloorPlan(static_cast<std::size_t>(state.range(0)));
  mem::MemView view(scene.drawing);
  std::size_t i = 0;
  for (auto _ : state) {
    mem::ShowAroundClick(view, scene.plan.clicks[i]);
    i = (i + 1) % scene.plan.clicks.size();
  }
}
BENCHMARK(BM_ShowAroundClick)->Arg(1000)->Arg(100000);

// A point pick of the march: a small aperture near a wall.
void BM_HostPickPoint(benchmark::State& state) {
  const Scene& scene = FloorPlan(static_cast<std::size_t>(state.range(0)));
  mem::MemView view(scene.drawing);
  std::size_t i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const Vec2 click = scene.plan.clicks[i];
    mem::ShowAroundClick(view, click);
    const Vec2 v = view.ToView(click);
    double aperture = 1;
    state.ResumeTiming();
    benchmark::DoNotOptimize(view.PickPoint(v.x - 10, v.y, aperture)->Count());
    i = (i + 1) % scene.plan.clicks.size();
  }
}
BENCHMARK(BM_HostPickPoint)->Arg(1000)->Arg(100000);

// A window pick the size of those taken along a boundary.
void BM_HostPickWindow(benchmark::State& state) {
  const Scene& scene = FloorPlan(static_cast<std::size_t>(state.range(0)));
  mem::MemView view(scene.drawing);
  std::size_t i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const Vec2 click = scene.plan.clicks[i];
    mem::ShowAroundClick(view, click);
    const Vec2 v = view.ToView(click);
    const double side = view.Height() / 15 + 2 * view.Height() / 25;
    state.ResumeTiming();
    benchmark::DoNotOptimize(view.PickWindow(v.x - side, v.y, v.x, v.y + side)->Count());
    i = (i + 1) % scene.plan.clicks.size();
  }
}
BENCHMARK(BM_HostPickWindow)->Arg(1000)->Arg(100000);

}  // namespace
}  // namespace pphatch::bench
