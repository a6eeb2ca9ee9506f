// End-to-end requests through the in-memory host.
#include <gtest/gtest.h>

#include <algorithm>
#include <any>
#include <cmath>
#include <cstdlib>

#include "component/message_text.h"
#include "memhost/snapshot.h"
#include "support/request_fixture.h"

namespace pphatch {
namespace {

using mem::Into;
using mem::Vec2;

constexpr const char* kNoArea = "Operation can not be performed with these objects.";

/// Area of the 60-gon that stands for a circle of radius r.
double CircleChainArea(double r) { return 30 * r * r * std::sin(6 * 3.14159265358979 / 180); }

class Request : public ::testing::Test, public RequestFixture {};

TEST_F(Request, PlainRectangleInPannedZoomedView) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  Look({3, 4}, 25);
  const PickOutcome out = Pick(5, 5);
  ASSERT_TRUE(out.ok) << out.error;
  ASSERT_EQ(out.contours.size(), 1u);
  EXPECT_EQ(out.contours[0].size(), 5u);
  EXPECT_NEAR(out.NetArea(), 100, 1e-9);
  EXPECT_EQ(out.beeps, 0);
}

TEST_F(Request, IslandComesBackAsInnerBoundaryOuterFirst) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  mem::AddRectangle(Into(drawing), {4, 4}, {6, 6});
  Look({5, 5}, 30);
  // Left of the island the march meets the outer boundary first; right of
  // it, the island's loop is met first, filed and passed.
  for (double x : {2.0, 8.0}) {
    const PickOutcome out = Pick(x, 5);
    ASSERT_TRUE(out.ok) << x;
    ASSERT_EQ(out.contours.size(), 2u) << x;
    EXPECT_NEAR(std::fabs(SignedArea(out.contours[0])), 100, 1e-9) << x;
    EXPECT_NEAR(std::fabs(SignedArea(out.contours[1])), 4, 1e-9) << x;
  }
}

TEST_F(Request, ClickInsideIslandFindsTheIsland) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  mem::AddRectangle(Into(drawing), {4, 4}, {6, 6});
  Look({5, 5}, 30);
  const PickOutcome out = Pick(5, 5);
  ASSERT_TRUE(out.ok);
  ASSERT_EQ(out.contours.size(), 1u);
  EXPECT_NEAR(out.NetArea(), 4, 1e-9);
}

TEST_F(Request, ClickOnBoundaryLineTakesThatLoop) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  mem::AddRectangle(Into(drawing), {4, 4}, {6, 6});
  Look({5, 5}, 30);
  const PickOutcome out = Pick(6, 5);  // on the island's right side
  ASSERT_TRUE(out.ok);
  EXPECT_NEAR(std::fabs(SignedArea(out.contours[0])), 4, 1e-9);
}

TEST_F(Request, NestedIslandsOnlyOutermostBecomeInnerBoundaries) {
  mem::AddRectangle(Into(drawing), {0, 0}, {20, 20});
  mem::AddRectangle(Into(drawing), {5, 5}, {15, 15});
  mem::AddRectangle(Into(drawing), {8, 8}, {12, 12});
  Look({10, 10}, 20);
  const PickOutcome out = Pick(2, 10);
  ASSERT_TRUE(out.ok);
  ASSERT_EQ(out.contours.size(), 2u);
  EXPECT_NEAR(out.NetArea(), 400 - 100, 1e-9);
}

TEST_F(Request, IslandSharingAVertexWithOuterBoundaryIsDropped) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  mem::AddPolygon(Into(drawing), {{10, 10}, {7, 8}, {8, 7}});  // touches the corner
  mem::AddRectangle(Into(drawing), {2, 2}, {3, 3});            // a true island
  Look({5, 5}, 30);
  const PickOutcome out = Pick(5, 2.5);
  ASSERT_TRUE(out.ok);
  // The triangle hangs on the outer boundary's corner: it is part of the
  // walk or dropped, never an island; the small square is an island.
  double islands = 0;
  for (size_t i = 1; i < out.contours.size(); ++i) islands += std::fabs(SignedArea(out.contours[i]));
  EXPECT_NEAR(islands, 1, 1e-9);
}

TEST_F(Request, LineTouchingOuterBoundaryFromInsideIsNoIsland) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  mem::AddLine(Into(drawing), {10, 5}, {7, 5});
  Look({5, 5}, 30);
  const PickOutcome out = Pick(3, 3);
  ASSERT_TRUE(out.ok);
  EXPECT_NEAR(out.NetArea(), 100, 1e-9);
  EXPECT_EQ(out.contours.size(), 1u);
}

TEST_F(Request, AreasBoundedByCurvedAndCompositeGraphics) {
  // A circle.
  mem::AddCircle(Into(drawing), {0, 0}, 5);
  // A group of four lines forming a square.
  auto group = mem::AddGroup(Into(drawing));
  mem::AddLine(Into(group), {20, 0}, {30, 0});
  mem::AddLine(Into(group), {30, 0}, {30, 10});
  mem::AddLine(Into(group), {30, 10}, {20, 10});
  mem::AddLine(Into(group), {20, 10}, {20, 0});
  // A rectangle inserted turned by 90 degrees and scaled by 2.
  auto block = mem::NewBlock(*drawing);
  mem::AddRectangle(Into(block), {0, 0}, {4, 2});
  mem::AddInsert(Into(drawing), block, {50, 0, 2, 3.14159265358979 / 2});
  // A square whose top side bulges out as a half circle of radius 5.
  mem::AddPolyline(Into(drawing), {{70, 0, 0}, {80, 0, 0}, {80, 10, 1}, {70, 10, 0}}, true);
  Look({40, 5}, 8);

  PickOutcome out = Pick(0, 1);
  ASSERT_TRUE(out.ok);
  EXPECT_NEAR(out.NetArea(), CircleChainArea(5), 1e-6);

  out = Pick(25, 5);
  ASSERT_TRUE(out.ok);
  EXPECT_NEAR(out.NetArea(), 100, 1e-9);

  out = Pick(47, 4);
  ASSERT_TRUE(out.ok);
  EXPECT_NEAR(out.NetArea(), 32, 1e-6);

  out = Pick(75, 5);
  ASSERT_TRUE(out.ok);
  EXPECT_NEAR(out.NetArea(), 100 + CircleChainArea(5) / 2, 1e-6);
}

TEST_F(Request, ClickAtTheHeightOfASampledCircleVertex) {
  // The circle's vertex at 180 degrees lies within rounding of the click's
  // height; the march must still meet the circle there.
  mem::AddRectangle(Into(drawing), {0, 0}, {100, 50});
  mem::AddCircle(Into(drawing), {25, 25}, 5);
  Look({50, 25}, 8);
  const PickOutcome hole = Pick(25, 25);
  ASSERT_TRUE(hole.ok);
  EXPECT_NEAR(hole.NetArea(), CircleChainArea(5), 1e-6);
  const PickOutcome plate = Pick(40, 25);
  ASSERT_TRUE(plate.ok);
  ASSERT_EQ(plate.contours.size(), 2u);
  EXPECT_NEAR(plate.NetArea(), 5000 - CircleChainArea(5), 1e-6);
}

TEST_F(Request, WallsAndDoubleLinesBoundAreas) {
  auto wall = mem::AddWall(Into(drawing));
  mem::AddPolygon(Into(wall), {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  mem::AddPolygon(Into(wall), {{-1, -1}, {11, -1}, {11, 11}, {-1, 11}});
  Look({5, 5}, 30);
  const PickOutcome out = Pick(5, 5);
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_NEAR(out.NetArea(), 100, 1e-9);
}

TEST_F(Request, NothingClosesGivesOneBeepAndTheMessage) {
  // An open U: no loop holds the click.
  mem::AddChain(Into(drawing), std::vector<Vec2>{{10, 10}, {0, 10}, {0, 0}, {10, 0}});
  Look({5, 5}, 30);
  const mem::Vec2 v = view->ToView({5, 5});
  HostGraphicPtr result = mem::AddPoint(Into(drawing), {100, 100});
  const HostGraphicPtr untouched = result;
  std::string error;
  std::any reserved = 42;
  int beeps = 0;
  SetBeepHandler([&] { ++beeps; });
  EXPECT_FALSE(hatch->CreateClosedContour(v.x, v.y, result, error, reserved));
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(error, kNoArea);
  EXPECT_EQ(result, untouched);
  EXPECT_EQ(std::any_cast<int>(reserved), 42);
}

TEST_F(Request, FailureMessageIsTranslatedWhenTheLanguageLibraryIsThere) {
  mem::AddLine(Into(drawing), {0, 0}, {0, 10});
  Look({5, 5}, 30);
  setenv("PPHATCH_LANG", "de", 1);
  SetLanguageLibraryPath(std::string(PPHATCH_BUILD_DIR) + "/libwordhold.so");
  const PickOutcome translated = Pick(5, 5);
  SetLanguageLibraryPath("");  // no library: the component's own text
  const PickOutcome own = Pick(5, 5);
  ResetLanguageLibraryPath();
  unsetenv("PPHATCH_LANG");
  EXPECT_FALSE(translated.ok);
  EXPECT_EQ(translated.error, "Die Operation kann mit diesen Objekten nicht ausgeführt werden.");
  EXPECT_EQ(own.error, kNoArea);
}

TEST_F(Request, BeforeInitTheErrorReachesTheCaller) {
  PickPointHatch fresh;
  {
    // Destroying another object of this thread empties the view and drawing.
    PickPointHatch other;
  }
  HostGraphicPtr result;
  std::string error;
  std::any reserved;
  EXPECT_THROW(fresh.CreateClosedContour(1, 1, result, error, reserved), HostError);
  EXPECT_TRUE(error.empty());
}

TEST_F(Request, DrawingUnchangedOnSuccessAndFailure) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  auto filled = mem::AddRectangle(Into(drawing), {2, 2}, {4, 4});
  mem::SetProperty(filled, "BrushStyle", std::string("Solid"));
  auto block = mem::NewBlock(*drawing);
  mem::AddRectangle(Into(block), {0, 0}, {1, 1});
  mem::AddInsert(Into(drawing), block, {6, 6, 1, 0.3});
  mem::AddLine(Into(drawing), {20, 0}, {20, 10});
  Look({5, 5}, 30);
  const std::string before = mem::Snapshot(*drawing);
  EXPECT_TRUE(Pick(3, 3).ok);   // inside the filled square
  EXPECT_TRUE(Pick(8, 3).ok);   // beside the filled square and the insert
  EXPECT_FALSE(Pick(25, 5).ok); // right of a lone line
  EXPECT_EQ(mem::Snapshot(*drawing), before);
}

TEST_F(Request, InjectedHostFailureIsTrappedAndFillsRestored) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  auto filled = mem::AddRectangle(Into(drawing), {2, 2}, {8, 8});
  mem::SetProperty(filled, "BrushStyle", std::string("Solid"));
  Look({5, 5}, 30);
  const std::string before = mem::Snapshot(*drawing);
  drawing->Faults().Fail("HostGraphic.Vertices").After(3);
  const PickOutcome out = Pick(5, 5);
  drawing->Faults().ClearFaults();
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.error, kNoArea);
  EXPECT_EQ(out.beeps, 1);
  EXPECT_EQ(mem::Snapshot(*drawing), before);
  // The object works normally afterwards.
  const PickOutcome again = Pick(5, 5);
  ASSERT_TRUE(again.ok);
  EXPECT_NEAR(again.NetArea(), 36, 1e-9);
}

TEST_F(Request, ClockJumpPastTheBudgetFails) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  Look({5, 5}, 30);
  double now = 1000;
  SetClockForTesting([&] { return now += 30; });  // every reading 30 s later
  const PickOutcome out = Pick(5, 5);
  SetClockForTesting(nullptr);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.error, kNoArea);
}

/// The rooms of a small plan: two rectangles sharing a wall, with a column.
void BuildPlan(mem::MemDrawing& d, Vec2 shift, double turn, bool reversed) {
  auto place = [&](Vec2 p) { return shift + mem::Rotated(p, turn); };
  std::vector<std::vector<Vec2>> rings = {
      {{0, 0}, {10, 0}, {10, 8}, {0, 8}}, {{10, 0}, {16, 0}, {16, 8}, {10, 8}},
      {{3, 3}, {5, 3}, {5, 4}, {3, 4}}};
  if (reversed) std::reverse(rings.begin(), rings.end());
  auto drawingPtr = d.shared_from_this();
  for (auto& ring : rings) {
    for (auto& p : ring) p = place(p);
    mem::AddPolygon(Into(drawingPtr), ring);
  }
}

TEST_F(Request, AreaUnchangedByTranslationQuarterTurnsAndReordering) {
  // The drawing and the view are turned independently: the search marches
  // along the drawing's -x axis whichever way it shows on screen. Clicks left
  // and right of the column; the right one meets the column's loop first.
  const double quarter = 3.14159265358979 / 2;
  for (int turns = 0; turns < 4; ++turns) {
    for (int viewTurns = 0; viewTurns < 4; ++viewTurns) {
      for (bool reversed : {false, true}) {
        RequestFixture f;
        const Vec2 shift{1000.5, -250.25};
        BuildPlan(*f.drawing, shift, turns * quarter, reversed);
        f.Look(shift + mem::Rotated({8, 4}, turns * quarter), 30, viewTurns * quarter);
        for (Vec2 local : {Vec2{1, 1}, Vec2{8, 3.5}}) {
          const Vec2 click = shift + mem::Rotated(local, turns * quarter);
          const PickOutcome out = f.Pick(click.x, click.y);
          ASSERT_TRUE(out.ok) << turns << viewTurns << reversed << local.x;
          EXPECT_NEAR(out.NetArea(), 80 - 2, 1e-6) << turns << viewTurns << reversed << local.x;
        }
      }
    }
  }
}

}  // namespace
}  // namespace pphatch
