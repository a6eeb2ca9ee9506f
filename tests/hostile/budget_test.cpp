// The 20-second budget: a request whose budget runs out, at whatever point
// of its work, ends with the message at the next clock reading. The clock
// is a fake one, so the tests take no real time to reach the budget.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "component/state.h"
#include "hostile/hostile_scene.h"

namespace pphatch::hostile {
namespace {

using mem::Into;
using mem::Vec2;

// Clicks at (1, 2) on a clock that stands still until its `jump`-th reading
// and stands past the budget from then on (jump 0: never); gives the answer
// and the number of readings.
std::pair<reliability::CheckedAnswer, int> ClickWithClockJump(HostileScene& scene, int jump) {
  int readings = 0;
  SetClockForTesting([&readings, jump] {
    ++readings;
    return jump > 0 && readings >= jump ? 1000 + 2 * kRequestBudgetSeconds : 1000.0;
  });
  const reliability::CheckedAnswer checked = scene.ClickAt(1, 2);
  SetClockForTesting(nullptr);
  return {checked, readings};
}

// A closed comb of n teeth (a long boundary) holding a row of m small
// square islands: work in every stage of a request. Its area is
// 2n * 10 + 2n - m.
void AddCombWithIslands(HostileScene& scene, int n, int m) {
  std::vector<Vec2> ring = {{0, 0}, {2.0 * n, 0}};
  for (int k = n - 1; k >= 0; --k) {
    ring.push_back({2.0 * k + 2, 10});
    ring.push_back({2.0 * k + 1, 12});
  }
  ring.push_back({0, 10});
  mem::AddPolygon(Into(scene.drawing), ring);
  for (int i = 0; i < m; ++i) {
    const double x = 2.0 * n * (i + 0.5) / m;
    mem::AddRectangle(Into(scene.drawing), {x - 0.5, 4.5}, {x + 0.5, 5.5});
  }
  scene.Look({1.0 * n, 6}, 0.5);
}

TEST(Budget, RunningOutAtAnyReadingFailsTheRequestAtOnce) {
  constexpr int kTeeth = 1500, kIslands = 200;
  HostileScene scene;
  AddCombWithIslands(scene, kTeeth, kIslands);
  const auto [checked, readings] = ClickWithClockJump(scene, 0);
  EXPECT_EQ(checked.problem, "");
  ASSERT_TRUE(checked.answer.ok);
  EXPECT_EQ(checked.answer.contours.size(), kIslands + 1u);
  EXPECT_NEAR(NetArea(checked.answer), 2.0 * kTeeth * 10 + 2.0 * kTeeth - kIslands, 1e-6);
  // The first reading is the request's start; the long boundary and the
  // islands take many more.
  ASSERT_GT(readings, 10);
  for (int jump = 2; jump <= readings; ++jump) {
    SCOPED_TRACE(testing::Message() << "budget out at reading " << jump);
    const auto [out, read] = ClickWithClockJump(scene, jump);
    EXPECT_EQ(out.problem, "");
    EXPECT_FALSE(out.answer.ok);
    EXPECT_EQ(read, jump) << "the request read on after its budget ran out";
  }
}

}  // namespace
}  // namespace pphatch::hostile
