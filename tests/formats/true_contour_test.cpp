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

TEST_F(TrueContours, AreasAndPerimetersFollowTheTrueCurvesToTheirClosedForms) {
  // Semi-axes 20 and 10, major axis turned by 0.4 radians, in a square 100 x 100; the
  // circumference of a 2:1 ellipse is 9.688448220547675 times its minor semi-axis.
  mem::AddRectangle(drawing, {250, -50}, {350, 50});
  mem::AddEllipse(drawing, {300, 0}, 20.0 * Vec2{std::cos(0.4), std::sin(0.4)}, 0.5);
  const double ellipse = kPi * 200;
  const struct {
    const char* what;
    Vec2 at;
    double zoom;
    std::size_t contours;
    int outerArcs;
    double area, perimeter, islandLength;  // the perimeter of the outer contour
  } cases[] = {
      {"inside the ellipse", {301, 1}, 4, 1, 1, ellipse, 96.88448220547675, 0},
      {"around the ellipse", {255, -45}, 4, 2, 0, 10000 - ellipse, 400, 96.88448220547675},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto curves = PickCurves(c.at.x, c.at.y, c.zoom);
    ASSERT_EQ(curves.size(), c.contours);
    EXPECT_EQ(Arcs(curves[0]), c.outerArcs);
    const AreaMeasures m = MeasureArea(curves);
    EXPECT_NEAR(m.area, c.area, 1e-9 * c.area);
    EXPECT_NEAR(m.perimeter, c.perimeter, 1e-9 * c.perimeter);
    // An island of one curve is one whole turn of it.
    if (c.contours == 2) {
      ASSERT_EQ(curves[1].size(), 1u);
      EXPECT_NEAR(m.contourLengths[1], c.islandLength, 1e-9 * c.islandLength);
      EXPECT_NEAR(std::fabs(curves[1][0].t1 - curves[1][0].t0), 2 * kPi, 1e-12);
    }
  }
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
