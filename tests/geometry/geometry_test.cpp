#include "geometry/incidence.h"

#include <thread>

#include <gtest/gtest.h>

#include "geometry/angles.h"
#include "geometry/checked_math.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

constexpr double E = 1e-6;
constexpr double kHalfPi = 1.570796326794895;       // the literal pi / 2
constexpr double kThreeHalfPi = 4.712388980384685;  // the literal 3 pi / 2

TEST(Incidence, PointOnSegmentBoxesBandAndEnds) {
  ToleranceScope tolerance(E);
  struct Case {
    double x1, y1, x2, y2, px, py;
    int closed;
    const char* what;
  };
  const Case cases[] = {
      {0, 0, 10, 0, 0, 0, 1, "at the start"},
      {0, 0, 10, 0, 10, 0, 1, "at the end"},
      {0, 0, 10, 0, -0.5 * E, 0.9 * E, 1, "in the start box"},
      {0, 0, 10, 0, 10 + 0.9 * E, -0.9 * E, 1, "in the end box"},
      {10, 0, 0, 0, 0, 0, 1, "reversed: the end"},
      {0, 0, 10, 0, 5, 5 * E, 1, "5 E beside the middle"},
      {0, 0, 10, 0, 5, -11 * E, 0, "11 E beside the middle"},
      {0, 0, 10, 10, 5 - 4 * E, 5 + 4 * E, 1, "5.7 E off a diagonal"},
      {0, 0, 10, 10, 5 - 8 * E, 5 + 8 * E, 0, "11.3 E off a diagonal"},
      {0, 0, 10, 0, 10 + 2 * E, 0, 0, "2 E beyond the end"},
      {0, 0, 10, 0, -2 * E, 0, 0, "2 E before the start"},
      {0, 0, 10, 0, 10 + 2 * E, 5 * E, 0, "in the band, past the end"},
      {1, 1, 1 + 0.5 * E, 1, 1 + 0.5 * E, 1, 1, "degenerate: start box first"},
      {1, 1, 1 + 0.5 * E, 1, 1 + 0.25 * E, 1 + 5 * E, 0, "degenerate: band"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointOnSegment(c.x1, c.y1, c.x2, c.y2, c.px, c.py), c.closed) << c.what;
  }
  EXPECT_THROW(PointOnSegment(0, 0, 1e200, 1e200, 5, 5), ComputeError);  // square overflows
  GeomTolerance() = 0;
  EXPECT_THROW(PointOnSegment(1, 1, 1, 1, 2, 2), ComputeError);  // zero by zero
  // Boxes and band have no width: only points exactly inside count.
  EXPECT_EQ(PointOnSegment(0, 0, 4, 0, 2, 0), 1);
  EXPECT_EQ(PointOnSegment(0, 0, 4, 0, 4, 0), 0);
}

TEST(Incidence, IntersectLines) {
  auto p = IntersectLines(1, 0, 2, 0, 1, 3);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->x, 2);
  EXPECT_EQ(p->y, 3);
  p = IntersectLines(1, 1, 3, 1, -1, 1);  // x + y = 3, x - y = 1
  ASSERT_TRUE(p);
  EXPECT_DOUBLE_EQ(p->x, 2);
  EXPECT_DOUBLE_EQ(p->y, 1);
  // No tolerance on D: nearly parallel lines meet far away.
  p = IntersectLines(0, 1, 0, 1e-9, 1, 1);
  ASSERT_TRUE(p);
  EXPECT_NEAR(p->x, 1e9, 1);
  EXPECT_FALSE(IntersectLines(1, 1, 1, 2, 2, 5));            // parallel
  EXPECT_FALSE(IntersectLines(1, 1, 1, 2, 2, 2));            // the same line
  EXPECT_FALSE(IntersectLines(1e200, 1, 1, 1, 1e200, 1));    // D overflows
  EXPECT_FALSE(IntersectLines(1e-200, 0, 1e200, 0, 1, 0));   // x overflows
}

TEST(Angles, VectorAngleQuadrantsAndSnapping) {
  ToleranceScope tolerance(E);
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

TEST(Tolerance, IsPerThreadAndStartsAtZero) {
  ToleranceScope tolerance(1e-7);
  double seen = -1;
  std::thread([&] { seen = GeomTolerance(); }).join();
  EXPECT_EQ(seen, 0.0);
  EXPECT_EQ(GeomTolerance(), 1e-7);
}

}  // namespace
}  // namespace pphatch
