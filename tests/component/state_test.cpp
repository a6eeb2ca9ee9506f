#include "component/state.h"

#include <limits>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "component/beep.h"
#include "component/property_value.h"
#include "geometry/checked_math.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch {
namespace {

TEST(PropertyInt32, RoundsHalfToEvenReadsNumericTextsAndRejectsTheRest) {
  const std::pair<PropertyValue, int> cases[] = {
      {2.5, 2}, {3.5, 4}, {0.5, 0}, {-2.5, -2}, {-3.5, -4}, {2.5001, 3}, {-0.7, -1},
      {2147483647.4, 2147483647}, {-2147483648.5, std::numeric_limits<int>::min()},
      {std::string("1"), 1}, {std::string(" 2.5 "), 2}, {std::string("+3.5"), 4},
      {std::string("-7"), -7}, {std::string("1e3"), 1000}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(PropertyInt32(value), expected);
  for (const char* text : {"", "  ", "abc", "1x", "1 2", "inf", "nan", "0x10", "+-1"}) {
    EXPECT_THROW(PropertyInt32(std::string(text)), HostError) << '"' << text << '"';
  }
  for (const PropertyValue& value : {PropertyValue(2147483647.5), PropertyValue(-2147483649.0),
                                     PropertyValue(std::numeric_limits<double>::quiet_NaN()),
                                     PropertyValue(std::string("1e999"))}) {
    EXPECT_THROW(PropertyInt32(value), ComputeError);
  }
}

TEST(CheckedArithmetic, FaultsBecomeComputeErrors) {
  EXPECT_EQ(CheckedDivide(6, 3), 2);
  EXPECT_THROW(CheckedDivide(1, 0), ComputeError);
  EXPECT_THROW(CheckedDivide(0, 0), ComputeError);
  EXPECT_THROW(CheckedDivide(1e300, 1e-300), ComputeError);
  EXPECT_EQ(CheckedFinite(-1e308), -1e308);
  EXPECT_THROW(CheckedFinite(std::numeric_limits<double>::infinity()), ComputeError);
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

// The handler counting beeps: every request scene's one beep on failure.
TEST(Beep, AThrowingHandlerIsSwallowedAndNoneRingsTheTerminal) {
  SetBeepHandler([] { throw std::runtime_error("no sound"); });
  EXPECT_NO_THROW(Beep());
  SetBeepHandler(nullptr);
  testing::internal::CaptureStderr();
  Beep();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\a");
}

}  // namespace
}  // namespace pphatch
