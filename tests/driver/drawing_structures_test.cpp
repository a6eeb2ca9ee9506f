// Requests on the structures real drawings are full of: blocks inside
// blocks, curves inside blocks, circles drawn in pieces, lines ending on
// curves, large arcs, long open chains, turned views. Each test is named
// after a fault it pins down.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "memhost/snapshot.h"
#include "support/request_fixture.h"

namespace pphatch {
namespace {

using mem::Into;
using mem::Placement;
using mem::Vec2;

constexpr double kPi = std::numbers::pi;

/// Area of the polygon of n equal chords inscribed in a circle of radius r.
double ChordPolygonArea(double r, int n) { return 0.5 * n * r * r * std::sin(2 * kPi / n); }

class DrawingStructures : public ::testing::Test, public RequestFixture {
 protected:
  /// A room [0, 40] x [0, 30] viewed whole.
  void AddRoom() {
    mem::AddRectangle(Into(drawing), {0, 0}, {40, 30});
    Look({20, 15}, 20);
  }
  /// The click's area, which must be found; its net area and island count.
  PickOutcome Found(double x, double y) {
    const PickOutcome out = Pick(x, y);
    EXPECT_TRUE(out.ok) << "click at " << x << ", " << y << ": " << out.error;
    return out;
  }
};

TEST_F(DrawingStructures, BlocksInsideBlocksBoundIslandsThroughEveryLevel) {
  AddRoom();
  // A chair (a 1 x 1 square) in a table block, the table in a room block.
  const auto chair = mem::NewBlock(*drawing);
  mem::AddRectangle(Into(chair), {0, 0}, {1, 1});
  const auto table = mem::NewBlock(*drawing);
  mem::AddRectangle(Into(table), {0, 0}, {4, 2});
  mem::AddInsert(Into(table), chair, Placement{5, 0, 1, 0});
  const auto group = mem::NewBlock(*drawing);
  mem::AddInsert(Into(group), table, Placement{0, 0, 1, 0});
  // Turned, mirrored in x and scaled unevenly (x 2, y 0.5): the table is an
  // 8 x 1 rectangle, the chair 2 x 0.5 beside it.
  mem::AddInsert(Into(drawing), group, Placement{.x = 30, .y = 20, .scale = -2, .rotation = kPi / 2, .yscale = 0.5});
  const std::string before = mem::Snapshot(*drawing);
  const PickOutcome out = Found(5, 5);
  EXPECT_EQ(mem::Snapshot(*drawing), before);
  ASSERT_EQ(out.contours.size(), 3u);
  EXPECT_NEAR(out.NetArea(), 1200 - 8 - 1, 1e-9);
}

TEST_F(DrawingStructures, CurvesInsideBlocksKeepTheirTrueShape) {
  AddRoom();
  // A slot: two half circles of radius 1 joined by straight sides 4 long.
  const auto block = mem::NewBlock(*drawing);
  mem::AddPolyline(Into(block), {{0, 0, 0}, {4, 0, 1}, {4, 2, 0}, {0, 2, 1}}, true);
  mem::AddCircle(Into(block), {10, 1}, 1);
  mem::AddInsert(Into(drawing), block, Placement{.x = 10, .y = 10, .scale = 1, .yscale = 2});
  const PickOutcome out = Found(2, 2);
  ASSERT_EQ(out.contours.size(), 3u);
  // The slot doubled in height: 4 x 4 and two half ellipses of radii 1, 2;
  // the circle an ellipse of radii 1 and 2. Chords lose a little of each.
  const double slot = 16 + kPi * 2, ellipse = kPi * 2;
  EXPECT_NEAR(out.NetArea(), 1200 - slot - ellipse, 0.05 * (slot + ellipse));
  EXPECT_LT(out.NetArea(), 1200 - 0.95 * (slot + ellipse));
}

TEST_F(DrawingStructures, CircleDrawnInPiecesClosesLikeOneCircle) {
  // Two half arcs; a polyline whose two bulges make a circle; a D of a line
  // and two quarter arcs.
  mem::AddArc(Into(drawing), {0, 0}, 5, 0, kPi);
  mem::AddArc(Into(drawing), {0, 0}, 5, kPi, 2 * kPi);
  mem::AddPolyline(Into(drawing), {{20, 0, 1}, {30, 0, 1}}, true);
  mem::AddLine(Into(drawing), {40, -5}, {40, 5});
  mem::AddArc(Into(drawing), {40, 0}, 5, 0, kPi / 2);
  mem::AddArc(Into(drawing), {40, 0}, 5, 3 * kPi / 2, 2 * kPi);
  Look({20, 0}, 15);
  EXPECT_NEAR(Found(1, 1).NetArea(), ChordPolygonArea(5, 60), 0.01);
  EXPECT_NEAR(Found(25, 1).NetArea(), ChordPolygonArea(5, 60), 0.01);
  EXPECT_NEAR(Found(42, 1).NetArea(), ChordPolygonArea(5, 80) / 2, 1e-9);  // 20 chords a quarter
}

TEST_F(DrawingStructures, LinesEndingOnEllipsesAndSplinesMeetThem) {
  // A cap of an ellipse cut off by a line whose ends lie on the ellipse
  // between its sampled points, and the same on a curve through points.
  const Vec2 centre{0, 0};
  mem::AddEllipse(Into(drawing), centre, {10, 0}, 0.5);
  const double t = 0.3;  // parameter of the ends, between samples
  mem::AddLine(Into(drawing), {10 * std::cos(t), 5 * std::sin(t)}, {10 * std::cos(t), -5 * std::sin(t)});
  std::vector<Vec2> arch;
  for (int k = 0; k <= 40; ++k) arch.push_back({30 + 10 * std::cos(kPi * k / 40), 10 * std::sin(kPi * k / 40)});
  mem::AddCurve(Into(drawing), arch);
  // A line across the arch whose ends lie on the true curve, between its points.
  const double w = std::sqrt(91.0);
  mem::AddLine(Into(drawing), {30 - w, 3}, {30 + w, 3});
  Look({15, 0}, 20);
  const PickOutcome cap = Found(9.9, 0);
  EXPECT_GT(cap.NetArea(), 0);
  EXPECT_LT(cap.NetArea(), 2);
  const PickOutcome inside = Found(2, 0);  // the rest of the ellipse
  EXPECT_NEAR(inside.NetArea() + cap.NetArea(), kPi * 50, 0.5);
  EXPECT_NEAR(Found(30, 5).NetArea(), 100 * std::acos(0.3) - 3 * w, 0.5);
}

TEST_F(DrawingStructures, ClickBetweenACircleAndItsChordsFindsTheCircle) {
  mem::AddRectangle(Into(drawing), {-20, -20}, {20, 20});
  mem::AddCircle(Into(drawing), {0, 0}, 10);
  Look({0, 0}, 20);
  // Halfway between two samples, outside the chord but inside the circle:
  // the chord is cut at the circle's point beside the click, and the
  // boundary holds the click.
  const double a = 3 * kPi / 180;
  const Vec2 click{9.9995 * std::cos(a), 9.9995 * std::sin(a)};
  const PickOutcome out = Found(click.x, click.y);
  ASSERT_EQ(out.contours.size(), 1u);
  EXPECT_TRUE(out.OuterHolds(click.x, click.y));
  const double cut = 100 * std::sin(a) * (1 - std::cos(a));  // the triangle the cut adds
  EXPECT_NEAR(out.NetArea(), ChordPolygonArea(10, 60) + cut, 1e-9);
}

TEST_F(DrawingStructures, LargeArcNeitherClosesEarlyNorStalls) {
  // A 100 x 100 room whose top wall is an arc of radius 10,000, and a stub
  // standing on the floor near a corner.
  const double r = 10000, half = std::asin(50 / r);
  const Vec2 centre{50, 100 - r * std::cos(half)};
  mem::AddArc(Into(drawing), centre, r, kPi / 2 - half, kPi / 2 + half);
  mem::AddLine(Into(drawing), {0, 0}, {100, 0});
  mem::AddLine(Into(drawing), {0, 0}, {0, 100});
  mem::AddLine(Into(drawing), {100, 0}, {100, 100});
  mem::AddLine(Into(drawing), {2, 0}, {2, 1});
  Look({50, 50}, 6);
  const double bulge = r * r * (2 * half - std::sin(2 * half)) / 2;  // circular segment
  EXPECT_NEAR(Found(50, 50).NetArea(), 10000 + bulge, 1.0);
  EXPECT_NEAR(Found(1, 0.5).NetArea(), 10000 + bulge, 1.0);
  // A 10 x 10 room of four lines with an arc of radius 4,000 lying 2 below it.
  RequestFixture other;
  const std::vector<Vec2> corners = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  for (size_t k = 0; k < 4; ++k) mem::AddLine(Into(other.drawing), corners[k], corners[(k + 1) % 4]);
  mem::AddArc(Into(other.drawing), {5, -2 - 4000}, 4000, kPi / 2 - 0.01, kPi / 2 + 0.01);
  other.Look({5, 5}, 50);
  const PickOutcome room = other.Pick(5, 5);
  ASSERT_TRUE(room.ok);
  EXPECT_NEAR(room.NetArea(), 100, 1e-9);
}

TEST_F(DrawingStructures, LongOpenZigzagNeitherHidesIslandsNorBlocksClicks) {
  AddRoom();
  std::vector<Vec2> zigzag;
  for (int k = 0; k < 6000; ++k) zigzag.push_back({5 + 30.0 * k / 6000, k % 2 ? 16.0 : 14.0});
  mem::AddChain(Into(drawing), zigzag);
  mem::AddRectangle(Into(drawing), {36, 14}, {38, 16});
  for (const Vec2 click : {Vec2{20, 5}, Vec2{20, 25}, Vec2{2, 15}}) {
    const PickOutcome out = Found(click.x, click.y);
    ASSERT_EQ(out.contours.size(), 2u) << click.x << ", " << click.y;
    EXPECT_NEAR(out.NetArea(), 1200 - 4, 1e-9);
  }
}

TEST_F(DrawingStructures, TurnedAndMirroredViewsKeepEveryIsland) {
  mem::AddRectangle(Into(drawing), {0, 0}, {40, 10});
  // Islands near the box's corners, off the diagonal between two of them.
  mem::AddRectangle(Into(drawing), {1, 8}, {2, 9});
  mem::AddRectangle(Into(drawing), {38, 1}, {39, 2});
  mem::AddRectangle(Into(drawing), {20, 4}, {21, 5});
  for (const bool mirrored : {false, true}) {
    for (const double degrees : {0.0, 30.0, 45.0, 137.0}) {
      view->SetMirrored(mirrored);
      Look({20, 5}, 20, degrees * kPi / 180);
      const PickOutcome out = Found(10, 5);
      EXPECT_EQ(out.contours.size(), 4u) << degrees << (mirrored ? " mirrored" : "");
      EXPECT_NEAR(out.NetArea(), 400 - 3, 1e-9) << degrees << (mirrored ? " mirrored" : "");
    }
  }
}

TEST_F(DrawingStructures, UnreadableGraphicIsLeftOutNotFatal) {
  AddRoom();
  // A filled curve without its outline child: its chain cannot be read.
  const auto curve = mem::AddTyped(Into(drawing), "PWW30CURVE", {{10, 10}, {12, 12}, {10, 14}});
  mem::SetProperty(curve, "BrushStyle", std::string("Solid"));
  EXPECT_NEAR(Found(5, 5).NetArea(), 1200, 1e-9);
}

TEST_F(DrawingStructures, RequestLeavesParallelWorkplaneGraphicsWhereTheyWere) {
  drawing->Props().Define("TileMode", 1.0);
  const auto room = mem::AddRectangle(Into(drawing), {0, 0}, {40, 30});
  room->SetPlane(drawing->CurrentWorkplane()->MovedAlongNormal(1e-7));
  Look({20, 15}, 20);
  const std::string before = mem::Snapshot(*drawing);
  EXPECT_NEAR(Found(5, 5).NetArea(), 1200, 1e-9);
  EXPECT_EQ(mem::Snapshot(*drawing), before);
}

TEST_F(DrawingStructures, PolygonFoldedFlatOnOneLineBoundsNothing) {
  mem::AddRectangle(Into(drawing), {6.5, 5.5}, {98, 96.5});
  mem::AddPolygon(Into(drawing), {{21.5, 93.5}, {21.5, 92}, {21.5, 85}});
  Look({50, 50}, 7);
  EXPECT_NEAR(Found(53.22, 92.97).NetArea(), 91.5 * 91, 1e-6);
}

TEST_F(DrawingStructures, LineAlongATrianglesSideStillCutsTheTriangleOut) {
  mem::AddRectangle(Into(drawing), {4, 7.5}, {93.5, 99});
  mem::AddPolygon(Into(drawing), {{37, 20}, {28.5, 14.5}, {28.5, 13}});
  mem::AddLine(Into(drawing), {37, 20}, {32.75, 16.5});
  Look({50, 50}, 7);
  EXPECT_NEAR(Found(21.25, 16.87).NetArea(), 8182.875, 1e-6);
}

}  // namespace
}  // namespace pphatch
