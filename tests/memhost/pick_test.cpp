#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "memhost/pick_index.h"
#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

using Ids = std::vector<int>;
constexpr double kPi = std::numbers::pi;

TEST(PickPoint, LineCircleAndArcWithinApertureOnly) {
  HostFixture f;
  const int line = AddLine(f.drawing, {0, 0}, {10, 0})->Id();
  EXPECT_EQ(f.PickAt(5, 0.9, 1), Ids{line});
  EXPECT_EQ(f.PickAt(5, 1.1, 1), Ids{});
  EXPECT_EQ(f.PickAt(10.55, 0.8, 1), Ids{line});  // 0.996 from the end point
  EXPECT_EQ(f.PickAt(10.7, 0.8, 1), Ids{});  // 1.06 from it

  const int circle = AddCircle(f.drawing, {100, 0}, 5)->Id();
  EXPECT_EQ(f.PickAt(105.9, 0, 1), Ids{circle});
  EXPECT_EQ(f.PickAt(103.9, 0, 1), Ids{});  // 1.1 inside the rim
  EXPECT_EQ(f.PickAt(100, 0, 1), Ids{});   // the centre is not drawn

  // Quarter arc from 0 to 90 degrees: its circle's lower half is absent.
  const int arc = AddArc(f.drawing, {200, 0}, 5, 0, kPi / 2)->Id();
  EXPECT_EQ(f.PickAt(200, 5.5, 1), Ids{arc});
  EXPECT_EQ(f.PickAt(200 + 5 * std::cos(kPi / 4), 5 * std::sin(kPi / 4), 0.01), Ids{arc});
  EXPECT_EQ(f.PickAt(200, -5, 1), Ids{});
  EXPECT_EQ(f.PickAt(205, -0.9, 1), Ids{arc});  // near the end point (205, 0)
  EXPECT_EQ(f.PickAt(205, -1.1, 1), Ids{});
}

TEST(PickPoint, PolylineArcRunIsATrueArc) {
  HostFixture f;
  // Bulge 1 from (0,0) to (2,0): a counter-clockwise half circle below the chord.
  const auto poly = AddPolyline(f.drawing, {{0, 0, 1}, {2, 0, 0}});
  EXPECT_EQ(f.PickAt(1, -1, 0.01), Ids{poly->Id()});
  EXPECT_EQ(f.PickAt(1 + std::sqrt(0.5), -std::sqrt(0.5), 0.01), Ids{poly->Id()});
  EXPECT_EQ(f.PickAt(1, 1, 0.5), Ids{});   // the other half
  EXPECT_EQ(f.PickAt(1, 0, 0.5), Ids{});   // the chord is not drawn
}

TEST(PickPoint, FindsTopLevelGraphicThroughGroupMembersAndInsertParts) {
  HostFixture f;
  const auto group = AddGroup(f.drawing);
  AddData(group);
  AddLine(group, {0, 10}, {10, 10});
  EXPECT_EQ(f.PickAt(5, 10.5, 1), Ids{group->Id()});

  const auto block = NewBlock(*f.drawing);
  AddLine(block, {0, 0}, {1, 0});
  // Scale 2, quarter turn: the block's line lands on (100,50)-(100,52).
  const auto insert = AddInsert(f.drawing, block, {100, 50, 2, kPi / 2});
  EXPECT_EQ(f.PickAt(100.9, 51, 1), Ids{insert->Id()});
  EXPECT_EQ(f.PickAt(101.1, 51, 1), Ids{});
  EXPECT_EQ(f.PickAt(0.5, 0, 1), Ids{});  // the block itself is not in the drawing
}

TEST(PickPoint, TextOutlineSkipsPenUpMoves) {
  HostFixture f;
  const auto text = AddText(f.drawing, 3, {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{2, 0}, {3, 0}, {3, 1}}});
  EXPECT_EQ(f.PickAt(1.5, 0, 0.2), Ids{});  // the move from (0,0) to (2,0) is pen-up
  EXPECT_EQ(f.PickAt(2.5, 0, 0.2), Ids{text->Id()});
  EXPECT_EQ(f.PickAt(0, 0.5, 0.2), Ids{text->Id()});  // each letter is closed
}

TEST(PickPoint, FilledClosedAreaIsPickedInside) {
  HostFixture f;
  const auto square = AddRectangle(f.drawing, {0, 0}, {10, 10});
  const auto disc = AddCircle(f.drawing, {30, 5}, 5);
  EXPECT_EQ(f.PickAt(5, 5, 1), Ids{});
  SetProperty(square, "BrushStyle", std::string("Solid"));
  SetProperty(disc, "BrushStyle", std::string("Hatch"));
  EXPECT_EQ(f.PickAt(5, 5, 1), Ids{square->Id()});
  EXPECT_EQ(f.PickAt(30, 5, 1), Ids{disc->Id()});
  EXPECT_EQ(f.PickAt(15, 5, 1), Ids{});
  SetProperty(square, "BrushStyle", std::string());  // a blanked fill
  EXPECT_EQ(f.PickAt(5, 5, 1), Ids{});
  // An open chain has no area, whatever its brush.
  const auto open = AddChain(f.drawing, {{50, 0}, {60, 0}, {60, 10}, {50, 10}});
  SetProperty(open, "BrushStyle", std::string("Solid"));
  EXPECT_EQ(f.PickAt(55, 5, 1), Ids{});
}

TEST(PickPoint, ResultsComeInDrawingOrder) {
  HostFixture f;
  Ids expected;
  for (int k = 0; k < 40; ++k) {
    const double a = k * kPi / 40;
    expected.push_back(AddLine(f.drawing, {-std::cos(a), -std::sin(a)}, {std::cos(a), std::sin(a)})->Id());
  }
  f.drawing->List()->Remove(3);
  expected.erase(expected.begin() + 3);
  expected.push_back(std::dynamic_pointer_cast<MemGraphic>(f.drawing->List()->Item(0)->Duplicate())->Id());
  EXPECT_EQ(f.PickAt(0, 0, 0.1), expected);
}

TEST(PickPoint, ReflectsGraphicsAddedMovedAndRemoved) {
  HostFixture f;
  EXPECT_EQ(f.PickAt(5, 5, 0.5), Ids{});
  const auto line = AddLine(f.drawing, {0, 5}, {10, 5});
  EXPECT_EQ(f.PickAt(5, 5, 0.5), Ids{line->Id()});
  line->Vertices()->Item(1)->SetY(50);  // now from (0,5) to (10,50)
  EXPECT_EQ(f.PickAt(5, 5, 0.5), Ids{});
  EXPECT_EQ(f.PickAt(10, 50, 0.5), Ids{line->Id()});

  const auto group = AddGroup(f.drawing);
  const auto member = AddLine(group, {0, 100}, {10, 100});
  member->Vertices()->Item(0)->SetY(90);
  EXPECT_EQ(f.PickAt(0, 90, 0.5), Ids{group->Id()});

  f.drawing->List()->Remove(line->Index());
  EXPECT_EQ(f.PickAt(10, 50, 0.5), Ids{});
  group->Delete();
  EXPECT_EQ(f.PickAt(0, 90, 0.5), Ids{});
}

TEST(PickWindow, FindsGraphicsCrossingOrInsideOnly) {
  HostFixture f;
  const int crossing = AddLine(f.drawing, {-100, 5}, {100, 5})->Id();
  const int inside = AddCircle(f.drawing, {5, 5}, 1)->Id();
  AddLine(f.drawing, {-100, 20}, {100, 20});
  AddCircle(f.drawing, {5, 5}, 50);  // encloses the window without meeting it
  const int arcCrossing = AddArc(f.drawing, {5, -3}, 5, 0, kPi)->Id();
  EXPECT_EQ(f.PickWindowAt({0, 0}, {10, 10}), (Ids{crossing, inside, arcCrossing}));
}

TEST(PickWindow, WindowTurnsWithTheView) {
  HostFixture f;
  f.view->SetRotation(kPi / 4);
  // A view window 2 x 2 around the middle covers a diamond of half-diagonal
  // sqrt(2) in the drawing: (1.2, 0) is inside, (1.2, 1.2) is not.
  const int inDiamond = AddPoint(f.drawing, {1.2, 0})->Id();
  AddPoint(f.drawing, {1.2, 1.2});
  const auto result = f.view->PickWindow(499, 499, 501, 501);
  EXPECT_EQ(HostFixture::Ids(result), Ids{inDiamond});
}

TEST(PickIndex, CountInBoxCountsBoxesMeetingItUpToTheLimit) {
  HostFixture f;
  // Unit squares at x = 0, 2, 4, ..., 18.
  for (int i = 0; i < 10; ++i) AddRectangle(f.drawing, {2.0 * i, 0}, {2.0 * i + 1, 1});
  PickIndex& index = f.drawing->Index();
  EXPECT_EQ(index.Size(), 10u);
  EXPECT_EQ(index.CountInBox({1.5, 0.2, 6.5, 0.4}, 100), 3u);  // squares at 2, 4 and 6
  EXPECT_EQ(index.CountInBox({1.5, 0.2, 6.5, 0.4}, 2), 2u);
  EXPECT_EQ(index.CountInBox({3, 0, 3.5, 1}, 100), 1u);  // touching the square at 2
  EXPECT_EQ(index.CountInBox({1.2, 0, 1.8, 1}, 100), 0u);
}

TEST(PickIndex, GraphicsAddedAfterTheFirstPickJoinThoseIndexedAtOnce) {
  HostFixture f;
  // Indexed all at once by the first pick: 500 vertical lines at x = 0 .. 499,
  // the line at x = i with ID i + 1.
  for (int i = 0; i < 500; ++i) AddLine(f.drawing, {1.0 * i, 0}, {1.0 * i, 10});
  EXPECT_EQ(f.PickAt(250.5, 5, 0.6), (Ids{251, 252}));
  // Indexed one by one at the next pick, and listed in drawing order.
  const auto later = AddLine(f.drawing, {250.4, 0}, {250.4, 10});
  EXPECT_EQ(f.PickAt(250.5, 5, 0.6), (Ids{251, 252, later->Id()}));
  EXPECT_EQ(f.PickAt(250.35, 5, 0.1), (Ids{later->Id()}));
  EXPECT_EQ(f.drawing->Index().Size(), 501u);
}

}  // namespace
}  // namespace pphatch::mem
