// Several threads hatch at the same time, each its own drawing with its own
// PickPointHatch: the module-wide state is per thread, so no request sees
// another thread's view or drawing. Run under ThreadSanitizer by make check.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/request_fixture.h"

namespace pphatch {
namespace {

constexpr int kThreads = 4;
constexpr int kPicksPerThread = 12;

TEST(ParallelRequests, EachThreadHatchesItsOwnDrawing) {
  // Thread t's drawing: a square of side 20 + 10 t with a 4 x 4 island in its
  // middle, so each thread's answer differs from every other's; -1 marks a failed pick.
  std::vector<std::vector<double>> areas(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &areas] {
      const double side = 20 + 10.0 * t, mid = side / 2;
      RequestFixture f;
      mem::AddRectangle(mem::Into(f.drawing), {0, 0}, {side, side});
      mem::AddRectangle(mem::Into(f.drawing), {mid - 2, mid - 2}, {mid + 2, mid + 2});
      f.Look({mid, mid}, 10);
      for (int i = 0; i < kPicksPerThread; ++i) {
        // Clicks left of the island, at different heights.
        const PickOutcome out = f.Pick(2, 1 + (side - 2) * i / kPicksPerThread);
        areas[t].push_back(out.ok ? out.NetArea() : -1);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    SCOPED_TRACE(t);
    const double side = 20 + 10.0 * t;
    ASSERT_EQ(areas[t].size(), static_cast<std::size_t>(kPicksPerThread));
    for (const double area : areas[t]) EXPECT_NEAR(area, side * side - 16, 1e-6);
  }
}

}  // namespace
}  // namespace pphatch
