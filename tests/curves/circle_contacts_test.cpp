#include "curves/circle_contacts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/chains.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

constexpr double E = 1e-6;


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

// True when point i of the chain (any point for i = -1) is p.
bool HasPoint(const CurveRecord& c, int i, Point2 p) {
  for (int k = i < 0 ? 0 : i; k < (i < 0 ? c.PointCount : i + 1); ++k) {
    if (std::fabs(c.X[k] - p.x) < 1e-12 && std::fabs(c.Y[k] - p.y) < 1e-12) return true;
  }
  return false;
}

struct ExpectedPoint {
  int record, index;  // index -1: at some index
  Point2 p;
};

struct Case {
  const char* what;
  std::vector<CurveRecord> records;
  int n;  // records refined
  std::vector<int> counts;  // of the first records
  std::vector<ExpectedPoint> points = {};
  int moved = -1;  // points of record 0 moved in place; -1: unchecked
};

// Refining inserts or moves the expected points and nothing else, and
// refining the result again changes nothing.
TEST(CircleContacts, ContactsGoInOnceWhereTheyTouch) {
  ToleranceScope tolerance(E);
  const auto on3 = [](double degrees) { return OnCircle(0, 0, 3, Degrees(degrees)); };
  CurveRecord lifted = MakeCircle(0, 0, 3);
  lifted.Y[60] = 0.5 * E;  // so a contact at 3 degrees is nearest the seam's last point
  const CurveRecord arc = MakeArc(0, 0, 3, 0, Degrees(90), 15);
  const double s = std::sqrt(2.0);
  const Point2 touch{std::sqrt(0.5), std::sqrt(0.5)};
  const std::vector<Case> cases = {
      {"line ends between samples go in, two tolerances outside not",
       {MakeCircle(0, 0, 3), RadialLine(3, 0), RadialLine(3, 90), RadialLine(3, 93),
        RadialLine(3 + 2 * E, 99)},
       5, {62, 2, 2, 2},
       {{0, 0, {3, 0}}, {0, 15, on3(90)}, {0, 16, on3(93)}, {0, 17, on3(96)}, {0, 61, {3, 0}}}},
      {"a contact next to the seam keeps the chain closed", {MakeCircle(0, 0, 3), RadialLine(3, 358)},
       2, {62}, {{0, 0, {3, 0}}, {0, 59, on3(354)}, {0, 60, on3(358)}, {0, 61, {3, 0}}}},
      {"records past n are left alone", {MakeCircle(0, 0, 3), RadialLine(3, 93)}, 1, {61}},
      {"a contact after the seam goes in after point 0", {lifted, RadialLine(3, 3)}, 2, {62},
       {{0, 0, {3, 0}}, {0, 1, on3(3)}, {0, 2, on3(6)}, {0, 61, {3, 0.5 * E}}}},
      {"tangent circles get the touching point", {MakeCircle(0, 0, 1), MakeCircle(s, s, 1)}, 2,
       {62, 62}, {{0, 8, touch}, {1, 38, touch}}},
      {"circles touching at samples or crossing",
       {MakeCircle(0, 0, 1), MakeCircle(2, 0, 1), MakeCircle(0, 5, 1), MakeCircle(1.5, 5, 1)}, 4,
       {61, 61, 61, 61}},
      // An arc of the same circle has every vertex on it, and an identical
      // circle touches everywhere; neither is a contact.
      {"concentric chains are never paired",
       {MakeCircle(0, 0, 3), MakeArc(0, 0, 3, Degrees(3), Degrees(33), 5), MakeCircle(0, 0, 3),
        MakeCircle(0, 0, 1)},
       4, {61, 6, 61, 61}},
      // The polyline starts at the arcs' shared end and ends on the first
      // arc's circle between two samples.
      {"chains sharing an arc end",
       {arc, MakeArc(0, 6, 3, Degrees(270), Degrees(180), 15),
        MakeChain({{arc.X[15], arc.Y[15]}, on3(51)})},
       3, {16, 16}},
      {"a touching segment moves the nearest point",
       {MakeCircle(0, 0, 3), TangentSegment(3, 93), TangentSegment(3 + 2 * E, 183)}, 3, {61},
       {{0, -1, on3(93)}}, 1},
      {"a touching segment at the seam moves both ends", {MakeCircle(0, 0, 3), TangentSegment(3, 2)}, 2,
       {61}, {{0, 0, on3(2)}, {0, 60, on3(2)}}, 2},
      {"a touching segment near an arc end leaves the end in place", {arc, TangentSegment(3, 88)}, 2,
       {17}, {{0, 0, {arc.X[0], arc.Y[0]}}, {0, 15, on3(88)}, {0, 16, {arc.X[15], arc.Y[15]}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<CurveRecord> records = c.records;
    RefineCircleContacts(records, c.n);
    for (size_t r = 0; r < c.counts.size(); ++r) ASSERT_EQ(records[r].PointCount, c.counts[r]) << r;
    for (const ExpectedPoint& e : c.points) {
      EXPECT_TRUE(HasPoint(records[e.record], e.index, e.p)) << e.record << " point " << e.index;
    }
    EXPECT_TRUE(c.moved < 0 || DifferingPoints(records[0], c.records[0]) == c.moved);
    const std::vector<CurveRecord> once = records;
    RefineCircleContacts(records, c.n);
    for (size_t r = 0; r < records.size(); ++r) {
      ASSERT_EQ(records[r].PointCount, once[r].PointCount) << r;
      EXPECT_EQ(DifferingPoints(records[r], once[r]), 0) << r;
    }
  }
}

}  // namespace
}  // namespace pphatch
