#include "geometry/angles.h"

#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include "geometry/checked_math.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

constexpr double E = 1e-6;
constexpr double kHalfPi = 1.570796326794895;       // the literal pi / 2
constexpr double kThreeHalfPi = 4.712388980384685;  // the literal 3 pi / 2

class Angles : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = std::exchange(GeomTolerance(), E); }
  void TearDown() override { GeomTolerance() = saved_; }
  double saved_ = 0;
};

TEST_F(Angles, VectorAngleQuadrantsAndSnapping) {
  EXPECT_EQ(VectorAngle(0, 1), 0);
  EXPECT_EQ(VectorAngle(1, 0), kHalfPi);
  EXPECT_EQ(VectorAngle(0, -1), 3.14159265358979);
  EXPECT_EQ(VectorAngle(-1, 0), kThreeHalfPi);
  EXPECT_NEAR(VectorAngle(1, -1), 2.356194490192345, 1e-14);
  EXPECT_NEAR(VectorAngle(-1, -1), 3.926990816987241, 1e-14);
  EXPECT_NEAR(VectorAngle(-1, 1), 5.497787143782137, 1e-14);
  EXPECT_EQ(VectorAngle(0.5, 0.00005), kHalfPi);
  EXPECT_EQ(VectorAngle(-0.5, -0.00009), kThreeHalfPi);
  EXPECT_EQ(VectorAngle(0, 0), kThreeHalfPi);
  // At the threshold the arctangent is taken: 1e-4 short of pi / 2.
  EXPECT_NEAR(VectorAngle(1, 0.0001), kHalfPi - 1e-4, 1e-9);
}

}  // namespace
}  // namespace pphatch
