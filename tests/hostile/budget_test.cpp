// The 20-second budget: a request on a drawing that makes the search long
// ends with the message once its clock has run past the budget, and only a
// few clock readings later. The clock is a fake one that moves on by a fixed
// step at every reading, so the tests take no real time to reach the budget.
#include <gtest/gtest.h>

#include <vector>

#include "component/state.h"
#include "hostile/hostile_scene.h"

namespace pphatch::hostile {
namespace {

using mem::Into;
using mem::Vec2;

// Most fake seconds a request may read past its budget: the readings that
// notice the overrun and unwind.
constexpr double kMargin = 0.5;

// A clock that moves on by `step` seconds at every reading.
class SteppingClock {
 public:
  explicit SteppingClock(double step) : step_(step) {
    SetClockForTesting([this] {
      now_ += step_;
      ++readings_;
      return now_;
    });
  }
  ~SteppingClock() { SetClockForTesting(nullptr); }
  SteppingClock(const SteppingClock&) = delete;
  SteppingClock& operator=(const SteppingClock&) = delete;

  /// Fake seconds from the first reading to the last.
  double Elapsed() const { return readings_ > 1 ? (readings_ - 1) * step_ : 0; }
  int Readings() const { return readings_; }

 private:
  double step_;
  double now_ = 1000;
  int readings_ = 0;
};

// A closed comb: a 2n x 10 base under n triangular teeth 2 high, so that the
// walk around it takes about 2n steps. Its area is 2n * 10 + 2n.
void AddComb(HostileScene& scene, int n) {
  std::vector<Vec2> ring = {{0, 0}, {2.0 * n, 0}};
  for (int k = n - 1; k >= 0; --k) {
    ring.push_back({2.0 * k + 2, 10});
    ring.push_back({2.0 * k + 1, 12});
  }
  ring.push_back({0, 10});
  mem::AddPolygon(Into(scene.drawing), ring);
}

TEST(Budget, LongWalkEndsAtTheBudget) {
  constexpr int kTeeth = 1000;
  {
    // Slow enough a clock for the whole walk: the comb is found.
    HostileScene scene;
    AddComb(scene, kTeeth);
    scene.Look({kTeeth, 6}, 0.25);
    SteppingClock clock(1e-4);
    const reliability::CheckedAnswer checked = scene.ClickAt(1, 5);
    EXPECT_EQ(checked.problem, "");
    ASSERT_TRUE(checked.answer.ok);
    EXPECT_NEAR(NetArea(checked.answer), 2.0 * kTeeth * 10 + 2.0 * kTeeth, 1e-6);
    EXPECT_LT(clock.Elapsed(), kRequestBudgetSeconds);
  }
  {
    // Five hundred times faster: the walk would need far more than the budget.
    HostileScene scene;
    AddComb(scene, kTeeth);
    scene.Look({kTeeth, 6}, 0.25);
    SteppingClock clock(0.05);
    const reliability::CheckedAnswer checked = scene.ClickAt(1, 5);
    EXPECT_EQ(checked.problem, "");
    EXPECT_FALSE(checked.answer.ok);
    EXPECT_GT(clock.Elapsed(), kRequestBudgetSeconds);
    EXPECT_LE(clock.Elapsed(), kRequestBudgetSeconds + kMargin);
  }
}

// `count` 2 x 2 squares 10 apart in a row inside a long rectangle, left of
// the click: each is found, filed as an island and stepped past, one search
// each. The view shows it all at zoom 1.
void AddRowOfIslands(HostileScene& scene, int count) {
  mem::AddRectangle(Into(scene.drawing), {0, 0}, {10.0 * count + 10, 10});
  for (int i = 0; i < count; ++i) {
    mem::AddRectangle(Into(scene.drawing), {10.0 * i + 5, 4}, {10.0 * i + 7, 6});
  }
  scene.Look({5.0 * count + 5, 5}, 1);
}

TEST(Budget, ManyIslandsBesideTheClickEndAtTheBudget) {
  constexpr int kIslands = 80;
  const double clickX = 10.0 * kIslands + 5;
  {
    HostileScene scene;
    AddRowOfIslands(scene, kIslands);
    SteppingClock clock(1e-5);
    const reliability::CheckedAnswer checked = scene.ClickAt(clickX, 5);
    EXPECT_EQ(checked.problem, "");
    ASSERT_TRUE(checked.answer.ok);
    EXPECT_EQ(checked.answer.contours.size(), kIslands + 1u);
    EXPECT_NEAR(NetArea(checked.answer), (10.0 * kIslands + 10) * 10 - 4.0 * kIslands, 1e-6);
  }
  {
    HostileScene scene;
    AddRowOfIslands(scene, kIslands);
    SteppingClock clock(0.5);
    const reliability::CheckedAnswer checked = scene.ClickAt(clickX, 5);
    EXPECT_EQ(checked.problem, "");
    EXPECT_FALSE(checked.answer.ok);
    EXPECT_GT(clock.Elapsed(), kRequestBudgetSeconds);
    EXPECT_LE(clock.Elapsed(), kRequestBudgetSeconds + 2 * 0.5);
  }
}

}  // namespace
}  // namespace pphatch::hostile
