// Boundaries with gaps of known size: a failed pick names the gaps and the
// smallest tolerance that closes them; a tolerance just below that still
// fails, one just above finds the area GEOS gives for the drawing with the
// gaps drawn shut; and the drawing itself never changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "differential/drawing_chords.h"
#include "differential/geos_faces.h"
#include "differential/request_areas.h"
#include "memhost/snapshot.h"
#include "support/request_fixture.h"

namespace pphatch::differential {
namespace {

using mem::Into;

/// A gap as the test draws it: between the free end `from` and `to`.
struct Gap {
  Vec2 from, to;
  double Size() const { return mem::Length(from - to); }
};

/// A drawing whose boundary around `click` is open at `gaps`.
struct GapCase {
  const char* name;
  std::function<void(const Into&)> build;
  Vec2 click;
  std::vector<Gap> gaps;
};

/// Builds the drawing that Draw reads from the text.
std::function<void(const Into&)> Drawn(const char* text) {
  return [text](const Into& d) { Draw(d, text); };
}

// A point at `degrees` round the column's centre, `radius` from it.
constexpr Vec2 kColumn{10, 5};
Vec2 OnColumn(double degrees, double radius) {
  return kColumn + radius * Vec2{std::cos(kTurn * degrees / 360), std::sin(kTurn * degrees / 360)};
}

// The point of the ellipse round the column's centre with semi-axes 3 and
// 1.5 at parameter `degrees`, moved `out` along its outward normal.
Vec2 OnOval(double degrees, double out) {
  const double t = kTurn * degrees / 360, a = 3, b = 1.5;
  const Vec2 normal{b * std::cos(t), a * std::sin(t)};
  return kColumn + Vec2{a * std::cos(t), b * std::sin(t)} + (out / mem::Length(normal)) * normal;
}

// A wall from the gap's end at `end` round to the far side of the column,
// where it meets the curve at `start`.
void WallRoundTheColumn(const Into& d, Vec2 end, Vec2 start) {
  mem::AddChain(d, {end, {end.x, 10}, {0, 10}, {0, 0}, {start.x, 0}, start});
}

const std::vector<GapCase>& Cases() {
  static const std::vector<GapCase> cases = {
      // A 10 x 10 room whose top wall stops 0.013 short of its other piece.
      {"between line ends", Drawn("C 0 0 10 0; C 10 0 10 10; C 10 10 4.013 10; C 4 10 0 10; C 0 10 0 0"),
       {5, 5}, {{{4.013, 10}, {4, 10}}}},
      {"from a line end to a line's middle", Drawn("C 0 10 12 10; C 10 9.9929 10 0 0 0 0 10"), {5, 5},
       {{{10, 9.9929}, {10, 10}}}},
      // The wall meets the circle at 260 degrees and stops 0.02 short of it
      // at 100 degrees, between the circle's samples.
      {"from a line end to a circle",
       [](const Into& d) {
         mem::AddCircle(d, kColumn, 2);
         WallRoundTheColumn(d, OnColumn(100, 2.02), OnColumn(260, 2));
       },
       {5, 5}, {{OnColumn(100, 2.02), OnColumn(100, 2)}}},
      // The same against an ellipse (semi-axes 3 and 1.5): the gap runs
      // along the ellipse's normal, at 100 degrees of its parameter.
      {"from a line end to an ellipse",
       [](const Into& d) {
         mem::AddEllipse(d, kColumn, {3, 0}, 0.5);
         WallRoundTheColumn(d, OnOval(100, 0.02), OnOval(260, 0));
       },
       {5, 5}, {{OnOval(100, 0.02), OnOval(100, 0)}}},
      // The room with a gap of 0.004 in a block inserted at (100, 50), scaled
      // by 2 and turned a quarter: the block's (x, y) lands at (100 - 2 y, 50 + 2 x).
      {"inside a turned, scaled block",
       [](const Into& d) {
         const mem::GraphicPtr block = mem::NewBlock(d.Drawing());
         Draw(block, "C 0 0 10 0; C 10 0 10 10; C 10 10 4.004 10; C 4 10 0 10; C 0 10 0 0");
         mem::AddInsert(d, block, {100, 50, 2, kTurn / 4});
       },
       {90, 60}, {{{80, 58.008}, {80, 58}}}},
      {"several along one boundary",
       Drawn("C 0 0 10 0; C 10 0 10 6; C 10 6.02 10 10; C 10 10 4.01 10; C 4 10 0 10; C 0 10 0 0;"
             "P 3 3 5 3 5 5"),
       {7, 7}, {{{4.01, 10}, {4, 10}}, {{10, 6.02}, {10, 6}}}},
  };
  return cases;
}

// Each drawn gap is reported once, joining the same two points either way
// round, with its size, all `within` that.
void ExpectGaps(const std::vector<PickGap>& reported, const std::vector<Gap>& drawn, double within) {
  ASSERT_EQ(reported.size(), drawn.size());
  const auto near = [within](double x, double y, Vec2 p) {
    return std::fabs(x - p.x) <= within && std::fabs(y - p.y) <= within;
  };
  for (const Gap& gap : drawn) {
    const auto match = std::find_if(reported.begin(), reported.end(), [&](const PickGap& r) {
      return (near(r.fromX, r.fromY, gap.from) && near(r.toX, r.toY, gap.to)) ||
             (near(r.fromX, r.fromY, gap.to) && near(r.toX, r.toY, gap.from));
    });
    ASSERT_NE(match, reported.end()) << "gap at " << gap.from.x << "," << gap.from.y;
    EXPECT_NEAR(match->size, gap.Size(), within);
  }
}

TEST(GapClosing, DiagnosisFindsTheGapsAndTheirSizeAndTheToleranceAtThemCloses) {
  for (const GapCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    RequestFixture f;
    c.build(f.drawing);
    f.Look(c.click, 20);
    const std::string before = mem::Snapshot(*f.drawing);
    double size = 0, within = kRelative;  // 1e-9 of the gaps' coordinates
    for (const Gap& g : c.gaps) {
      size = std::max(size, g.Size());
      within = std::max({within, kRelative * std::fabs(g.from.x), kRelative * std::fabs(g.from.y)});
    }

    ASSERT_FALSE(f.Pick(c.click.x, c.click.y).ok);
    const PickDiagnosis open = f.hatch->Diagnosis();
    EXPECT_EQ(open.cause, PickDiagnosis::Cause::kOpen);
    EXPECT_NEAR(open.closesAt, size, within);
    ExpectGaps(open.gaps, c.gaps, within);

    // Just below, the pick still fails and names the tolerance that closes
    // it and every gap its area runs over (with several gaps, the smaller
    // ones lie within the tolerance).
    f.hatch->SetGapTolerance(size * (1 - 1e-6));
    EXPECT_FALSE(f.Pick(c.click.x, c.click.y).ok);
    EXPECT_NEAR(f.hatch->Diagnosis().closesAt, size, within);
    ExpectGaps(f.hatch->Diagnosis().gaps, c.gaps, within);

    f.hatch->SetGapTolerance(size * (1 + 1e-6));
    const PickOutcome closed = f.Pick(c.click.x, c.click.y);
    ASSERT_TRUE(closed.ok);
    // The area GEOS finds around the click in the drawing with the gaps shut.
    auto shut = mem::MemDrawing::Create();
    c.build(shut);
    for (const Gap& g : c.gaps) mem::AddLine(shut, g.from, g.to);
    const DrawingChords chords(*shut, kOnCurve);
    const double expected = GeosFaces(ChainPoints(chords), kOnCurve).AreaAround(c.click);
    EXPECT_NEAR(closed.NetArea(), expected, kRelative * expected);
    ExpectGaps(f.hatch->Diagnosis().gaps, c.gaps, within);
    // A bridged area the host then fails to take is an error, with no gaps.
    f.drawing->Faults().Fail("HostGraphics.Parent");
    EXPECT_FALSE(f.Pick(c.click.x, c.click.y).ok);
    EXPECT_EQ(f.hatch->Diagnosis().cause, PickDiagnosis::Cause::kError);
    EXPECT_TRUE(f.hatch->Diagnosis().gaps.empty());
    f.drawing->Faults().ClearFaults();
    EXPECT_EQ(mem::Snapshot(*f.drawing), before);
  }
}

// Failures without a gap say what else is wrong.
TEST(GapClosing, DiagnosisOfOtherFailures) {
  // A bar between two closed squares bounds nothing and ends nowhere free.
  RequestFixture bar;
  Draw(bar.drawing, "P 0 0 1 0 1 1 0 1; P 5 0 6 0 6 1 5 1; C 1 0.5 5 0.5");
  bar.Look({3, 0.5}, 100);
  ASSERT_FALSE(bar.Pick(3, 0.5).ok);
  EXPECT_EQ(bar.hatch->Diagnosis().cause, PickDiagnosis::Cause::kOnBoundary);
  // Beside it, the click sees out on every side.
  ASSERT_FALSE(bar.Pick(3, 0.7).ok);
  EXPECT_EQ(bar.hatch->Diagnosis().cause, PickDiagnosis::Cause::kNotEnclosed);
  // A found area clears the last diagnosis.
  ASSERT_TRUE(bar.Pick(0.5, 0.25).ok);
  EXPECT_EQ(bar.hatch->Diagnosis().cause, PickDiagnosis::Cause::kNone);
  EXPECT_TRUE(bar.hatch->Diagnosis().gaps.empty());
}

// True when the segments p-q and u-v cross at a point inside both.
bool CrossProperly(Vec2 p, Vec2 q, Vec2 u, Vec2 v) {
  const auto side = [](Vec2 a, Vec2 b, Vec2 c) { return mem::Cross(b - a, c - a); };
  return side(p, q, u) * side(p, q, v) < 0 && side(u, v, p) * side(u, v, q) < 0;
}

// A line end near its own line, or a dangling line farther from anything
// than the tolerance, closes nothing; a bridge never crosses a graphic.
TEST(GapClosing, BridgesOnlyWhatTheToleranceReachesAcrossNothing) {
  struct Case {
    const char* name;
    const char* drawing;
    Vec2 click;
    double gap;
    double area;  ///< of the area found; 0: none
  };
  const char* roomWithLine = "P 0 0 10 0 10 10 0 10; C 0.3 5 9.7 5";
  const Case cases[] = {
      // The hook's end lies 0.01 from the line it hangs on: its own chain;
      // the click lies in the sliver a bridge would close.
      {"a hooked end near its own line", "C 0 0 10 0 10 10 9.99 9.99", {9.9967, 9.9933}, 0.05, 0},
      {"a dangling line 0.3 from the walls, tolerance 0.2", roomWithLine, {5, 7}, 0.2, 100},
      {"a dangling line 0.3 from the walls, tolerance 0.4", roomWithLine, {5, 7}, 0.4, 50},
      // The straight way between the ends crosses a wall: each bridges to it.
      {"ends on both sides of a wall", "C 4 10 0 10 0 0 10 0 10 10 4.02 10; C 4.01 9 4.01 11", {2, 5},
       0.05, 100},
      // A hook hangs 0.03 into the room; the nearest graphic not on its own
      // chain lies above the wall: bridged across it, the click would lie in a sliver.
      {"an end whose nearest other graphic lies across the wall",
       "C 5 9.97 5 10 0 10 0 0 10 0 10 10 5 10; C 4.95 10.01 3 10.01", {4.99, 9.99}, 0.1, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RequestFixture f;
    Draw(f.drawing, c.drawing);
    f.Look(c.click, 20);
    f.hatch->SetGapTolerance(c.gap);
    const PickOutcome out = f.Pick(c.click.x, c.click.y);
    ASSERT_EQ(out.ok, c.area > 0);
    EXPECT_NEAR(out.NetArea(), c.area, kRelative * c.area);  // 0 when it fails
    const DrawingChords chords(*f.drawing, kOnCurve);
    for (const PickGap& g : f.hatch->Diagnosis().gaps) {
      for (const auto& chain : ChainPoints(chords)) {
        for (size_t k = 0; k + 1 < chain.size(); ++k)
          EXPECT_FALSE(CrossProperly({g.fromX, g.fromY}, {g.toX, g.toY}, chain[k], chain[k + 1]));
      }
    }
  }
}

}  // namespace
}  // namespace pphatch::differential
