#include "curves/trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "curves/circle_contacts.h"
#include "geometry/tolerance.h"
#include "support/chains.h"

namespace pphatch {
namespace {

constexpr double E = 1e-6;

class Trace : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = GeomTolerance();
    GeomTolerance() = E;
  }
  void TearDown() override { GeomTolerance() = saved_; }

  // Traces from (x, y) over all records.
  bool TraceAll(const std::vector<CurveRecord>& records, double x, double y) {
    return TraceContour(records, static_cast<int>(records.size()) - 1, x, y, contour_);
  }

  // Expects the contour to be exactly these points, in this order.
  void ExpectContour(const std::vector<Point2>& points) {
    ASSERT_EQ(contour_.PointCount, static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i) {
      EXPECT_NEAR(contour_.X[i], points[i].x, 1e-9) << "point " << i;
      EXPECT_NEAR(contour_.Y[i], points[i].y, 1e-9) << "point " << i;
    }
  }

  // How often the contour passes through p.
  int Visits(Point2 p) const {
    int visits = 0;
    for (int i = 0; i < contour_.PointCount; ++i) {
      visits += std::fabs(contour_.X[i] - p.x) < 1e-9 && std::fabs(contour_.Y[i] - p.y) < 1e-9;
    }
    return visits;
  }

  CurveRecord contour_;

 private:
  double saved_ = 0;
};

CurveRecord Square(double x0) {
  return MakeChain({{x0, 0}, {x0 + 10, 0}, {x0 + 10, 10}, {x0, 10}, {x0, 0}});
}

// Open lines from (10, 7) outwards to the right, fanned from -80 to 80 degrees.
std::vector<CurveRecord> SquareWithSpikes(int spikes) {
  std::vector<CurveRecord> records{Square(0)};
  for (int i = 0; i < spikes; ++i) {
    const Point2 end = OnCircle(10, 7, 2, Degrees(-80 + 160.0 * i / (spikes - 1)));
    records.push_back(MakeChain({{10, 7}, end}));
  }
  return records;
}

// A regular polygon of `vertices` corners on a circle of radius 1000 about the
// origin, counter-clockwise from (1000, 0), cut into open chains of 100 sides.
std::vector<CurveRecord> PolygonInPieces(int vertices) {
  std::vector<CurveRecord> pieces;
  for (int first = 0; first < vertices; first += 100) {
    std::vector<Point2> points;
    for (int v = first; v <= std::min(first + 100, vertices); ++v) {
      points.push_back(OnCircle(0, 0, 1000, kTwoPi * (v % vertices) / vertices));
    }
    pieces.push_back(MakeChain(points));
  }
  return pieces;
}

TEST_F(Trace, SquareIsWalkedCounterClockwiseFromTheStartSegmentsLowerEnd) {
  ASSERT_TRUE(TraceAll({Square(0)}, 15, 5));
  ExpectContour({{10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}});
}

TEST_F(Trace, CrossingBelowTheRayBecomesTheFirstPoint) {
  // Back at its first point the trace turns onto the line that hangs there
  // before it leaves that point upwards again, as it first did: the spike
  // is traced (and removed later with every other spike).
  ASSERT_TRUE(TraceAll({Square(0), MakeChain({{10, 5}, {20, 5}})}, 15, 5));
  ExpectContour({{10, 5}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 5}, {20, 5}, {10, 5}});
}

TEST_F(Trace, RayThroughACornerStartsThereWithoutClosingAtOnce) {
  ASSERT_TRUE(TraceAll({Square(0)}, 15, 10));
  ExpectContour({{10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}});
}

TEST_F(Trace, LooseLineOnTheStartSideIsRetraced) {
  ASSERT_TRUE(TraceAll({Square(0), MakeChain({{5, 10}, {5, 15}})}, 15, 5));
  ExpectContour({{10, 0}, {10, 10}, {5, 10}, {5, 15}, {5, 10}, {0, 10}, {0, 0}, {10, 0}});
}

TEST_F(Trace, RayMeetingNothingGivesFalse) {
  EXPECT_FALSE(TraceAll({Square(0)}, -5, 5));
  EXPECT_FALSE(TraceAll({Square(0)}, 15, 11));
  EXPECT_FALSE(TraceAll({}, 15, 5));
}

TEST_F(Trace, UsedChainsAreNotEnteredAndRecordsAfterLastAreIgnored) {
  std::vector<CurveRecord> records{Square(0), Square(20), Square(40)};
  records[1].Used = true;
  ASSERT_TRUE(TraceContour(records, 1, 35, 5, contour_));
  ExpectContour({{10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}});
}

TEST_F(Trace, ContourOfAtMost9000PointsCloses) {
  ASSERT_TRUE(TraceAll(PolygonInPieces(8999), 1001, 0.1));
  EXPECT_EQ(contour_.PointCount, 9000);
  EXPECT_NEAR(contour_.X[0], 1000, 1e-9);
  EXPECT_NEAR(contour_.X[8999], 1000, 1e-9);
  EXPECT_FALSE(TraceAll(PolygonInPieces(9000), 1001, 0.1));
}

TEST_F(Trace, MoreCrossingsOnASegmentThanTheTableHoldsGiveFalse) {
  // Short lines across the start segment above the ray: each is walked out
  // and back; with the corner at (10, 10) they make the segment's crossings.
  std::vector<CurveRecord> records{Square(0)};
  for (int i = 1; i <= 1000; ++i)
    records.push_back(MakeChain({{9, 5 + 0.004 * i}, {11, 5 + 0.004 * i}}));
  ASSERT_TRUE(TraceAll(records, 15, 5));
  EXPECT_EQ(contour_.PointCount, 1 + 3 * 1000 + 4);
  EXPECT_NEAR(contour_.X[2], 11, 1e-9);
  records.push_back(MakeChain({{9, 9.5}, {11, 9.5}}));
  EXPECT_FALSE(TraceAll(records, 15, 5));
}

TEST_F(Trace, MoreBranchesAtOneJunctionThanTheTableHoldsGiveFalse) {
  // Every spike is walked out and back, from the lowest to the highest.
  ASSERT_TRUE(TraceAll(SquareWithSpikes(101), 15, 1));
  EXPECT_EQ(contour_.PointCount, 2 * 101 + 6);
  EXPECT_NEAR(contour_.X[2], 10 + 2 * std::cos(Degrees(-80)), 1e-9);
  EXPECT_NEAR(contour_.Y[2], 7 + 2 * std::sin(Degrees(-80)), 1e-9);
  EXPECT_EQ(Visits({10, 7}), 102);
  EXPECT_FALSE(TraceAll(SquareWithSpikes(102), 15, 1));
}

TEST_F(Trace, JunctionWithOnlyAReversalLeftGivesFalse) {
  // Up the slanted line, down the vertical one and back up: at the top the
  // only way on is back down the slanted line, a turn within 1e-5 of -pi.
  EXPECT_FALSE(TraceAll({MakeChain({{0, 0}, {0, 10}}), MakeChain({{0, 10}, {0.00005, 0}})}, 5, 5));
}

TEST_F(Trace, OverflowingCoordinatesGiveFalse) {
  const double big = 1e308;
  EXPECT_FALSE(TraceAll({MakeChain({{0, 0}, {big, 0}, {big, big}, {0, big}, {0, 0}})}, 1.5e308, 5));
}

TEST_F(Trace, LineEndingOnACircleIsReachedThroughTheInsertedContact) {
  const Point2 contact = OnCircle(0, 0, 3, Degrees(93));
  const Point2 end = OnCircle(0, 0, 6, Degrees(93));
  std::vector<CurveRecord> records{MakeCircle(0, 0, 3), MakeChain({contact, end})};
  RefineCircleContacts(records, 2);
  ASSERT_TRUE(TraceAll(records, 4, 0.1));
  // 16 circle points up to 90 degrees, out and back, the 44 points from 96
  // to 354 degrees and the closing point.
  EXPECT_EQ(contour_.PointCount, 16 + 3 + 44 + 1);
  EXPECT_EQ(Visits(contact), 2);
  EXPECT_EQ(Visits(end), 1);
  EXPECT_NEAR(contour_.X[17], end.x, 1e-9);
}

TEST_F(Trace, TangentCirclesAreOutlinedThroughTheirTouchingPoint) {
  const double s = std::sqrt(2.0);
  std::vector<CurveRecord> records{MakeCircle(0, 0, 1), MakeCircle(s, s, 1)};
  RefineCircleContacts(records, 2);
  ASSERT_TRUE(TraceAll(records, 1.5, 0.05));
  // First circle to 42 degrees, the touching point, the whole second circle
  // (60 points) back to it, then the first circle on from 48 degrees.
  EXPECT_EQ(contour_.PointCount, 8 + 1 + 60 + 1 + 53);
  EXPECT_EQ(Visits({std::sqrt(0.5), std::sqrt(0.5)}), 2);
  EXPECT_EQ(Visits({s + 1, s}), 1);
}

}  // namespace
}  // namespace pphatch
