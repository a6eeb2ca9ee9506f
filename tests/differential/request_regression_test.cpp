// Smallest drawings of the faults the comparison with GEOS found, each with
// the area a correct request returns (worked out by hand in the comments).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "differential/request_areas.h"
#include "driver/scenes.h"
#include "support/request_fixture.h"

namespace pphatch::differential {
namespace {

/// Each fault's drawing, the view on it, and its clicks named after the fault.
const Scene kFound[] = {
    // The walk around the click starts at the last junction below the ray on
    // the segment it enters. When it comes back to that point it must go on
    // until it would leave the point the way it first left it; closing at the
    // first return cuts off whatever hangs at the start point.
    // A triangle of area 2.5 hangs on a line from the top side of a 20 x 20
    // square. Right of the line the march enters the line, whose lower end is
    // the triangle's corner; below the triangle it enters the triangle.
    {"R 0 0 20 20; C 10 5 5 20; P 10 5 12 4 11 2", {20, 15}, 20,
     {{"LoopStartingAtAJunctionGoesRoundWhatHangsThere", {12, 10}, kAnyCount, 400 - 2.5, 1e-9},
      {"LoopStartingAtAJunctionGoesRoundWhatHangsThere", {15, 3}, kAnyCount, 400 - 2.5, 1e-9}}},
    // The line crosses the square's left side at (0, 7) and the ray y = 7.1
    // at x = 0.08. Closing at the first return to (0, 7) leaves a loop that
    // only runs out along the line and back; the search then steps left past
    // it, out of the square, and the request fails.
    {"R 0 0 20 20; C -4 2 4 12", {20, 15}, 20,
     {{"LineCrossingTheBoundaryNearTheRayDoesNotEndTheRequest", {10, 7.1}, kAnyCount, 400, 1e-9}}},
    // The same in the island trace: a bow-tie island whose trace starts at its
    // own crossing must be traced round both lobes. The sides (12,10)-(16,14)
    // and (10,16)-(14,10) cross at (13.2, 11.2), below the mid-height 13 of
    // the island: lobes of area 11.2 (up to (16,14) and (10,16)) and 1.2
    // (down to (14,10) and (12,10)).
    {"R 0 0 30 30; P 12 10 16 14 10 16 14 10", {20, 15}, 20,
     {{"IslandTraceStartingAtASelfCrossingTakesBothLobes", {25, 25}, kAnyCount, 900 - 11.2 - 1.2, 1e-9}}},
    // The march must enter the nearest chain that crosses the ray, even when
    // the first graphic it picks crosses the ray only much further left.
    // A wall at x = 20 splits a 40 x 40 square. A chain ends 0.02 above the
    // ray y = 20 at x = 30 and crosses the ray only at x = 12, in the left
    // room; its part in the right room dangles. The click's room is 20 x 40.
    {"R 0 0 40 40; C 20 0 20 40; C 30 20.02 25 30 12 30 12 10", {20, 15}, 20,
     {{"MarchDoesNotSkipAWallBeforeAFarCrossing", {35, 20}, kAnyCount, 800, 1e-9}}},
    // Two overlapping rectangles; the click lies 0.02 below the top side of
    // the wide one, inside both. The march's first pick catches that side,
    // whose crossing of the ray is the wide rectangle's left side at x = 0,
    // beyond the narrow rectangle's left side at x = 10. The face is the
    // overlap, 20 x 18.
    {"R 0 2 40 20; R 10 0 30 22", {20, 15}, 20,
     {{"ClickJustBelowASideFindsItsOwnFace", {20, 19.98}, kAnyCount, 360, 1e-9}}},
    // Each island chain must be traced unless an outline already holds it. A
    // trace whose ray meets another island first outlines that one; the chain
    // it was started for still needs a trace of its own.
    // A C-shaped island (20 x 10 less a 10 x 6 notch: 140) reaches furthest
    // right; a 3 x 2 square sits in its notch, where the ray from the right
    // at mid-height meets it first.
    {"R 0 0 40 40; P 10 10 30 10 30 12 20 12 20 18 30 18 30 20 10 20; R 24 14 27 16", {20, 15}, 20,
     {{"IslandInTheNotchOfAnotherKeepsBoth", {5, 5}, kAnyCount, 1600 - 140 - 6, 1e-9}}},
    // Spike removal must keep the base of a spike that lies next to the first
    // or last point of a loop: a loop that starts where lines hang off it has
    // its spikes on both sides of that point, and dropping every copy of it
    // loses the island or cuts a corner off the outer boundary.
    // A triangle island (12,15), (14,12), (20,15) of area 12 with two lines
    // hanging from its corner (20,15), one up to the right, one down. Right
    // of the island the search meets a line first and walks the island from
    // that corner, both lines on either side of its start.
    {"R 0 0 40 30; P 12 15 14 12 20 15; C 20 15 28 25; C 20 15 30 5", {20, 15}, 20,
     {{"SpikesBesideTheStartPointKeepTheirBase", {35, 22}, kAnyCount, 1200 - 12, 1e-9},
      {"SpikesBesideTheStartPointKeepTheirBase", {35, 8}, kAnyCount, 1200 - 12, 1e-9}}},
    // A 40 x 30 room; a line rises from the bottom side at x = 20 to y = 20,
    // and a line from the corner (10,15) of a triangle that touches the left
    // side, (0,15), (10,15), (5,20), runs down to (30,5), crossing the first
    // at (20,10). The click's loop starts at that crossing, with the upper
    // end of the rising line and the lower end of the other hanging on either
    // side of it. Cut out: the region (0,0), (20,0), (20,10), (10,15),
    // (0,15) of area 275 and the triangle of area 25.
    {"R 0 0 40 30; C 20 0 20 20; C 10 15 30 5; P 0 15 10 15 5 20", {20, 15}, 20,
     {{"OuterLoopStartingAtACrossingKeepsThatCorner", {30, 12}, kAnyCount, 1200 - 275 - 25, 1e-9}}},
    // At a closed chain's seam the walk may arrive along another chain that
    // runs straight on over the seam. The way back along the closed chain may
    // then turn by a hair more than -pi after rounding; being a reversal, it
    // must not hide the way on along the closed chain.
    // A 24 x 26 room whose seam is its lower-left corner (22, 56.5); a
    // rectangle below it, drawn first, shares the room's bottom side from x =
    // 22 to 34 and runs on to x = 15.5. A line hanging into the room crosses
    // the bottom side at x = 39.4, so the walk goes on from a computed
    // crossing, a hair off the side. It switches to the lower rectangle's top
    // side at x = 34 and must turn up the room's left side at x = 22.
    {"R 15.5 38.5 34 56.5; R 22 56.5 46 82.5; C 24.75 38.5 45.5 64", {50, 50}, 12,
     {{"SeamCornerMetAlongACollinearChainTurnsOntoTheClosedChain", {43.65, 79.59}, kAnyCount, 24 * 26,
       1e-9}}},
    // A chain may meet itself: a polygon whose closing side runs through one of
    // its own vertices, an open chain that doubles back over its own vertex.
    // Such a meeting is a junction like a meeting with any other chain; only
    // the chain's own next segment across its seam is passed over there.
    // The closing side (39,31)-(41,41) runs through the first side's end
    // (40.5,38.5); the first side is a spike on it. The face is the
    // quadrilateral (40.5,38.5), (39.5,39), (36.5,36), (39,31): 15.375.
    {"P 41 41 40.5 38.5 39.5 39 36.5 36 39 31", {50, 50}, 12,
     {{"ChainMeetingItselfAtAVertexIsAJunction", {39.69, 38.66}, kAnyCount, 15.375, 1e-9}}},
    // The chain runs out to (16.5,15) and back over (6.5,40) to the room's
    // left side: a spike. The room is 99.5 x 89.5.
    {"R 0 6 99.5 95.5; C 6.5 40 16.5 15 6.5 40 0 53", {50, 50}, 7,
     {{"OpenChainDoublingBackOverItsVertexAddsNoArea", {7.89, 45.46}, kAnyCount, 99.5 * 89.5, 1e-9}}},
    // A line hung on the middle of a side and running along it past the side's
    // end is a way on where it starts: walking that side, the walk must be able
    // to leave along the line.
    // A 5.5 x 17 room; a 1 x 7 island whose top side holds the start of a line
    // at (28.5,71) that runs left along it and on to beyond the room's left
    // side. The island hangs on the room by the line: the face is the room
    // less the island, 93.5 - 7.
    {"R 26 58.5 31.5 75.5; R 28 64 29 71; C 28.5 71 6 71", {50, 50}, 12,
     {{"LineStartingInsideACollinearSideIsAWayOn", {30.17, 67.55}, kAnyCount, 93.5 - 7, 1e-9}}},
    // A junction where many ways meet can be the walk's first point; the walk
    // must come back to it as often as it takes to go round everything that
    // hangs there before it leaves the way it first left.
    // In a 92.5 x 92 room, a chain crosses the top side twice; its first
    // side, from (32,87.5), crosses a line at (32.43,88.70), where the loop
    // starts: four ways meet there, two of them dangling. The line runs down
    // to the middle of a side of a triangle (area 3.5), from whose corner a
    // second line crosses the first at (262/9, 301/4), cutting off a
    // triangle of area 145/24 against that side.
    {"R 0.5 2 93 94; P 25.5 71.5 27.5 69.5 30.5 70; C 25.5 71.5 38.5 85; C 28 70.75 33 91;"
     "C 32 87.5 36.5 100 61.5 100 87.5 87", {50, 50}, 7,
     {{"LoopGoesRoundEveryWayAtAStartOfFourWays", {79.76, 88.95}, kAnyCount,
       92.5 * 92 - 3.5 - 145.0 / 24, 1e-9}}},
    // The island trace takes the sharpest right turn however sharp: a line
    // that meets an island's side at a narrow angle leads round the island.
    // A line from (31.5,45) ends on the middle of the side (10,56)-(12,55) of
    // a quadrilateral island of area 26.75, meeting it at about half a
    // degree. The room is 41.5 x 49.5.
    {"R 5.5 26 47 75.5; P 9 60.5 10 56 12 55 17 61; C 11 55.5 31.5 45", {50, 50}, 20,
     {{"IslandTraceTurnsOntoASideMetAtANarrowAngle", {36.42, 74.48}, kAnyCount, 41.5 * 49.5 - 26.75, 1e-9}}},
    // A chain may double back over one of its own sides: its last side runs
    // through an earlier vertex, over the side before it. The walk and the
    // island trace must meet that stretch like a stretch of another chain.
    // The island's side (46.5,76)-(48,75) lies on its closing side
    // (48,75)-(43.5,78): a spike. A line hangs the island on the room's
    // bottom side. The room is 35 x 38.5, the island's area 5.625.
    {"R 18 61.5 53 100; P 43.5 78 43 77 44.5 74.5 46.5 76 48 75; C 43.5 78 50 2", {50, 50}, 7,
     {{"PolygonWhoseLastSideRunsBackOverAnEarlierSide", {48.74, 89.15}, kAnyCount, 35 * 38.5 - 5.625, 1e-9}}},
    // The same within a free island, found by the island trace: the side
    // (58,16)-(59.5,15.5) lies on the side (59.5,15.5)-(56.5,16.5). The room
    // is 37.5 x 22, the island's area 46.
    {"R 47 1 84.5 23; P 55 19 48 20 52.5 10.5 58 16 59.5 15.5 56.5 16.5", {50, 50}, 12,
     {{"FreeIslandWhoseLastSideRunsBackOverAnEarlierSide", {60.08, 16.76}, kAnyCount, 37.5 * 22 - 46, 1e-9}}},
    // A line tangent to an ellipse passes its chords by up to their sagitta:
    // the touching point must join them, or the area between leaks out.
    {"R 0 0 20 20; C 10 0 10 20; E 10 10 6 0 0.5;"
     "C 1.7763568394002505e-15 17.909198863654538 20 9.811358531704464", {10, 10}, 20,
     {{"LineTangentToAnEllipseClosesTheAreaBetween", {10.5, 13.3}, kAnyCount, 1.17249567612, 1e-3}}},
    // A line ending on an ellipse between its chain points cuts the chord
    // beside the curve; a short line crossing that chord nearby must still
    // leave the pieces meeting only at their ends.
    {"E 35.857862700009719 31.919691562885419 5.8135099094098051 -0.92122045556184096 "
     "0.45566245355876162; C 31.642925178100644 34.316912181503639 16.386256836799898 "
     "-0.14178819819012523; C 32.724947101730038 36.271539814911563 31.376663598342457 "
     "33.833893111765335", {30, 30}, 7,
     {{"LineEndingOnAnEllipseBesideACrossingKeepsThePiecesApart", {30.97849115729332, 32.863270468078554},
       kAnyCount, 1.80975435825, 1e-3}}},
};

// Besides its area, each click keeps the rules of every request (ExpectScene).
TEST(FoundByComparison, EachFaultsDrawingGivesItsArea) {
  for (const Scene& scene : kFound) ExpectScene(scene);
}

// A line tangent to an ellipse where the touching point lies on the chord
// into the ellipse's first point, the seam of its closed chain. The ellipse
// touches the left wall at its far end too, so the two contacts cut the area
// left of the line into the parts above and below the ellipse.
TEST(FoundByComparison, LineTangentToAnEllipseAtItsSeamCutsTheAreaInTwo) {
  RequestFixture f;
  f.Look({10, 10}, 20);
  Draw(f.drawing, "R 4 0 20 20; E 10 10 6 0 0.5");
  const double t = -3 * kTurn / 360;  // between the last two samples
  const Vec2 p{10 + 6 * std::cos(t), 10 + 3 * std::sin(t)}, d{-6 * std::sin(t), 3 * std::cos(t)};
  const auto xAt = [&](double y) { return p.x + (y - p.y) * d.x / d.y; };
  mem::AddLine(f.drawing, {xAt(0), 0}, {xAt(20), 20});
  const PickOutcome above = f.Pick(15, 15), below = f.Pick(15, 5);
  ASSERT_TRUE(above.ok && below.ok);
  const double left = 20 * (p.x - 4) + d.x / d.y * (200 - 20 * p.y);
  // The ellipse as its 60 chords (and the touching points put into them).
  EXPECT_NEAR(above.NetArea() + below.NetArea(), left - 30 * 18 * std::sin(kTurn / 60), 0.01);
}

// Contacts that a search put into circles at a wide window's tolerance
// outlived it, and the search again at the area's own size found the doors
// closed. A room of 10 x 1.046 outside a circle of radius 10 has doors of
// 1.7e-3 between its wall ends and the circle (between two of its
// samples); a line far away makes the windows grow wide enough to close
// them, yet the click lies in no area.
TEST(FoundByComparison, WideSearchContactsDoNotCloseADoorAtTheAreasSize) {
  for (const char* far : {"", "; C 1e4 0 1e4 20", "; C 1e6 0 1e6 20"}) {
    SCOPED_TRACE(far);
    RequestFixture f;
    f.Look({10, 0}, 20);
    Draw(f.drawing, std::string("O 0 0 10; C 9.988 0.523 20 0.523 20 -0.523 9.988 -0.523") + far);
    EXPECT_FALSE(f.Pick(15, 0).ok);
  }
}

}  // namespace
}  // namespace pphatch::differential
