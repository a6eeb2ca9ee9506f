// The loops the contour search finds around a picked point.
#include "contour/search.h"

#include <cmath>

#include "contour/search_fixture.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

using mem::Vec2;

// Point k of the 61-point chain of a circle about the origin (6 degrees apart).
Vec2 CirclePoint(double radius, int k) {
  const double angle = 2 * k * kPi / 60;
  return {radius * std::cos(angle), radius * std::sin(angle)};
}

TEST_F(SearchTest, RectangleIsWalkedFromTheLowerEndOfItsLeftEdge) {
  mem::AddRectangle(drawing, {0, 0}, {10, 10});
  ASSERT_TRUE(SearchFrom({5, 5}));
  // Entered upwards on the left edge, so the click stays on the right.
  ExpectLoop({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
  const CurveRecord& loop = Module().WorkContour;
  ASSERT_EQ(loop.X.size(), 6u);
  EXPECT_EQ(loop.X[5], 0);
  EXPECT_EQ(GeomTolerance(), 1e-6);
  ExpectSetsReleased();
}

TEST_F(SearchTest, DividedSquareGivesTheTriangleHoldingTheClick) {
  mem::AddRectangle(drawing, {0, 0}, {10, 10});
  mem::AddLine(drawing, {0, 0}, {10, 10});
  ASSERT_TRUE(SearchFrom({2, 6}));
  ExpectLoop({{0, 0}, {0, 10}, {10, 10}, {0, 0}});
  // Below the diagonal the ray meets the diagonal first.
  ASSERT_TRUE(SearchFrom({6, 2}));
  ExpectLoop({{0, 0}, {10, 10}, {10, 0}, {0, 0}});
}

TEST_F(SearchTest, StartIsTheLastJunctionBelowTheCrossing) {
  mem::AddRectangle(drawing, {0, 0}, {10, 10});
  mem::AddLine(drawing, {0, 3}, {10, 3});
  ASSERT_TRUE(SearchFrom({5, 5}));
  // Starting at (0, 0) the walk would turn off at (0, 3) into the lower half.
  ExpectLoop({{0, 3}, {0, 10}, {10, 10}, {10, 3}, {0, 3}});
}

TEST_F(SearchTest, BranchLeadingStraightBackIsNeverTaken) {
  // From the top right corner a line runs back under the top edge, 5e-6
  // radian off it: a turn of almost -pi, sharper than any other.
  mem::AddRectangle(drawing, {0, 0}, {10, 10});
  mem::AddLine(drawing, {10, 10}, {5, 10 - 2.5e-5});
  ASSERT_TRUE(SearchFrom({5, 5}));
  ExpectLoop({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
}

TEST_F(SearchTest, LooseEndIsFollowedAndRetraced) {
  mem::AddRectangle(drawing, {0, 0}, {10, 10});
  mem::AddLine(drawing, {10, 5}, {6, 5});
  ASSERT_TRUE(SearchFrom({3, 3}));
  ExpectLoop({{0, 0}, {0, 10}, {10, 10}, {10, 5}, {6, 5}, {10, 5}, {10, 0}, {0, 0}});
}

TEST_F(SearchTest, CollinearOverlapHandsOverToTheLongerLine) {
  // The left side is two overlapping lines; the ray crosses both at the
  // same place and the first one drawn, the shorter, is entered.
  mem::AddLine(drawing, {0, 0}, {0, 6});
  mem::AddLine(drawing, {0, -2}, {0, 10});
  mem::AddLine(drawing, {0, 0}, {10, 0});
  mem::AddLine(drawing, {10, 0}, {10, 10});
  mem::AddLine(drawing, {10, 10}, {0, 10});
  ASSERT_TRUE(SearchFrom({5, 5}));
  // Without the hand-over the walk would turn back at (0, 6).
  ExpectLoop({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
}

TEST_F(SearchTest, ClickInsideCircleGivesItsSixtyOnePointChainClockwise) {
  mem::AddCircle(drawing, {0, 0}, 10);
  ASSERT_TRUE(SearchFrom({0, 1.3}));
  // y = 1.3 crosses the chord from point 28 (168 deg) to 29 (174 deg); it is
  // entered upwards, from 29 towards 28, and the walk goes on clockwise.
  std::vector<Vec2> expected;
  for (int k = 29; k >= 1; --k) expected.push_back(CirclePoint(10, k));
  for (int k = 60; k >= 29; --k) expected.push_back(CirclePoint(10, k));
  ExpectLoop(expected);
}

TEST_F(SearchTest, CircleContactsBecomeCornersOfTheLoop) {
  // A three-sided polyline whose ends lie on the circle at +-45 degrees,
  // between sampled points: the loop changes chains at the contacts that
  // the refinement puts into the circle's chain.
  const double h = 5 * std::sin(kPi / 4);
  const Vec2 upper{5 * std::cos(kPi / 4), h};
  const Vec2 lower{upper.x, -h};
  mem::AddCircle(drawing, {0, 0}, 5);
  mem::AddChain(drawing, std::vector<Vec2>{upper, {10, h}, {10, -h}, lower});
  ASSERT_TRUE(SearchFrom({7, 0.3}));
  std::vector<Vec2> expected;
  for (int k = 0; k <= 7; ++k) expected.push_back(CirclePoint(5, k));
  expected.insert(expected.end(), {upper, {10, h}, {10, -h}, lower});
  for (int k = 53; k <= 59; ++k) expected.push_back(CirclePoint(5, k));
  expected.push_back(CirclePoint(5, 0));
  ExpectLoop(expected);
}

TEST_F(SearchTest, NothingLeftOfTheClickEndsWithFalseAfterTheWholeMarch) {
  mem::AddRectangle(drawing, {20, 0}, {30, 10});
  drawing->Faults().ResetCounts();
  EXPECT_FALSE(SearchFrom({19, 5}));
  // One pick for the fills, then one per step over 1000 steps of the
  // distance to the view's left edge (the last one falls short of it).
  EXPECT_NEAR(drawing->Faults().Calls("HostView.PickPoint"), 1000, 1);
  EXPECT_EQ(Module().WorkContour.PointCount, 0);
  ExpectSetsReleased();
}

TEST_F(SearchTest, HorizontalLineMetAloneIsPassedAndTheMarchMovesOn) {
  mem::AddRectangle(drawing, {0, 0}, {10, 10});
  mem::AddLine(drawing, {12, 5}, {20, 5});
  ASSERT_TRUE(SearchFrom({25, 5}));
  ExpectLoop({{10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}});
  // The caller's px was moved one march step left of the first position
  // that met the line's end, which lies within one step right of the end.
  const double rayStep = (view->ToView({25, 5}).x - view->ViewLeft()) / 1000;
  const double lineEnd = view->ToView({20, 5}).x;
  EXPECT_LE(px, lineEnd + 1e-9);
  EXPECT_GT(px, lineEnd - rayStep - 1e-9);
  EXPECT_NE(state.LastGraphicId, -1);
}

TEST_F(SearchTest, CrossingsOnOneSegmentAreLimitedToTheTable) {
  // Teeth standing on the top edge: the walk goes straight past each one.
  mem::AddRectangle(drawing, {0, 0}, {10, 10});
  for (int k = 0; k < 1000; ++k)
    mem::AddLine(drawing, {0.5 + 0.009 * k, 10}, {0.5 + 0.009 * k, 11});
  ASSERT_TRUE(SearchFrom({5, 5}));
  const std::vector<Vec2> loop = Loop();
  ASSERT_EQ(loop.size(), 1005u);
  EXPECT_NEAR(loop[2].x, 0.5, 1e-12);
  EXPECT_NEAR(loop[1001].x, 0.5 + 0.009 * 999, 1e-12);
  // Two teeth more put 1002 crossings on the top edge: more than the table holds.
  mem::AddLine(drawing, {9.6, 10}, {9.6, 11});
  mem::AddLine(drawing, {9.7, 10}, {9.7, 11});
  EXPECT_FALSE(SearchFrom({5, 5}));
  ExpectSetsReleased();
}

}  // namespace
}  // namespace pphatch
