#include "component/state.h"

#include <stdexcept>

#include <gtest/gtest.h>

#include "component/beep.h"
#include "component/view_convert.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch {
namespace {

TEST(TolerantSign, DeadBandIsOneMillionth) {
  EXPECT_EQ(TolerantSign(0), 0);
  EXPECT_EQ(TolerantSign(5e-7), 0);
  EXPECT_EQ(TolerantSign(-9.99e-7), 0);
  EXPECT_EQ(TolerantSign(1e-6), 1);
  EXPECT_EQ(TolerantSign(-1e-6), -1);
  EXPECT_EQ(TolerantSign(1e300), 1);
}

TEST(RequestBudget, ExceededOnlyAfterTwentySeconds) {
  double now = 1000;
  SetClockForTesting([&now] { return now; });
  ObjectState state;
  state.StartTime = ClockSeconds();
  now = 1020;
  EXPECT_FALSE(BudgetExceeded(state));
  now = 1020.01;
  EXPECT_TRUE(BudgetExceeded(state));
  SetClockForTesting(nullptr);
  EXPECT_NE(ClockSeconds(), 1020.01);  // the steady clock is back
}

TEST(Beep, GoesThroughTheHandler) {
  int beeps = 0;
  SetBeepHandler([&beeps] { ++beeps; });
  Beep();
  Beep();
  EXPECT_EQ(beeps, 2);
  SetBeepHandler([] { throw std::runtime_error("no sound"); });
  EXPECT_NO_THROW(Beep());
  SetBeepHandler(nullptr);
  testing::internal::CaptureStderr();
  Beep();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\a");
  EXPECT_EQ(beeps, 2);
}

}  // namespace
}  // namespace pphatch
