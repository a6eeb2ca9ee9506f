#include "scan/pen_split.h"

#include <cmath>

#include "scan_fixture.h"

namespace pphatch::mem {
namespace {

using PenSplit = ScanTest;

// A chain x = 0, 1, 2, ... on y = 0 whose listed vertices are pen-up.
GraphicPtr Ladder(const Into& into, int n, std::vector<int> penUp) {
  std::vector<ChainPoint> points;
  for (int k = 0; k < n; ++k) points.push_back({double(k), 0, true, false});
  for (int k : penUp) points[k].penDown = false;
  return AddFlaggedChain(into, points);
}

std::vector<Vec2> Xs(std::vector<int> xs) {
  std::vector<Vec2> points;
  for (int x : xs) points.push_back({double(x), 0});
  return points;
}

TEST_F(PenSplit, PiecesStartAtThePenUpVertex) {
  SplitAtPenUps(Ladder(host.drawing, 6, {3}), set);
  EXPECT_EQ(Member(0)->Owner(), nullptr);  // the pieces are in no list of the drawing
  // Of two pen-up vertices in a row only the second starts a piece.
  SplitAtPenUps(Ladder(host.drawing, 6, {2, 3}), set);
  // A chain drawn in one piece stands for itself: no copy is made.
  const auto whole = Ladder(host.drawing, 4, {});
  SplitAtPenUps(whole, set);
  // Nothing drawn: every move pen-up, or a single vertex.
  SplitAtPenUps(Ladder(host.drawing, 4, {1, 2, 3}), set);
  SplitAtPenUps(Ladder(host.drawing, 1, {}), set);
  EXPECT_EQ(Scanned(), (std::vector<std::vector<Vec2>>{Xs({0, 1, 2}), Xs({3, 4, 5}), Xs({0, 1}),
                                                       Xs({3, 4, 5}), Xs({0, 1, 2, 3})}));
  EXPECT_EQ(Member(4), whole);
}

// Vertices: S, centre and sense point (arc points), E, then plain F, G.
GraphicPtr ArcRunPolyline(const Into& into, Vec2 s, Vec2 c, Vec2 d) {
  return AddFlaggedChain(into, {{s.x, s.y, true, false},
                                {c.x, c.y, true, true},
                                {d.x, d.y, true, true},
                                {-1, 0, true, false},
                                {-1, -5, true, false},
                                {3, -5, true, false}});
}

TEST_F(PenSplit, ArcRunsFollowTheirSensePoint) {
  // Sense point left of centre->start: counter-clockwise, through (0, 1).
  DecomposeArcPolyline(ArcRunPolyline(host.drawing, {1, 0}, {0, 0}, {0.5, 0.8}), set);
  // Sense point right of it: clockwise, through (0, -1).
  DecomposeArcPolyline(ArcRunPolyline(host.drawing, {1, 0}, {0, 0}, {0.5, -0.8}), set);
  ASSERT_EQ(Count(), 4);
  for (int arc : {0, 2}) {
    EXPECT_EQ(Member(arc)->TypeText(), "ARC");
    EXPECT_EQ(Points(arc + 1), (std::vector<Vec2>{{-1, 0}, {-1, -5}, {3, -5}}));
  }
  EXPECT_NEAR(Points(0)[3].x, 0, 1e-12);
  EXPECT_NEAR(Points(0)[3].y, 1, 1e-12);
  EXPECT_NEAR(Points(2)[3].y, -1, 1e-12);
}

TEST_F(PenSplit, StraightRunsAndDegenerateArcs) {
  DecomposeArcPolyline(AddChain(host.drawing, {{0, 0}, {1, 0}, {1, 1}}), set);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Points(0), (std::vector<Vec2>{{0, 0}, {1, 0}, {1, 1}}));
  // A start on its centre draws no arc; the scan goes on at the run's end.
  DecomposeArcPolyline(ArcRunPolyline(host.drawing, {0, 0}, {0, 0}, {0.5, 0.8}), set);
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Points(1), (std::vector<Vec2>{{-1, 0}, {-1, -5}, {3, -5}}));
}

TEST(ArcMidpoint, HalvesTheArcInTheGivenSense) {
  ToleranceScope tolerance(1e-6);
  const double h = std::sqrt(0.5);
  const Point2 ccw = ArcMidpoint(0, 0, 1, 0, 0, 1, 1, 1);
  EXPECT_NEAR(ccw.x, h, 1e-12);
  EXPECT_NEAR(ccw.y, h, 1e-12);
  for (int sense : {-1, 0}) {
    const Point2 cw = ArcMidpoint(0, 0, 1, 0, 0, 1, 1, sense);
    EXPECT_NEAR(cw.x, -h, 1e-12);
    EXPECT_NEAR(cw.y, -h, 1e-12);
  }
  // Counter-clockwise from 270 to 90 degrees passes 0 degrees; about (2, 3), radius 2.
  const Point2 wrap = ArcMidpoint(2, 3, 2, 1, 2, 5, 2, 1);
  EXPECT_NEAR(wrap.x, 4, 1e-12);
  EXPECT_NEAR(wrap.y, 3, 1e-12);
  const Point2 none = ArcMidpoint(2, 3, 2, 3, 2, 3, 5e-7, 1);
  EXPECT_EQ(none.x, 2);
  EXPECT_EQ(none.y, 3);
}

}  // namespace
}  // namespace pphatch::mem
