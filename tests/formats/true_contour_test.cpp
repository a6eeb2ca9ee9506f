#include "formats/true_contour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "formats/contour_measure.h"
#include "support/request_fixture.h"

namespace pphatch::formats {
namespace {

using mem::Vec2;
constexpr double kPi = std::numbers::pi;

// Picks at (x, y) and reads the contours back onto the drawing's curves.
class TrueContours : public ::testing::Test, public RequestFixture {
 protected:
  std::vector<TrueContour> PickCurves(double x, double y, double zoom = 10) {
    Look({x, y}, zoom);
    const pphatch::PickOutcome out = Pick(x, y);
    EXPECT_TRUE(out.ok) << out.error;
    std::vector<TrueContour> curves;
    for (const auto& c : out.contours) {
      Contour contour;
      for (const auto& p : c) contour.push_back({p.x, p.y});
      curves.push_back(FollowCurves(*drawing, contour));
    }
    return curves;
  }
};

// Counts the arc pieces of a contour.
int Arcs(const TrueContour& contour) {
  int n = 0;
  for (const ContourPiece& p : contour) n += p.arc ? 1 : 0;
  return n;
}

TEST_F(TrueContours, RoundColumnHoleIsOneWholeCircle) {
  mem::AddRectangle(drawing, {0, 0}, {40, 30});
  mem::AddCircle(drawing, {20, 15}, 5);
  const auto curves = PickCurves(3, 3);
  ASSERT_EQ(curves.size(), 2u);
  ASSERT_EQ(curves[1].size(), 1u);
  EXPECT_TRUE(curves[1][0].arc);
  EXPECT_NEAR(std::fabs(curves[1][0].t1 - curves[1][0].t0), 2 * kPi, 1e-12);
  const AreaMeasures m = MeasureArea(curves);
  EXPECT_NEAR(m.contourAreas[1], 25 * kPi, 1e-9);
  EXPECT_NEAR(m.contourLengths[1], 10 * kPi, 1e-9);
  EXPECT_NEAR(m.area, 1200 - 25 * kPi, 1e-9);
  EXPECT_NEAR(m.perimeter, 140, 1e-9);
}

TEST_F(TrueContours, RoundedRectangleInATurnedScaledInsertMeasuresAsItsClosedForm) {
  // 30 x 20 with corner radius 4, inserted at twice the size, turned by 30 degrees.
  const double b = std::tan(kPi / 8), r = 8, w = 60, h = 40;
  const auto block = mem::NewBlock(*drawing);
  mem::AddPolyline(mem::Into(block), {{4, 0, 0}, {26, 0, b}, {30, 4, 0}, {30, 16, b},
                                      {26, 20, 0}, {4, 20, b}, {0, 16, 0}, {0, 4, b}}, true);
  mem::AddInsert(drawing, block, {100, 50, 2, kPi / 6});
  const Vec2 inside = Vec2{100, 50} + mem::Rotated({30, 20}, kPi / 6);
  const auto curves = PickCurves(inside.x, inside.y, 5);
  ASSERT_EQ(curves.size(), 1u);
  EXPECT_EQ(Arcs(curves[0]), 4);
  const AreaMeasures m = MeasureArea(curves);
  EXPECT_NEAR(m.area, w * h - (4 - kPi) * r * r, 1e-9 * w * h);
  EXPECT_NEAR(m.perimeter, 2 * (w + h) - 8 * r + 2 * kPi * r, 1e-9 * w);
}

TEST_F(TrueContours, DoorSwingIsAQuarterDisc) {
  // Leaf from the hinge (0, 0) to (0, 90), swing back to the wall at (90, 0).
  mem::AddLine(drawing, {-50, 0}, {150, 0});
  mem::AddLine(drawing, {0, 0}, {0, 90});
  mem::AddArc(drawing, {0, 0}, 90, 0, kPi / 2);
  const auto curves = PickCurves(30, 30, 2);
  ASSERT_EQ(curves.size(), 1u);
  EXPECT_EQ(Arcs(curves[0]), 1);
  const AreaMeasures m = MeasureArea(curves);
  EXPECT_NEAR(m.area, kPi * 90 * 90 / 4, 1e-9 * 8100);
  EXPECT_NEAR(m.perimeter, 180 + kPi * 45, 1e-9 * 180);
}

TEST_F(TrueContours, EllipseIslandAndItsInsideMeasureAsTheTrueEllipse) {
  // Semi-axes 20 and 10, major axis turned by 0.4 radians; circumference
  // of a 2:1 ellipse is 9.688448220547675 times its minor semi-axis.
  mem::AddRectangle(drawing, {-50, -50}, {50, 50});
  mem::AddEllipse(drawing, {0, 0}, 20.0 * Vec2{std::cos(0.4), std::sin(0.4)}, 0.5);
  const auto inside = PickCurves(1, 1, 4);
  ASSERT_EQ(inside.size(), 1u);
  ASSERT_EQ(inside[0].size(), 1u);
  EXPECT_FALSE(inside[0][0].Circular());
  const AreaMeasures m = MeasureArea(inside);
  EXPECT_NEAR(m.area, kPi * 200, 1e-9 * 200);
  EXPECT_NEAR(m.perimeter, 96.88448220547675, 1e-9 * 100);
  const auto outside = PickCurves(-45, -45, 4);
  ASSERT_EQ(outside.size(), 2u);
  EXPECT_NEAR(MeasureArea(outside).area, 10000 - kPi * 200, 1e-9 * 10000);
}

TEST_F(TrueContours, ChordsAcrossACircleStayStraight) {
  // A line between two points of the circle 5 degrees apart: the small
  // segment it cuts off is bounded by that line and a short arc, both of
  // which look alike to a contour of two points.
  const double r = 100, a = 5 * kPi / 180, segment = r * r / 2 * (a - std::sin(a));
  const Vec2 p{r, 0}, q{r * std::cos(a), r * std::sin(a)};
  mem::AddCircle(drawing, {0, 0}, r);
  const auto line = mem::AddLine(drawing, p, q);
  const double mid = r * (1 + std::cos(a / 2)) / 2;
  const auto curves = PickCurves(mid * std::cos(a / 2), mid * std::sin(a / 2), 200);
  ASSERT_EQ(curves.size(), 1u);
  ASSERT_EQ(curves[0].size(), 2u);
  EXPECT_EQ(Arcs(curves[0]), 1);
  EXPECT_NEAR(MeasureArea(curves).area, segment, 1e-9 * r * r * a * a * a);
  // The chord drawn in two halves, and a contour that takes the halves as one edge.
  line->Delete();
  mem::AddLine(drawing, p, 0.5 * (p + q));
  mem::AddLine(drawing, 0.5 * (p + q), q);
  Contour contour;
  for (int k = 0; k <= 5; ++k) contour.push_back({r * std::cos(a * k / 5), r * std::sin(a * k / 5)});
  contour.push_back({p.x, p.y});
  const TrueContour c = FollowCurves(*drawing, contour);
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(Arcs(c), 1);
  EXPECT_NEAR(SignedArea(c), segment, 1e-9 * r * r * a * a * a);
}

}  // namespace
}  // namespace pphatch::formats
