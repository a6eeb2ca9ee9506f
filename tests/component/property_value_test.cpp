#include "component/property_value.h"

#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "geometry/checked_math.h"

namespace pphatch {
namespace {

TEST(PropertyInt32, RoundsHalfToEvenAndReadsNumericTexts) {
  const std::pair<PropertyValue, int> cases[] = {
      {2.5, 2}, {3.5, 4}, {0.5, 0}, {-2.5, -2}, {-3.5, -4}, {2.5001, 3}, {-0.7, -1},
      {2147483647.4, 2147483647}, {-2147483648.5, std::numeric_limits<int>::min()},
      {std::string("1"), 1}, {std::string(" 2.5 "), 2}, {std::string("+3.5"), 4},
      {std::string("-7"), -7}, {std::string("1e3"), 1000}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(PropertyInt32(value), expected);
}

TEST(PropertyInt32, RejectsOtherTextsAndOverflow) {
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

}  // namespace
}  // namespace pphatch
