// Requests on the structures real drawings are full of: blocks inside
// blocks, curves inside blocks, circles drawn in pieces, lines ending on
// curves, large arcs, long open chains, turned views. Each row is named
// after a fault it pins down.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "driver/scenes.h"

namespace pphatch {
namespace {

using mem::Into;
using mem::Placement;
using mem::Vec2;

constexpr double kPi = std::numbers::pi;

/// Area of the polygon of n equal chords inscribed in a circle of radius r.
double ChordPolygonArea(double r, int n) { return 0.5 * n * r * r * std::sin(2 * kPi / n); }

/// A room [0, 40] x [0, 30].
constexpr const char* kRoom = "R 0 0 40 30";

// The slot of CurvesInsideBlocks doubled in height: 4 x 4 and two half
// ellipses of radii 1, 2; its circle an ellipse of radii 1 and 2.
constexpr double kSlotAndEllipse = 16 + kPi * 2 + kPi * 2;
// The arch of LinesEndingOnSplines: a line across it whose ends lie on the true curve.
const double kArchLine = std::sqrt(91.0);
// LargeArc: a 100 x 100 room whose top wall bulges as an arc of radius 10,000.
const double kHalfSweep = std::asin(50 / 1e4);
const double kBulge = 1e8 * (2 * kHalfSweep - std::sin(2 * kHalfSweep)) / 2;
// ClickBetweenACircleAndItsChords: halfway between two samples, outside the
// chord but inside the circle, and the triangle the cut there adds.
const double kThree = 3 * kPi / 180;
const Vec2 kBetween{9.9995 * std::cos(kThree), 9.9995 * std::sin(kThree)};
const double kCut = 100 * std::sin(kThree) * (1 - std::cos(kThree));

const Scene kScenes[] = {
    // BlocksInsideBlocksBoundIslandsThroughEveryLevel: a chair (in a group)
    // in a table block, the table in a group block inserted turned, mirrored
    // in x and scaled unevenly: the table an 8 x 1 rectangle, the chair 2 x 0.5.
    // Blocks inside blocks and groups inside blocks were once dropped.
    {kRoom, {20, 15}, 20, {{"blocks inside blocks", {5, 5}, 3, 1200 - 8 - 1, 1e-9}},
     [](const DrawingPtr& d) {
       const auto chair = mem::NewBlock(*d);
       mem::AddRectangle(Into(mem::AddGroup(Into(chair))), {0, 0}, {1, 1});
       const auto table = mem::NewBlock(*d);
       mem::AddRectangle(Into(table), {0, 0}, {4, 2});
       mem::AddInsert(Into(table), chair, Placement{5, 0, 1, 0});
       const auto group = mem::NewBlock(*d);
       mem::AddInsert(Into(group), table, Placement{0, 0, 1, 0});
       mem::AddInsert(Into(d), group,
                      Placement{.x = 30, .y = 20, .scale = -2, .rotation = kPi / 2, .yscale = 0.5});
     }},
    // CurvesInsideBlocksKeepTheirTrueShape: a slot (two half circles joined
    // by sides 4 long) and a circle in a block inserted with y scaled by 2.
    // A polyline's arcs in a block were once read through their control points.
    {kRoom, {20, 15}, 20,
     {{"curves inside blocks; chords lose a little", {2, 2}, 3, 1200 - kSlotAndEllipse,
       0.05 * kSlotAndEllipse}},
     [](const DrawingPtr& d) {
       const auto block = mem::NewBlock(*d);
       mem::AddPolyline(Into(block), {{0, 0, 0}, {4, 0, 1}, {4, 2, 0}, {0, 2, 1}}, true);
       mem::AddCircle(Into(block), {10, 1}, 1);
       mem::AddInsert(Into(d), block, Placement{.x = 10, .y = 10, .scale = 1, .yscale = 2});
     }},
    // CircleDrawnInPiecesClosesLikeOneCircle: two half arcs; a polyline
    // whose two bulges make a circle; a D of a line and two quarter arcs.
    {"", {20, 0}, 15,
     {{"two half arcs", {1, 1}, 1, ChordPolygonArea(5, 60), 0.01},
      {"two bulges", {25, 1}, 1, ChordPolygonArea(5, 60), 0.01},
      {"a D, 20 chords a quarter", {42, 1}, 1, ChordPolygonArea(5, 80) / 2, 1e-9}},
     [](const DrawingPtr& d) {
       mem::AddArc(Into(d), {0, 0}, 5, 0, kPi);
       mem::AddArc(Into(d), {0, 0}, 5, kPi, 2 * kPi);
       mem::AddPolyline(Into(d), {{20, 0, 1}, {30, 0, 1}}, true);
       mem::AddLine(Into(d), {40, -5}, {40, 5});
       mem::AddArc(Into(d), {40, 0}, 5, 0, kPi / 2);
       mem::AddArc(Into(d), {40, 0}, 5, 3 * kPi / 2, 2 * kPi);
     }},
    // LinesEndingOnEllipsesAndSplinesMeetThem: a cap of an ellipse cut off
    // by a line whose ends lie on it between samples, and the same on an arch.
    {"E 0 0 10 0 0.5", {15, 0}, 20,
     {{"the ellipse's cap", {9.9, 0}, 1, 50 * (0.3 - std::sin(0.3) * std::cos(0.3)), 0.5},
      {"the rest of the ellipse", {2, 0}, 1, 50 * (kPi - 0.3 + std::sin(0.3) * std::cos(0.3)), 0.5},
      {"the arch", {30, 5}, 1, 100 * std::acos(0.3) - 3 * kArchLine, 0.5}},
     [](const DrawingPtr& d) {
       const double t = 0.3;
       mem::AddLine(Into(d), {10 * std::cos(t), 5 * std::sin(t)}, {10 * std::cos(t), -5 * std::sin(t)});
       std::vector<Vec2> arch;
       for (int k = 0; k <= 40; ++k) {
         arch.push_back({30 + 10 * std::cos(kPi * k / 40), 10 * std::sin(kPi * k / 40)});
       }
       mem::AddCurve(Into(d), arch);
       mem::AddLine(Into(d), {30 - kArchLine, 3}, {30 + kArchLine, 3});
     }},
    // ClickBetweenACircleAndItsChordsFindsTheCircle: the chord is cut at
    // the circle's point beside the click.
    {"R -20 -20 20 20", {0, 0}, 20,
     {{"between a circle and its chord", kBetween, 1, ChordPolygonArea(10, 60) + kCut, 1e-9}},
     [](const DrawingPtr& d) { mem::AddCircle(Into(d), {0, 0}, 10); }},
    // LargeArcNeitherClosesEarlyNorStalls, with a stub on the floor near a corner.
    {"", {50, 50}, 6,
     {{"under a large arc", {50, 50}, 1, 1e4 + kBulge, 1.0},
      {"beside the stub", {1, 0.5}, 1, 1e4 + kBulge, 1.0}},
     [](const DrawingPtr& d) {
       mem::AddArc(Into(d), {50, 100 - 1e4 * std::cos(kHalfSweep)}, 1e4, kPi / 2 - kHalfSweep,
                   kPi / 2 + kHalfSweep);
       mem::AddLine(Into(d), {0, 0}, {100, 0});
       mem::AddLine(Into(d), {0, 0}, {0, 100});
       mem::AddLine(Into(d), {100, 0}, {100, 100});
       mem::AddLine(Into(d), {2, 0}, {2, 1});
     }},
    // ... and a 10 x 10 room of four lines with an arc of radius 4,000 lying 2 below it.
    {"C 0 0 10 0; C 10 0 10 10; C 10 10 0 10; C 0 10 0 0", {5, 5}, 50,
     {{"above a large arc", {5, 5}, 1, 100, 1e-9}},
     [](const DrawingPtr& d) { mem::AddArc(Into(d), {5, -2 - 4000}, 4000, kPi / 2 - 0.01, kPi / 2 + 0.01); }},
    // LongOpenZigzagNeitherHidesIslandsNorBlocksClicks.
    {"R 0 0 40 30; R 36 14 38 16", {20, 15}, 20,
     {{"below a zigzag", {20, 5}, 2, 1196, 1e-9},
      {"above it", {20, 25}, 2, 1196, 1e-9},
      {"before it", {2, 15}, 2, 1196, 1e-9}},
     [](const DrawingPtr& d) {
       std::vector<Vec2> zigzag;
       for (int k = 0; k < 6000; ++k) zigzag.push_back({5 + 30.0 * k / 6000, k % 2 ? 16.0 : 14.0});
       mem::AddChain(Into(d), zigzag);
     }},
    // UnreadableGraphicIsLeftOutNotFatal: a filled curve without its outline child.
    {kRoom, {20, 15}, 20, {{"beside an unreadable graphic", {5, 5}, 1, 1200, 1e-9}},
     [](const DrawingPtr& d) {
       const auto curve = mem::AddTyped(Into(d), "PWW30CURVE", {{10, 10}, {12, 12}, {10, 14}});
       mem::SetProperty(curve, "BrushStyle", std::string("Solid"));
     }},
    // RequestLeavesParallelWorkplaneGraphicsWhereTheyWere; in tile mode a
    // line on a tilted workplane across the room is left out.
    {"", {20, 15}, 20, {{"a room on a parallel workplane", {5, 5}, 1, 1200, 1e-9}},
     [](const DrawingPtr& d) {
       d->Props().Define("TileMode", 1.0);
       const auto room = mem::AddRectangle(Into(d), {0, 0}, {40, 30});
       room->SetPlane(d->CurrentWorkplane()->MovedAlongNormal(1e-7));
       mem::AddLine(Into(d), {20, -5}, {20, 35})->SetPlane(d->CurrentWorkplane()->Tilted(0.2));
     }},
    // PolygonFoldedFlatOnOneLineBoundsNothing.
    {"R 6.5 5.5 98 96.5; P 21.5 93.5 21.5 92 21.5 85", {50, 50}, 7,
     {{"beside a polygon folded flat", {53.22, 92.97}, 1, 91.5 * 91, 1e-6}}},
    // LineAlongATrianglesSideStillCutsTheTriangleOut.
    {"R 4 7.5 93.5 99; P 37 20 28.5 14.5 28.5 13; C 37 20 32.75 16.5", {50, 50}, 7,
     {{"beside a triangle with a line along its side", {21.25, 16.87}, 2, 8182.875, 1e-6}}},
};

TEST(DrawingStructures, ScenesFindTheirAreas) {
  for (const Scene& scene : kScenes) ExpectScene(scene);
}

TEST(DrawingStructures, TurnedAndMirroredViewsKeepEveryIsland) {
  RequestFixture f;
  mem::AddRectangle(Into(f.drawing), {0, 0}, {40, 10});
  // Islands near the box's corners, off the diagonal between two of them.
  mem::AddRectangle(Into(f.drawing), {1, 8}, {2, 9});
  mem::AddRectangle(Into(f.drawing), {38, 1}, {39, 2});
  mem::AddRectangle(Into(f.drawing), {20, 4}, {21, 5});
  for (const bool mirrored : {false, true}) {
    for (const double degrees : {0.0, 30.0, 45.0, 137.0}) {
      SCOPED_TRACE(testing::Message() << degrees << (mirrored ? " mirrored" : ""));
      f.view->SetMirrored(mirrored);
      f.Look({20, 5}, 20, degrees * kPi / 180);
      const PickOutcome out = f.Pick(10, 5);
      ASSERT_TRUE(out.ok) << out.error;
      EXPECT_EQ(out.contours.size(), 4u);
      EXPECT_NEAR(out.NetArea(), 400 - 3, 1e-9);
    }
  }
}

}  // namespace
}  // namespace pphatch
