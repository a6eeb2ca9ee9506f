#include "curves/circle_contacts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/tolerance.h"
#include "support/chains.h"

namespace pphatch {
namespace {

constexpr double E = 1e-6;

class CircleContacts : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = GeomTolerance();
    GeomTolerance() = E;
  }
  void TearDown() override { GeomTolerance() = saved_; }

 private:
  double saved_ = 0;
};

// A line running radially outwards from the circle point at `degrees`.
CurveRecord RadialLine(double r, double degrees) {
  return MakeChain({OnCircle(0, 0, r, Degrees(degrees)), OnCircle(0, 0, r + 5, Degrees(degrees))});
}

// A segment of length 4 perpendicular to the radius at `degrees`, its middle
// at `distance` from the origin.
CurveRecord TangentSegment(double distance, double degrees) {
  const Point2 t = OnCircle(0, 0, distance, Degrees(degrees));
  const double dx = -2 * std::sin(Degrees(degrees)), dy = 2 * std::cos(Degrees(degrees));
  return MakeChain({{t.x - dx, t.y - dy}, {t.x + dx, t.y + dy}});
}

// Number of positions 0..PointCount-1 at which the two chains differ.
int DifferingPoints(const CurveRecord& a, const CurveRecord& b) {
  int differing = 0;
  for (int i = 0; i < a.PointCount; ++i) differing += a.X[i] != b.X[i] || a.Y[i] != b.Y[i];
  return differing;
}

void ExpectPoint(const CurveRecord& c, int i, Point2 p) {
  EXPECT_NEAR(c.X[i], p.x, 1e-12) << "point " << i;
  EXPECT_NEAR(c.Y[i], p.y, 1e-12) << "point " << i;
}

TEST_F(CircleContacts, LineEndsBetweenSamplesAreInsertedOthersAreNot) {
  std::vector<CurveRecord> records{MakeCircle(0, 0, 3), RadialLine(3, 0), RadialLine(3, 90),
                                   RadialLine(3, 93)};
  RefineCircleContacts(records, 4);
  const CurveRecord& circle = records[0];
  ASSERT_EQ(circle.PointCount, 62);
  ExpectPoint(circle, 0, {3, 0});
  ExpectPoint(circle, 15, OnCircle(0, 0, 3, Degrees(90)));
  ExpectPoint(circle, 16, OnCircle(0, 0, 3, Degrees(93)));
  ExpectPoint(circle, 17, OnCircle(0, 0, 3, Degrees(96)));
  ExpectPoint(circle, 61, {3, 0});
  EXPECT_EQ(records[3].PointCount, 2);
}

TEST_F(CircleContacts, VertexTwoTolerancesOutsideIsNotInserted) {
  std::vector<CurveRecord> records{MakeCircle(0, 0, 3), RadialLine(3 + 2 * E, 93)};
  RefineCircleContacts(records, 2);
  EXPECT_EQ(records[0].PointCount, 61);
}

TEST_F(CircleContacts, ContactNextToTheSeamKeepsTheChainClosed) {
  std::vector<CurveRecord> records{MakeCircle(0, 0, 3), RadialLine(3, 358)};
  RefineCircleContacts(records, 2);
  const CurveRecord& circle = records[0];
  ASSERT_EQ(circle.PointCount, 62);
  ExpectPoint(circle, 0, {3, 0});
  ExpectPoint(circle, 59, OnCircle(0, 0, 3, Degrees(354)));
  ExpectPoint(circle, 60, OnCircle(0, 0, 3, Degrees(358)));
  ExpectPoint(circle, 61, {3, 0});
}

TEST_F(CircleContacts, ContactAfterTheSeamGoesInAfterPointZero) {
  // The last point lies a little above point 0, so a contact at 3 degrees is
  // nearest to it and falls on the chord from the seam to point 1.
  CurveRecord circle = MakeCircle(0, 0, 3);
  circle.Y[60] = 0.5 * E;
  std::vector<CurveRecord> records{circle, RadialLine(3, 3)};
  RefineCircleContacts(records, 2);
  ASSERT_EQ(records[0].PointCount, 62);
  ExpectPoint(records[0], 0, {3, 0});
  ExpectPoint(records[0], 1, OnCircle(0, 0, 3, Degrees(3)));
  ExpectPoint(records[0], 2, OnCircle(0, 0, 3, Degrees(6)));
  ExpectPoint(records[0], 61, {3, 0.5 * E});
}

TEST_F(CircleContacts, TangentCirclesGetTheTouchingPointOnce) {
  const double s = std::sqrt(2.0);
  std::vector<CurveRecord> records{MakeCircle(0, 0, 1), MakeCircle(s, s, 1)};
  RefineCircleContacts(records, 2);
  ASSERT_EQ(records[0].PointCount, 62);
  ASSERT_EQ(records[1].PointCount, 62);
  const Point2 touch{std::sqrt(0.5), std::sqrt(0.5)};
  EXPECT_NEAR(records[0].X[8], touch.x, 1e-12);
  EXPECT_NEAR(records[0].Y[8], touch.y, 1e-12);
  EXPECT_NEAR(records[1].X[38], touch.x, 1e-12);
  EXPECT_NEAR(records[1].Y[38], touch.y, 1e-12);

  const std::vector<CurveRecord> once = records;
  RefineCircleContacts(records, 2);
  EXPECT_EQ(records[0].PointCount, 62);
  EXPECT_EQ(DifferingPoints(records[0], once[0]) + DifferingPoints(records[1], once[1]), 0);
}

TEST_F(CircleContacts, CirclesTouchingAtSamplesOrCrossingAreUnchanged) {
  std::vector<CurveRecord> records{MakeCircle(0, 0, 1), MakeCircle(2, 0, 1), MakeCircle(0, 5, 1),
                                   MakeCircle(1.5, 5, 1)};
  RefineCircleContacts(records, 4);
  for (const CurveRecord& c : records) EXPECT_EQ(c.PointCount, 61);
}

TEST_F(CircleContacts, ConcentricChainsAreNeverPaired) {
  // An arc of the same circle has every vertex on it, and an identical circle
  // touches everywhere; neither may be treated as a contact.
  std::vector<CurveRecord> records{MakeCircle(0, 0, 3),
                                   MakeArc(0, 0, 3, Degrees(3), Degrees(33), 5),
                                   MakeCircle(0, 0, 3), MakeCircle(0, 0, 1)};
  RefineCircleContacts(records, 4);
  EXPECT_EQ(records[0].PointCount, 61);
  EXPECT_EQ(records[1].PointCount, 6);
  EXPECT_EQ(records[2].PointCount, 61);
  EXPECT_EQ(records[3].PointCount, 61);
}

TEST_F(CircleContacts, ChainsSharingAnArcEndAddNoContacts) {
  // The second arc touches the first at their shared end; the polyline starts
  // there and ends on the first arc's circle between two samples.
  const CurveRecord arc = MakeArc(0, 0, 3, 0, Degrees(90), 15);
  std::vector<CurveRecord> records{
      arc, MakeArc(0, 6, 3, Degrees(270), Degrees(180), 15),
      MakeChain({{arc.X[15], arc.Y[15]}, OnCircle(0, 0, 3, Degrees(51))})};
  RefineCircleContacts(records, 3);
  EXPECT_EQ(records[0].PointCount, 16);
  EXPECT_EQ(records[1].PointCount, 16);
}

TEST_F(CircleContacts, TouchingSegmentMovesTheNearestPoint) {
  const CurveRecord original = MakeCircle(0, 0, 3);
  std::vector<CurveRecord> records{original, TangentSegment(3, 93), TangentSegment(3 + 2 * E, 183)};
  RefineCircleContacts(records, 3);
  const CurveRecord& circle = records[0];
  ASSERT_EQ(circle.PointCount, 61);
  EXPECT_EQ(DifferingPoints(circle, original), 1);
  const Point2 touch = OnCircle(0, 0, 3, Degrees(93));
  bool found = false;
  for (int i = 0; i < 61; ++i) {
    found = found ||
            (std::fabs(circle.X[i] - touch.x) < 1e-12 && std::fabs(circle.Y[i] - touch.y) < 1e-12);
  }
  EXPECT_TRUE(found);
}

TEST_F(CircleContacts, TouchingSegmentAtTheSeamMovesBothEnds) {
  std::vector<CurveRecord> records{MakeCircle(0, 0, 3), TangentSegment(3, 2)};
  RefineCircleContacts(records, 2);
  const Point2 touch = OnCircle(0, 0, 3, Degrees(2));
  ExpectPoint(records[0], 0, touch);
  ExpectPoint(records[0], 60, touch);
}

TEST_F(CircleContacts, TouchingSegmentNearAnArcEndLeavesTheEndInPlace) {
  const CurveRecord arc = MakeArc(0, 0, 3, 0, Degrees(90), 15);
  std::vector<CurveRecord> records{arc, TangentSegment(3, 88)};
  RefineCircleContacts(records, 2);
  ASSERT_EQ(records[0].PointCount, 17);
  ExpectPoint(records[0], 0, {arc.X[0], arc.Y[0]});
  ExpectPoint(records[0], 15, OnCircle(0, 0, 3, Degrees(88)));
  ExpectPoint(records[0], 16, {arc.X[15], arc.Y[15]});
}

}  // namespace
}  // namespace pphatch
