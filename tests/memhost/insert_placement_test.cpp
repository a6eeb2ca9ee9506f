// Block inserts under non-uniform, mirrored and nested placements.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

constexpr double kPi = std::numbers::pi;

// Child i of a graphic, through the host interface.
HostGraphicPtr ChildAt(const HostGraphicPtr& g, int i) { return g->Graphics()->Item(i); }

// The point at parameter t of the curve that GetArcData describes.
Vec2 ArcDataPoint(const std::array<double, 11>& a, double t) {
  const Vec2 major{a[3] - a[0], a[4] - a[1]};
  return Vec2{a[0], a[1]} + std::cos(t) * major + (std::sin(t) * a[6]) * Vec2{-major.y, major.x};
}

// Counter-clockwise length of GetArcData's parameter range.
double ArcDataSweep(const std::array<double, 11>& a) {
  double sweep = a[8] - a[7];
  if (sweep <= 0) sweep += 2 * kPi;
  return sweep;
}

// The parameter of p on the source ellipse (centre, major, ratio), and how
// far p is off it: |local radius - 1|, in units of the ellipse's radii.
struct OnEllipse {
  double t = 0, off = 0;
};
OnEllipse Locate(Vec2 p, Vec2 centre, Vec2 major, double ratio) {
  const double m2 = Dot(major, major);
  const double x = Dot(p - centre, major) / m2;
  const double y = Dot(p - centre, Vec2{-major.y, major.x}) / (ratio * m2);
  return {std::atan2(y, x), std::fabs(std::hypot(x, y) - 1)};
}

// A curve of a block: centre, major axis, ratio, parameter range, whole or not.
struct SourceArc {
  Vec2 centre, major;
  double ratio, start, end;
  bool full;
};

// Checks a placed arc or circle against its source: every sampled point maps
// back onto the source curve within its range, the parametric sweep is kept,
// and the vertices hold the layout (the centre; for an arc then start, end, middle).
void ExpectPlaced(const HostGraphicPtr& arc, const Affine2& map, const SourceArc& s) {
  ASSERT_EQ(arc->Type(), s.full ? "CIRCLE" : "ARC");
  const auto a = arc->GetArcData();
  const Affine2 back = map.Inverse();
  double sourceSweep = s.end - s.start;
  if (sourceSweep <= 0) sourceSweep += 2 * kPi;
  EXPECT_NEAR(ArcDataSweep(a), sourceSweep, 1e-9);
  for (int k = 0; k <= 16; ++k) {
    const Vec2 p = ArcDataPoint(a, a[7] + ArcDataSweep(a) * k / 16);
    const OnEllipse on = Locate(back.Apply(p), s.centre, s.major, s.ratio);
    EXPECT_LT(on.off, 1e-9) << "sample " << k;
    double into = on.t - s.start;
    while (into < -1e-9) into += 2 * kPi;
    EXPECT_LE(into, sourceSweep + 1e-9) << "sample " << k;
  }
  const Vec2 layout[] = {{a[0], a[1]}, ArcDataPoint(a, a[7]), ArcDataPoint(a, a[7] + ArcDataSweep(a)),
                         ArcDataPoint(a, a[7] + ArcDataSweep(a) / 2)};
  ASSERT_EQ(arc->Vertices()->Count(), s.full ? 1 : 4);
  for (int i = 0; i < arc->Vertices()->Count(); ++i) {
    EXPECT_NEAR(VertexAt(arc, i).x, layout[i].x, 1e-9) << "vertex " << i;
    EXPECT_NEAR(VertexAt(arc, i).y, layout[i].y, 1e-9) << "vertex " << i;
  }
}

TEST(ArcLayout, BuiltArcsAndArcsThroughPointsLieOnTheirCurves) {
  HostFixture f;
  const auto set = f.drawing->GraphicSets()->Add();
  const SourceArc upper{{0, 0}, {1, 0}, 1, 0, kPi, false};
  const std::pair<HostGraphicPtr, SourceArc> cases[] = {
      {AddCircle(f.drawing, {1, 1}, 2), {{1, 1}, {2, 0}, 1, 0, 2 * kPi, true}},
      // From 350 to 10 degrees: wraps through 0, middle at (2, 0).
      {AddArc(f.drawing, {0, 0}, 2, 350 * kPi / 180, 10 * kPi / 180),
       {{0, 0}, {2, 0}, 1, 350 * kPi / 180, 10 * kPi / 180, false}},
      // Major (0, 4), ratio 0.5: from (10, 4) to (8, 0).
      {AddEllipticalArc(f.drawing, {10, 0}, {0, 4}, 0.5, 0, kPi / 2),
       {{10, 0}, {0, 4}, 0.5, 0, kPi / 2, false}},
      // Through three points, given counter-clockwise or clockwise: the same arc.
      {set->AddArcThroughPoints(1, 0, 0, 0, 1, 0, -1, 0, 0), upper},
      {set->AddArcThroughPoints(-1, 0, 0, 0, 1, 0, 1, 0, 0), upper},
      {set->AddArcThroughPoints(-1, 0, 0, 0, -1, 0, 1, 0, 0), {{0, 0}, {1, 0}, 1, kPi, 0, false}}};
  for (const auto& [built, source] : cases) {
    ExpectPlaced(built, Affine2{}, source);
    EXPECT_EQ(built->Closed(), source.full);
  }
  EXPECT_NEAR(VertexAt(cases[1].first, 3).x, 2, 1e-12);
  EXPECT_NEAR(VertexAt(cases[2].first, 1).y, 4, 1e-12);
  EXPECT_NEAR(VertexAt(cases[2].first, 2).x, 8, 1e-12);
  EXPECT_EQ(VertexAt(cases[4].first, 1), (Vec2{1, 0}));  // start and end in counter-clockwise order
  EXPECT_THROW(set->AddArcThroughPoints(0, 0, 0, 1, 1, 0, 2, 2, 0), HostError);
  EXPECT_EQ(set->Count(), 3);
  EXPECT_EQ(f.drawing->Graphics()->Count(), 3);
  EXPECT_THROW(AddLine(f.drawing, {0, 0}, {1, 0})->GetArcData(), HostError);
}

TEST(InsertPlacement, PlacedArcsAndCirclesLieOnTheImagesOfTheirSources) {
  HostFixture f;
  const auto block = NewBlock(*f.drawing);
  AddArc(block, {0, 0}, 1, 0, kPi / 2);
  AddEllipticalArc(block, {5, 0}, {2, 1}, 0.5, 0.3, 2.5);
  AddCircle(block, {1, 1}, 2);
  const SourceArc sources[] = {{{0, 0}, {1, 0}, 1, 0, kPi / 2, false},
                               {{5, 0}, {2, 1}, 0.5, 0.3, 2.5, false},
                               {{1, 1}, {2, 0}, 1, 0, 2 * kPi, true}};
  const Placement mirror{.scale = -1, .yscale = 1};
  const Placement turnedMirror{.x = 3, .y = -2, .scale = 2, .rotation = 1, .yscale = -2};
  const Placement squashed{.x = 1, .scale = -2, .rotation = 0.7, .yscale = 0.5};
  const Placement wide{.x = 10, .y = 5, .scale = 2, .rotation = 0.4, .yscale = 1};
  const Affine2 shear{1, 1.5, 0, 1, {2, 2}};
  const std::pair<const char*, HostGraphicPtr> inserts[] = {
      {"mirror", AddInsert(f.drawing, block, mirror)},
      {"turned mirror", AddInsert(f.drawing, block, turnedMirror)},
      {"squashed", AddInsert(f.drawing, block, squashed)},
      {"twice as wide as high", AddInsert(f.drawing, block, wide)},
      {"shear", AddMappedInsert(f.drawing, block, shear)}};
  const Affine2 maps[] = {mirror.Map(), turnedMirror.Map(), squashed.Map(), wide.Map(), shear};
  for (std::size_t m = 0; m < std::size(inserts); ++m) {
    SCOPED_TRACE(inserts[m].first);
    for (int i = 0; i < 3; ++i) ExpectPlaced(ChildAt(inserts[m].second, i), maps[m], sources[i]);
  }
  // A mirror keeps a circular arc exactly circular, its major axis along +x.
  const auto quarter = ChildAt(inserts[0].second, 0)->GetArcData();
  EXPECT_EQ(quarter[6], 1);
  EXPECT_NEAR(quarter[4] - quarter[1], 0, 1e-12);
  // Picking sees the circle made an ellipse: its top is 2 from the centre, not 4.
  const Vec2 centre = wide.Apply({1, 1}), top = wide.Apply({1, 3}), upright = Rotated({0, 1}, 0.4);
  EXPECT_EQ(f.PickAt(top.x, top.y, 0.01).size(), 1u);
  EXPECT_TRUE(f.PickAt(centre.x + 4 * upright.x, centre.y + 4 * upright.y, 0.01).empty());
}

}  // namespace
}  // namespace pphatch::mem
