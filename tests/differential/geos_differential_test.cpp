// Whole requests compared with GEOS. For seeded random drawings of lines,
// chains, rectangles and polygons, every click away from the lines must
// either fail where GEOS finds no bounded face around it, or return an area
// (outer boundary minus islands) equal to the area of the GEOS face holding
// the click: the face's shell minus its holes, which are the outlines of the
// islands inside it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "differential/geos_faces.h"
#include "differential/random_drawing.h"
#include "support/request_fixture.h"

namespace pphatch::differential {
namespace {

/// Clicks closer than this to a line are left out: there the face holding
/// the click is a matter of rounding.
constexpr double kClearance = 1e-3;
/// Allowed relative difference between our area and the face's area.
constexpr double kRelative = 1e-9;

constexpr uint32_t kSeeds[] = {1, 2, 3, 5, 8, 13, 21, 34, 55, 89};
constexpr int kClicksPerDrawing = 60;

/// One click and what both sides made of it.
struct Comparison {
  uint32_t seed = 0;
  Vec2 click;
  bool ok = false;
  double ours = 0;
  std::optional<double> theirs;

  bool Agrees() const {
    if (!ok || !theirs) return !ok && !theirs;
    return std::fabs(ours - *theirs) <= kRelative * std::fabs(*theirs);
  }

  std::string Describe() const {
    char text[200];
    std::snprintf(text, sizeof text, "seed %u click (%.17g, %.17g): ours %s, GEOS %s", seed,
                  click.x, click.y, ok ? std::to_string(ours).c_str() : "fails",
                  theirs ? std::to_string(*theirs).c_str() : "no face");
    return text;
  }
};

/// Clicks at random points of the drawing's square, away from its lines, and
/// compares both sides for each.
std::vector<Comparison> CompareDrawing(uint32_t seed) {
  const Plan plan = RandomPlan(seed);
  const std::vector<Piece> pieces = PlanPieces(plan);
  const GeosFaces faces(pieces);
  RequestFixture f;
  BuildPlan(plan, f.drawing);
  f.Look({50, 50}, 7);
  std::mt19937 rng(seed * 7919u + 17u);
  const auto coordinate = [&rng] { return 100.0 * (rng() / 4294967296.0); };
  std::vector<Comparison> results;
  while (results.size() < static_cast<size_t>(kClicksPerDrawing)) {
    const Vec2 click{coordinate(), coordinate()};
    if (DistanceToPieces(click, pieces) < kClearance) continue;
    Comparison c;
    c.seed = seed;
    c.click = click;
    const PickOutcome out = f.Pick(click.x, click.y);
    c.ok = out.ok;
    c.ours = out.ok ? out.NetArea() : 0;
    c.theirs = faces.AreaAround(click);
    EXPECT_LE(faces.FacesHolding(click).size(), 1u) << "overlapping GEOS faces: " << c.Describe();
    results.push_back(c);
  }
  return results;
}

TEST(GeosDifferential, RequestAreasEqualPolygonizedFaceAreas) {
  int total = 0, agreeing = 0, inFaces = 0;
  std::vector<std::string> disagreements;
  for (const uint32_t seed : kSeeds) {
    for (const Comparison& c : CompareDrawing(seed)) {
      ++total;
      if (c.theirs) ++inFaces;
      if (c.Agrees()) {
        ++agreeing;
      } else {
        disagreements.push_back(c.Describe());
      }
    }
  }
  std::ostringstream summary;
  summary << agreeing << " of " << total << " clicks agree (" << inFaces
          << " inside a bounded face)";
  std::printf("[ differential ] %s\n", summary.str().c_str());
  for (const std::string& d : disagreements) std::printf("[ disagreement ] %s\n", d.c_str());
  ::testing::Test::RecordProperty("agreement", summary.str());

  // The sweep means something only when most clicks land in faces and some do not.
  EXPECT_GT(inFaces, total / 2);
  EXPECT_LT(inFaces, total);
  for (const std::string& d : disagreements) ADD_FAILURE() << d;
}

// The oracle itself, on drawings whose faces are known by hand.
TEST(GeosDifferential, OracleFindsFacesWithHolesAndIgnoresDanglingLines) {
  const std::vector<Piece> square = {
      {{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}, {{10, 10}, {0, 10}}, {{0, 10}, {0, 0}}};
  std::vector<Piece> pieces = square;
  // An island 2 x 2, a line dangling from the left side, a loose line inside.
  for (const Piece& s : square) pieces.push_back({0.2 * s.a + Vec2{4, 4}, 0.2 * s.b + Vec2{4, 4}});
  pieces.push_back({{0, 5}, {3, 5}});
  pieces.push_back({{7, 1}, {9, 2}});
  const GeosFaces faces(pieces);
  EXPECT_EQ(faces.Count(), 2u);
  EXPECT_DOUBLE_EQ(faces.AreaAround({1, 1}).value_or(-1), 96);
  EXPECT_DOUBLE_EQ(faces.AreaAround({5, 5}).value_or(-1), 4);
  EXPECT_FALSE(faces.AreaAround({20, 5}).has_value());
}

TEST(GeosDifferential, OracleNodesCrossingsAndOverlaps) {
  // The square's diagonals cut it into four triangles; a second, shorter
  // copy of the bottom side overlaps the first.
  const std::vector<Piece> pieces = {{{0, 0}, {10, 0}},  {{10, 0}, {10, 10}}, {{10, 10}, {0, 10}},
                                     {{0, 10}, {0, 0}},  {{0, 0}, {10, 10}},  {{0, 10}, {10, 0}},
                                     {{2, 0}, {8, 0}}};
  const GeosFaces faces(pieces);
  EXPECT_EQ(faces.Count(), 4u);
  EXPECT_DOUBLE_EQ(faces.AreaAround({5, 1}).value_or(-1), 25);
  EXPECT_DOUBLE_EQ(faces.AreaAround({1, 5}).value_or(-1), 25);
}

}  // namespace
}  // namespace pphatch::differential
