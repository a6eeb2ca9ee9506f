// A drawing gives the same answers however large it is, wherever it lies,
// and whatever lies far away from it: random drawings (random_drawing.h)
// copied scaled, moved far from the origin, or with a line far away, viewed
// alike, must answer the same clicks (placed alike) as the plain drawing:
// the same success or failure, the same number of boundaries, and the area
// scaled by the square of the scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iomanip>
#include <vector>

#include "differential/drawing_chords.h"
#include "differential/random_drawing.h"
#include "differential/request_areas.h"
#include "memhost/graphic_copy.h"
#include "support/request_fixture.h"

namespace pphatch::differential {
namespace {

constexpr uint32_t kDrawings = 10;
constexpr int kClicksPerDrawing = 20;
constexpr double kZoom = 10;
/// The drawings' square is [0, 100] x [0, 100].
constexpr double kSize = 100;

/// One way of placing the drawing: scaled about the origin, then moved, with
/// a line of the drawing's size `far` sizes away from it (0: none).
struct Variant {
  const char* name;
  double scale;
  Vec2 offset;
  double far;
};
constexpr Variant kVariants[] = {{"scaled by 1e-3", 1e-3, {0, 0}, 0},
                                 {"scaled by 1e3", 1e3, {0, 0}, 0},
                                 {"scaled by 1e6", 1e6, {0, 0}, 0},
                                 {"moved by (1e7, -1e7)", 1, {1e7, -1e7}, 0},
                                 {"with a line 10 sizes away", 1, {0, 0}, 10},
                                 {"with a line 1e3 sizes away", 1, {0, 0}, 1e3},
                                 {"with a line 1e6 sizes away", 1, {0, 0}, 1e6}};

/// How far the area of a placed drawing may lie from the plain area times
/// the scale squared: 1e-9 relative for rounding, and the rounding of the
/// coordinates themselves. A coordinate of magnitude M is held to half a unit
/// in the last place (ulp(M); 2^-29, about 1.9e-9, near 1e7); the view's
/// conversions, the sampling of curves and the crossings add a few more
/// roundings, so each boundary point may lie some 8 ulps off its place,
/// which moves the area by at most that times the boundary's length.
double Allowed(double area, double length, const Variant& v) {
  const double magnitude = std::max(std::fabs(v.offset.x), std::fabs(v.offset.y)) + kSize * v.scale;
  const double ulp = std::ldexp(1.0, std::ilogb(magnitude) - 52);
  return kRelative * area + 8 * ulp * length;
}

/// The plain drawing's graphics copied into `placed`, scaled and moved as
/// the variant says, and the far line in a direction chosen by the seed.
void Place(const mem::MemDrawing& plain, const Variant& v, uint32_t seed, RequestFixture& placed) {
  const Affine2 move{v.scale, 0, 0, v.scale, v.offset};
  for (const auto& g : plain.List()->Items())
    mem::Into(placed.drawing).Put(mem::CopyGraphic(*g, *placed.drawing, &move));
  if (v.far > 0) {
    const double angle = kTurn * (seed % 8) / 8;
    const Vec2 d{std::cos(angle), std::sin(angle)}, across{-d.y, d.x};
    const Vec2 at = Vec2{50, 50} + (v.far * kSize) * d;
    mem::AddLine(placed.drawing, at - 0.5 * kSize * across, at + 0.5 * kSize * across);
  }
}

TEST(ScaleInvariance, AreasScaleWithTheDrawing) {
  int inFaces = 0;
  for (uint32_t seed = 1; seed <= kDrawings; ++seed) {
    RequestFixture plain;
    const RandomDrawing made = ViewRandom(seed, plain, kZoom);
    const DrawingChords chords(*plain.drawing, kOnCurve);
    const std::vector<Vec2> clicks = RandomClicks(seed, chords, kClearance, kClicksPerDrawing);
    std::vector<PickOutcome> answers;
    for (const Vec2 click : clicks) {
      answers.push_back(plain.Pick(click.x, click.y));
      inFaces += answers.back().ok;
    }
    for (const Variant& v : kVariants) {
      RequestFixture placed;
      Place(*plain.drawing, v, seed, placed);
      placed.view->SetMirrored(made.viewMirrored);
      placed.Look(v.scale * Vec2{50, 50} + v.offset, kZoom / v.scale, made.viewRotation);
      for (size_t i = 0; i < clicks.size(); ++i) {
        const Vec2 at = v.scale * clicks[i] + v.offset;
        const PickOutcome out = placed.Pick(at.x, at.y);
        const PickOutcome& base = answers[i];
        const double expected = base.NetArea() * v.scale * v.scale;
        SCOPED_TRACE(::testing::Message() << std::setprecision(17) << "seed " << seed << " click ("
                                          << clicks[i].x << ", " << clicks[i].y << ") " << v.name);
        EXPECT_EQ(out.ok, base.ok);
        EXPECT_EQ(out.contours.size(), base.contours.size());
        EXPECT_NEAR(out.NetArea(), expected, Allowed(std::fabs(expected), BoundaryLength(base) * v.scale, v));
      }
    }
  }
  std::printf("[ scale        ] %zu drawings, %d of %zu plain clicks find an area, %zu placements\n",
              size_t{kDrawings}, inFaces, size_t{kDrawings} * kClicksPerDrawing, std::size(kVariants));
  // Both successes and failures must be compared.
  EXPECT_GT(inFaces, static_cast<int>(kDrawings * kClicksPerDrawing) / 2);
  EXPECT_LT(inFaces, static_cast<int>(kDrawings * kClicksPerDrawing));
}

}  // namespace
}  // namespace pphatch::differential
