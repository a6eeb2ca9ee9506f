// Several threads hatch at the same time, each its own drawing with its own
// PickPointHatch: the module-wide state is per thread, so no request sees
// another thread's view or drawing. Run under ThreadSanitizer by make check.
#include <gtest/gtest.h>

#include <any>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "memhost/builders.h"
#include "memhost/drawing.h"
#include "memhost/view.h"
#include "pphatch/pick_point_hatch.h"
#include "support/request_fixture.h"

namespace pphatch {
namespace {

constexpr int kThreads = 4;
constexpr int kPicksPerThread = 12;

// Net area (outer less islands) of a result graphic.
double ResultArea(const HostGraphicPtr& result) {
  const HostGraphicsPtr children = result->Graphics();
  double area = 0;
  for (int i = 0; i < children->Count(); ++i) {
    const HostVerticesPtr vertices = children->Item(i)->Vertices();
    std::vector<Point2> chain;
    for (int k = 0; k < vertices->Count(); ++k) {
      chain.push_back({vertices->Item(k)->X(), vertices->Item(k)->Y()});
    }
    const double a = std::fabs(SignedArea(chain));
    area += i == 0 ? a : -a;
  }
  return area;
}

// Thread t's drawing: a square of side 20 + 10 t with a 4 x 4 island in its
// middle, so each thread's answer differs from every other's. Gives the net
// area of each pick (-1 for a failed one) through `areas`.
double HatchOwnDrawing(int t, std::vector<double>& areas) {
  const double side = 20 + 10.0 * t;
  auto drawing = mem::MemDrawing::Create();
  mem::AddRectangle(mem::Into(drawing), {0, 0}, {side, side});
  mem::AddRectangle(mem::Into(drawing), {side / 2 - 2, side / 2 - 2}, {side / 2 + 2, side / 2 + 2});
  auto view = std::make_shared<mem::MemView>(drawing);
  view->SetCentre({side / 2, side / 2});
  view->SetZoom(10);
  PickPointHatch hatch;
  hatch.Init(view);
  for (int i = 0; i < kPicksPerThread; ++i) {
    // Clicks left of the island, at different heights.
    const mem::Vec2 v = view->ToView({2, 1 + (side - 2) * i / kPicksPerThread});
    HostGraphicPtr result;
    std::string error;
    std::any reserved;
    const bool ok = hatch.CreateClosedContour(v.x, v.y, result, error, reserved);
    areas.push_back(ok ? ResultArea(result) : -1);
  }
  return side * side - 16;
}

TEST(ParallelRequests, EachThreadHatchesItsOwnDrawing) {
  std::vector<std::vector<double>> logs(kThreads);
  std::vector<double> expected(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &logs, &expected] { expected[t] = HatchOwnDrawing(t, logs[t]); });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    SCOPED_TRACE(t);
    ASSERT_EQ(logs[t].size(), static_cast<std::size_t>(kPicksPerThread));
    for (const double area : logs[t]) EXPECT_NEAR(area, expected[t], 1e-6);
  }
}

}  // namespace
}  // namespace pphatch
