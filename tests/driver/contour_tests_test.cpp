#include "driver/contour_tests.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "component/errors.h"
#include "support/chains.h"
#include "support/tolerance_scope.h"

namespace pphatch {
namespace {

constexpr double E = 1e-6;
// (kRoot3, 1) lies exactly on the 30-degree ray from the origin.
constexpr double kRoot3 = 1.7320508075688772;

using InOn = std::pair<int, int>;  // {PointInContour, PointStrictlyInContour}
const InOn kIn{1, 1}, kOn{1, 0}, kOut{0, 0};

InOn Where(const CurveRecord& c, double x, double y) {
  return {PointInContour(c, x, y), PointStrictlyInContour(c, x, y)};
}

class ContourTests : public ::testing::Test {
 protected:
  ToleranceScope tolerance_{E};
  CurveRecord square_ = MakeChain({{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}});
  CurveRecord diamond_ = MakeChain({{2, 0}, {4, 2}, {2, 4}, {0, 2}, {2, 0}});
};

TEST_F(ContourTests, PointsInsideOnAndOutside) {
  EXPECT_EQ(Where(square_, 1, 1), kIn);
  EXPECT_EQ(Where(square_, 5, 1), kOut);
  EXPECT_EQ(Where(square_, 4, 4), kOn);          // a vertex
  EXPECT_EQ(Where(square_, 0, 0), kOn);          // the closing vertex
  EXPECT_EQ(Where(square_, 4, 2), kOn);          // a vertical edge
  EXPECT_EQ(Where(square_, 2, 4 - E / 2), kOn);  // a horizontal edge
  EXPECT_EQ(Where(square_, 4 + 2 * E, 2), kOut);
  EXPECT_EQ(Where(square_, 4 - 2 * E, 2), kIn);
  // Level with the diamond's side vertices, which the tilted ray misses.
  EXPECT_EQ(Where(diamond_, 1, 2), kIn);
  EXPECT_EQ(Where(diamond_, -1, 2), kOut);
  EXPECT_EQ(Where(diamond_, 5, 2), kOut);
  // Faults: a count beyond the arrays, offsets that overflow.
  const CurveRecord huge = MakeChain(
      {{-1e308, -1e308}, {1e308, -1e308}, {1e308, 1e308}, {-1e308, 1e308}, {-1e308, -1e308}});
  EXPECT_EQ(Where(huge, 1.7e308, 1e308), kOut);
  square_.PointCount = 7;
  EXPECT_EQ(Where(square_, 1, 1), kOut);
}

TEST_F(ContourTests, CombWhoseTeethTheRayCrosses) {
  // Teeth [2j, 2j + 1] x [1, 100] on the base [0, 15] x [0, 1]. From the gap
  // at (1.5, 2) the ray crosses 14 tooth sides, from (-1, 50) 16.
  std::vector<Point2> points{{0, 0}, {15, 0}};
  for (int j = 7; j >= 0; --j) {
    if (j < 7) points.push_back({2.0 * j + 1, 1});
    points.insert(points.end(), {{2.0 * j + 1, 100}, {2.0 * j, 100}});
    if (j > 0) points.push_back({2.0 * j, 1});
  }
  points.push_back({0, 0});
  const CurveRecord comb = MakeChain(points);
  EXPECT_EQ(Where(comb, 1.5, 2), kOut);
  EXPECT_EQ(Where(comb, -1, 50), kOut);
  EXPECT_EQ(Where(comb, 2.5, 50), kIn);
}

TEST_F(ContourTests, ChainOfFortyThousandPoints) {
  std::vector<Point2> points;
  for (int i = 0; i < 40000; ++i) points.push_back(OnCircle(0, 0, 100, i * (kTwoPi / 40000)));
  points.push_back(points.front());
  const CurveRecord circle = MakeChain(points);
  EXPECT_EQ(Where(circle, 60, -60), kIn);
  EXPECT_EQ(Where(circle, 71, 71), kOut);
  EXPECT_EQ(Where(circle, circle.X[35000], circle.Y[35000]), kOn);
}

TEST_F(ContourTests, VertexOnTheRayIsCountedOnce) {
  EXPECT_EQ(Where(MakeChain({{-3, -3}, {3, -3}, {kRoot3, 1}, {-3, 3}, {-3, -3}}), 0, 0), kIn);
  // Touching the ray there from below only.
  EXPECT_EQ(Where(MakeChain({{0, -2}, {3, -2}, {kRoot3, 1}, {0, -2}}), 0, 0), kOut);
}

TEST_F(ContourTests, EdgeAlongTheRayHoldsItsPoints) {
  const CurveRecord c = MakeChain({{-kRoot3, -1}, {kRoot3, 1}, {-3, 3}, {-kRoot3, -1}});
  EXPECT_EQ(Where(c, 0, 0), kOn);
  EXPECT_EQ(Where(c, -2 * kRoot3, -2), kOut);  // on the edge's line, beyond it
  EXPECT_EQ(Where(c, -1, 1), kIn);
}

}  // namespace
}  // namespace pphatch
