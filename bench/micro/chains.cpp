// Micro-benchmarks of the chain work of one request: extraction, noding and
// rings, the point locator and circle contact refinement.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "curves/circle_contacts.h"
#include "curves/extract.h"
#include "area/noding.h"
#include "area/planar_graph.h"
#include "area/ring_tests.h"
#include "geometry/tolerance.h"
#include "memhost/builders.h"

namespace pphatch::bench {
namespace {

using mem::Vec2;

// A closed polygon of n corners round the unit circle, as a chain.
std::vector<Vec2> RoundPolygon(int n, double radius) {
  std::vector<Vec2> corners;
  for (int i = 0; i < n; ++i) {
    const double t = 2 * 3.141592653589793 * i / n;
    corners.push_back({radius * std::cos(t), radius * std::sin(t)});
  }
  return corners;
}

// The record of one graphic.
CurveRecord Extracted(const mem::GraphicPtr& g) {
  CurveRecord record;
  ExtractCurve(g, record);
  return record;
}

void BM_ExtractCircle(benchmark::State& state) {
  GeomTolerance() = 1e-6;
  const auto drawing = mem::MemDrawing::Create();
  const auto circle = mem::AddCircle(drawing, {1, 2}, 3);
  CurveRecord record;
  for (auto _ : state) benchmark::DoNotOptimize(ExtractCurve(circle, record));
}
BENCHMARK(BM_ExtractCircle);

void BM_ExtractQuarterArc(benchmark::State& state) {
  GeomTolerance() = 1e-6;
  const auto drawing = mem::MemDrawing::Create();
  const auto arc = mem::AddArc(drawing, {1, 2}, 0.9, 0, 3.141592653589793 / 2);
  CurveRecord record;
  for (auto _ : state) benchmark::DoNotOptimize(ExtractCurve(arc, record));
}
BENCHMARK(BM_ExtractQuarterArc);

void BM_ExtractPolygon(benchmark::State& state) {
  GeomTolerance() = 1e-6;
  const auto drawing = mem::MemDrawing::Create();
  const auto polygon = mem::AddPolygon(drawing, RoundPolygon(static_cast<int>(state.range(0)), 5));
  CurveRecord record;
  for (auto _ : state) benchmark::DoNotOptimize(ExtractCurve(polygon, record));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExtractPolygon)->Arg(4)->Arg(64)->Arg(1024)->Complexity();

// Noding a polygon of n corners crossed by n spokes, and walking its rings.
void BM_NodeAndRings(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto drawing = mem::MemDrawing::Create();
  std::vector<CurveRecord> chains{Extracted(mem::AddPolygon(drawing, RoundPolygon(n, 5)))};
  // Each spoke as long as three sides, so that the work per spoke stays the
  // same however many there are.
  const double reach = 3 * 3.141592653589793 * 5 / n;
  const std::vector<Vec2> inner = RoundPolygon(n, 5 - reach), outer = RoundPolygon(n, 5 + reach);
  for (int i = 0; i < n; ++i) {
    // Half a step turned, so that each spoke crosses a side, not a corner.
    const Vec2 a = inner[static_cast<size_t>(i)], b = outer[static_cast<size_t>((i + 1) % n)];
    chains.push_back(Extracted(mem::AddLine(drawing, a, 0.5 * (b + outer[static_cast<size_t>(i)]))));
  }
  GeomTolerance() = 1e-6;
  BudgetGuard budget(nullptr);
  for (auto _ : state) {
    const PlanarGraph graph(NodeChains(chains, 1e-6, budget), budget);
    benchmark::DoNotOptimize(graph.Rings().size());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NodeAndRings)->Arg(64)->Arg(1024)->Complexity();

// Where a point lies in a ring of n corners, through its banded locator.
void BM_RingLocator(benchmark::State& state) {
  const auto drawing = mem::MemDrawing::Create();
  const RingLocator ring(
      Extracted(mem::AddPolygon(drawing, RoundPolygon(static_cast<int>(state.range(0)), 5))));
  double y = -4;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ring.Side({0.25, y}, 1e-6));
    y = y > 4 ? -4 : y + 0.01;
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RingLocator)->Arg(61)->Arg(1024)->Complexity();

// A column (circle) with the faces of four walls ending on it and a door
// arc nearby: the contacts a room corner with a column has.
void BM_RefineCircleContacts(benchmark::State& state) {
  GeomTolerance() = 1e-6;
  const auto drawing = mem::MemDrawing::Create();
  std::vector<CurveRecord> records;
  records.push_back(Extracted(mem::AddCircle(drawing, {0, 0}, 0.3)));
  for (const double s : {-0.1, 0.1}) {
    records.push_back(Extracted(mem::AddLine(drawing, {s, 0.1}, {s, 4.9})));
    records.push_back(Extracted(mem::AddLine(drawing, {s, -0.1}, {s, -4.9})));
    records.push_back(Extracted(mem::AddLine(drawing, {0.1, s}, {5.9, s})));
    records.push_back(Extracted(mem::AddLine(drawing, {-0.1, s}, {-5.9, s})));
  }
  records.push_back(Extracted(mem::AddArc(drawing, {0.1, 0.6}, 0.9, 0, 3.141592653589793 / 2)));
  for (auto _ : state) {
    std::vector<CurveRecord> work = records;
    RefineCircleContacts(work, static_cast<int>(work.size()));
    benchmark::DoNotOptimize(work.data());
  }
}
BENCHMARK(BM_RefineCircleContacts);

}  // namespace
}  // namespace pphatch::bench
