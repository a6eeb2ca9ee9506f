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

#include <map>
#include <cstdio>
#include <iomanip>
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

constexpr uint32_t kDrawings = 80;
constexpr int kClicksPerDrawing = 30;
/// View zooms (view units per drawing unit), taken in turn by the drawings.
constexpr double kZooms[] = {7, 12, 20};

// For each drawing, clicks at random points of its square away from its
// lines; for each click both sides must fail, or our boundaries must close
// and our area equal the area of the GEOS face holding the click.
TEST(GeosDifferential, RequestAreasEqualPolygonizedFaceAreas) {
  int total = 0, inFaces = 0, withHoles = 0;
  // Figures of each kind, views and points put into curves, over all drawings.
  std::map<std::string, int> drawn;
  for (uint32_t seed = 1; seed <= kDrawings; ++seed) {
    RequestFixture f;
    const RandomDrawing made = ViewRandom(seed, f, kZooms[(seed - 1) % std::size(kZooms)]);
    const DrawingChords chords(*f.drawing, kOnCurve);
    const GeosFaces faces(ChainPoints(chords), kOnCurve);
    for (const auto& [kind, count] : made.features) drawn[kind] += count;
    drawn["turned views"] += made.viewRotation != 0;
    drawn["mirrored views"] += made.viewMirrored;
    for (const Contact& c : chords.Contacts()) ++drawn[c.touch ? "touching points" : "points on curves"];
    for (const Vec2 click : RandomClicks(seed, chords, kClearance, kClicksPerDrawing)) {
      ++total;
      const PickOutcome out = f.Pick(click.x, click.y);
      const std::vector<const GeosFaces::Face*> holding = faces.Holding(click);
      ASSERT_LE(holding.size(), 1u) << "overlapping GEOS faces, seed " << seed;
      std::ostringstream ours;
      ours << std::setprecision(17) << "seed " << seed << " click (" << click.x << ", " << click.y
           << "): ours " << (out.ok ? "finds " : "fails ") << out.NetArea() << " in "
           << out.contours.size() << " contours";
      if (holding.empty()) {
        EXPECT_FALSE(out.ok) << ours.str() << ", GEOS finds no face";
        continue;
      }
      const GeosFaces::Face& face = *holding.front();
      ++inFaces;
      withHoles += face.holes > 0;
      EXPECT_TRUE(out.ok && AllClosed(out, kClosingGap)) << ours.str();
      // Beyond rounding, the areas may differ where points were put into
      // curves (see Contact::allowance).
      EXPECT_NEAR(out.NetArea(), face.area, kRelative * face.area + chords.Allowance(face.box))
          << ours.str() << ", GEOS with " << face.holes << " holes";
    }
  }
  std::ostringstream kinds;
  for (const auto& [kind, count] : drawn) kinds << count << " " << kind << ", ";
  std::printf("[ differential ] %d clicks in %u drawings, %d inside a bounded face, %d in a face with "
              "islands\n[ drawn        ] %s\n", total, kDrawings, inFaces, withHoles, kinds.str().c_str());

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

}  // namespace
}  // namespace pphatch::differential
