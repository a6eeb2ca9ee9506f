// Whole requests compared with GEOS. For seeded random drawings (see
// random_drawing.h), every click away from the lines must either fail where
// GEOS finds no bounded face around it, or return closed boundaries whose
// area (outer boundary minus islands) equals the area of the GEOS face
// holding the click: the face's shell minus its holes, which are the
// outlines of the islands inside it. Islands joined to the outer boundary
// (touching it, or hung on it by a line) are cut out by the outer boundary
// itself, which runs round them, just as GEOS leaves them out of the face;
// dangling lines add no area to either. GEOS gets the curves as the same
// chords the component samples them into (see drawing_chords.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "differential/drawing_chords.h"
#include "differential/geos_faces.h"
#include "differential/random_drawing.h"
#include "differential/request_areas.h"
#include "support/request_fixture.h"

namespace pphatch::differential {
namespace {

/// Points lying off another chain by up to this are kept as near misses:
/// more than the tolerance the component uses for any face of these
/// drawings, which lie within 200 units of the click (see ComponentTolerance).
constexpr double kNearReach = 1e-3;

constexpr uint32_t kFirstSeed = 1;
constexpr uint32_t kDrawings = 80;
constexpr int kClicksPerDrawing = 30;
/// View zooms (view units per drawing unit), taken in turn by the drawings.
constexpr double kZooms[] = {7, 12, 20};

/// The largest tolerance the component may use when it finds a face: 1e-7
/// of the side of its search window, which is at most 8 times as wide as
/// the square the face needs (of side 2.25 D, D the greatest distance in x
/// or y from the click to the box's sides; a wider window finds the face
/// again at that size), and no less than 1e-11 of the coordinates' magnitude.
double ComponentTolerance(Vec2 click, const Box& face) {
  const double d = std::max(
      {click.x - face.minX, face.maxX - click.x, click.y - face.minY, face.maxY - click.y});
  const double magnitude = std::max(std::fabs(click.x), std::fabs(click.y)) + 20 * d;
  return std::max(1e-7 * 8 * 2.25 * d, 1e-11 * magnitude);
}

// For each drawing, clicks at random points of its square away from its
// lines; for each click both sides must fail, or our boundaries must close
// and our area equal the area of the GEOS face holding the click.
TEST(GeosDifferential, RequestAreasEqualPolygonizedFaceAreas) {
  int total = 0, agreeing = 0, inFaces = 0, withHoles = 0, allowed = 0;
  // Figures of each kind, views and points put into curves, over all drawings.
  std::map<std::string, int> drawn;
  const auto [firstSeed, drawings] = SeedRange("PPHATCH_DIFFERENTIAL_SEEDS", kFirstSeed, kDrawings);
  for (uint32_t n = 0; n < drawings; ++n) {
    const uint32_t seed = firstSeed + n;
    RequestFixture f;
    const RandomDrawing made = ViewRandom(seed, f, kZooms[n % std::size(kZooms)]);
    const DrawingChords chords(*f.drawing, kOnCurve);
    const GeosFaces faces(ChainPoints(chords), kOnCurve, kNearReach);
    for (const auto& [kind, count] : made.features) drawn[kind] += count;
    drawn["turned views"] += made.viewRotation != 0;
    drawn["mirrored views"] += made.viewMirrored;
    for (const Contact& c : chords.Contacts()) ++drawn[c.touch ? "touching points" : "points on curves"];
    for (const Vec2 click : RandomClicks(seed, chords, kClearance, kClicksPerDrawing)) {
      ++total;
      const PickOutcome out = f.Pick(click.x, click.y);
      const double ours = out.ok ? out.NetArea() : 0;
      const std::vector<const GeosFaces::Face*> holding = faces.Holding(click);
      EXPECT_LE(holding.size(), 1u) << "overlapping GEOS faces, seed " << seed;
      bool agrees = !out.ok;
      char text[300];
      std::snprintf(text, sizeof text, "seed %u click (%.17g, %.17g): ours %s %.12g in %zu contours%s",
                    seed, click.x, click.y, out.ok ? "finds" : "fails", ours, out.contours.size(),
                    AllClosed(out, kClosingGap) ? "" : " (open)");
      std::string describe = text;
      if (!holding.empty()) {
        const GeosFaces::Face& face = *holding.front();
        // Beyond rounding, the areas may differ where points were put into
        // curves (see Contact::allowance) or where the component joins near
        // misses (see NearMiss).
        const double allowance = chords.Allowance(face.box) +
                                 faces.NearMissAllowance(face.box, ComponentTolerance(click, face.box));
        const double difference = std::fabs(ours - face.area), rounding = kRelative * face.area;
        agrees = out.ok && AllClosed(out, kClosingGap) && difference <= rounding + allowance;
        ++inFaces;
        withHoles += face.holes > 0;
        allowed += agrees && difference > rounding;
        std::snprintf(text, sizeof text, ", GEOS %.12g with %d holes", face.area, face.holes);
        describe += text;
      }
      agreeing += agrees;
      if (!agrees) ADD_FAILURE() << describe;
    }
  }
  std::ostringstream summary, kinds;
  for (const auto& [kind, count] : drawn) kinds << count << " " << kind << ", ";
  summary << agreeing << " of " << total << " clicks agree (" << inFaces
          << " inside a bounded face, " << withHoles << " in a face with islands, " << allowed
          << " within an allowance for curve contacts or near misses) in " << drawings
          << " drawings";
  std::printf("[ differential ] %s\n[ drawn        ] %s\n", summary.str().c_str(),
              kinds.str().c_str());
  ::testing::Test::RecordProperty("agreement", summary.str());

  // The sweep means something only when most clicks land in faces, many of
  // them in faces with islands, and some outside every face, and when the
  // drawings held every kind of figure, turned and mirrored views, points
  // on curves and touching points.
  EXPECT_GT(inFaces, total / 2);
  EXPECT_GT(withHoles, total / 10);
  EXPECT_LT(inFaces, total);
  EXPECT_EQ(drawn.size(), 14u) << kinds.str();  // ten kinds of figure, four of views and contacts
  for (const auto& [kind, count] : drawn) EXPECT_GT(count, 0) << kind;
}

// --- The oracle itself, on drawings whose faces are known by hand ---

// Faces with holes and crossings are the sweep's daily bread; these are the
// cases where the oracle itself must join what meets only up to rounding.
TEST(GeosDifferential, OracleSnapsEndsOnLinesUpToRounding) {
  // A line from the corner (0, 0) to a point a + t (b - a) of the
  // hypotenuse of a right triangle of area 50, with t the first of a few
  // fractions for which that point misses the hypotenuse by rounding.
  const Vec2 a{10, 0}, b{0, 10};
  Vec2 end;
  for (const double t : {1.0 / 3, 1.0 / 7, 0.1, 0.3, 1.0 / 11, 0.7}) {
    end = a + t * (b - a);
    if (mem::Cross(b - a, end - a) != 0) break;
  }
  ASSERT_NE(mem::Cross(b - a, end - a), 0) << "every point fell on the hypotenuse";
  const GeosFaces split({{{0, 0}, a, b, {0, 0}}, {{0, 0}, end}}, kOnCurve);
  EXPECT_EQ(split.Faces().size(), 2u);
  EXPECT_NEAR(split.AreaAround({0.5 * end.x + 0.3, 0.1}), 5 * end.y, 1e-12);
  EXPECT_NEAR(split.AreaAround({0.1, 0.5 * end.y + 0.3}), 5 * end.x, 1e-12);
}

TEST(GeosDifferential, OracleSamplesCurvesAsTheComponentDoes) {
  EXPECT_EQ(CurveSteps(mem::CircleShape({0, 0}, 1)), 60);
  EXPECT_EQ(CurveSteps(mem::CircularArcShape({0, 0}, 1, 0, 0.05)), 5);        // below 1 step
  EXPECT_EQ(CurveSteps(mem::CircularArcShape({0, 0}, 1, 0, kTurn / 4)), 20);  // 15.25 steps
  EXPECT_EQ(CurveSteps(mem::CircularArcShape({0, 0}, 1, 1, 0.5)), 56);        // through angle 0
  // A circle of radius 2 in a square: 60 chords, the outer face the square
  // less their polygon. A half circle of a polyline: 30 chords.
  RequestFixture f;
  Draw(f.drawing, "R 0 0 10 10");
  mem::AddCircle(f.drawing, {5, 5}, 2);
  const DrawingChords chords(*f.drawing, kOnCurve);
  ASSERT_EQ(chords.Chains().size(), 2u);
  const double polygon = 30 * 4 * std::sin(kTurn / 60);
  EXPECT_NEAR(chords.Chains()[1].chordError, 2 * (1 - std::cos(kTurn / 120)), 1e-12);
  EXPECT_NEAR(GeosFaces(ChainPoints(chords), kOnCurve).AreaAround({1, 1}), 100 - polygon, 1e-12);
  mem::AddPolyline(f.drawing, {{20, 0, 1}, {22, 0, 0}});
  const DrawingChords more(*f.drawing, kOnCurve);
  ASSERT_EQ(more.Chains().size(), 3u);
  EXPECT_EQ(more.Chains()[2].points.size(), 31u);

  // A line from the square's bottom to the circle at 273 degrees, between
  // the samples at 270 and 276: the circle's face grows by the triangle
  // those samples make with the line's end.
  const mem::ArcShape circle = mem::CircleShape({5, 5}, 2);
  const Vec2 end = circle.PointAt(kTurn * 273 / 360);
  mem::AddLine(f.drawing, {5, 0}, end);
  const DrawingChords ending(*f.drawing, kOnCurve);
  ASSERT_EQ(ending.Contacts().size(), 1u);
  EXPECT_FALSE(ending.Contacts()[0].touch);
  const Vec2 p = circle.PointAt(kTurn * 270 / 360), q = circle.PointAt(kTurn * 276 / 360);
  const double triangle = 0.5 * std::fabs(mem::Cross(end - p, q - p));
  const GeosFaces faces(ChainPoints(ending), kOnCurve);
  EXPECT_NEAR(faces.AreaAround({5, 5}), polygon + triangle, 1e-12);
  EXPECT_NEAR(faces.AreaAround({1, 1}), 100 - polygon - triangle, 1e-12);
}

TEST(GeosDifferential, OracleFindsLinesTouchingCurves) {
  // A line across the square touching the circle at 63 degrees, between two
  // samples, and a wall at x = 6.5 crossing both: between the touching
  // point, the wall, the line and the circle lies a small face of its own,
  // which would leak round the circle if the line missed its chords.
  RequestFixture f;
  Draw(f.drawing, "R 0 0 10 10; C 6.5 0 6.5 10");
  mem::AddCircle(f.drawing, {5, 4}, 2);
  const double angle = kTurn * 63 / 360;
  const Vec2 touch{5 + 2 * std::cos(angle), 4 + 2 * std::sin(angle)};
  const Vec2 along{-std::sin(angle), std::cos(angle)};
  mem::AddLine(f.drawing, touch + (-touch.x / along.x) * along,
               touch + ((10 - touch.x) / along.x) * along);
  const DrawingChords chords(*f.drawing, kOnCurve);
  ASSERT_EQ(chords.Contacts().size(), 1u);
  EXPECT_TRUE(chords.Contacts()[0].touch);
  EXPECT_NEAR(mem::Length(chords.Contacts()[0].at - touch), 0, 1e-12);
  const double cusp = GeosFaces(ChainPoints(chords), kOnCurve).AreaAround({6.4, 5.48});
  EXPECT_GT(cusp, 0);
  EXPECT_LT(cusp, 0.1);
}

}  // namespace
}  // namespace pphatch::differential
