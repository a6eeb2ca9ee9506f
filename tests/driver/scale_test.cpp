// The answer depends only on what surrounds the click: not on graphics far
// away, not on the drawing's size or distance from the origin, and with no
// small fixed limit on boundaries or islands. Each test is named after a
// fault it pins down.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "driver/scenes.h"

namespace pphatch {
namespace {

using mem::Into;
using mem::Vec2;

constexpr double kPi = std::numbers::pi;

/// A 10 x 8 room with a cabinet standing 0.02 from its left wall.
constexpr const char* kRoomWithCabinet = "R 0 0 10 8; R 0.02 3 1 5";

TEST(Scale, FarGeometryChangesNeitherTheAreaNorTheWork) {
  RequestFixture plain;
  differential::Draw(Into(plain.drawing), kRoomWithCabinet);
  plain.Look({5, 4}, 60);
  const PickOutcome near = plain.Pick(1.5, 4), inGap = plain.Pick(0.01, 4);
  ASSERT_TRUE(near.ok && inGap.ok);
  const long scanned = plain.drawing->Faults().Calls("HostGraphic.Type");
  for (const double far : {100.0, 1e4, 1e7}) {
    RequestFixture f;
    differential::Draw(Into(f.drawing), kRoomWithCabinet);
    mem::AddLine(Into(f.drawing), {far, far}, {far + 1, far});
    f.view->FitToDrawing();  // as a tool does for a drawing of a few graphics
    f.hatch->Init(f.view);
    f.drawing->Faults().ResetCounts();
    for (const auto& [click, expected] : {std::pair{Vec2{1.5, 4}, near}, std::pair{Vec2{0.01, 4}, inGap}}) {
      const PickOutcome out = f.Pick(click.x, click.y);
      ASSERT_TRUE(out.ok) << far << ": " << out.error;
      EXPECT_EQ(out.contours.size(), expected.contours.size()) << far;
      EXPECT_NEAR(out.NetArea(), expected.NetArea(), 1e-9) << far;
    }
    // Only the room and the cabinet are ever read: the far line lies in no window.
    EXPECT_EQ(f.drawing->Faults().Calls("HostGraphic.Type"), scanned) << far;
  }
  EXPECT_NEAR(near.NetArea(), 80 - 0.98 * 2, 1e-9);
}

/// A 100 x 60 outline of eight lines whose ends miss each other by `gap`,
/// scaled by `scale` and moved by `offset`.
void AddLeakyOutline(const std::shared_ptr<mem::MemDrawing>& drawing, double gap, double scale,
                     Vec2 offset) {
  const std::vector<Vec2> corners = {{0, 0}, {50, 0}, {100, 0}, {100, 60}, {50, 60}, {0, 60}, {0, 30}};
  const auto at = [&](Vec2 p) { return offset + scale * p; };
  for (size_t i = 0; i < corners.size(); ++i) {
    const Vec2 a = corners[i], b = corners[(i + 1) % corners.size()];
    const Vec2 d = (1 / std::hypot(b.x - a.x, b.y - a.y)) * (b - a);
    mem::AddLine(Into(drawing), at(a + gap * d), at(b));  // starts `gap` short of its corner
  }
  mem::AddCircle(Into(drawing), at({30, 30}), 5 * scale);
}

TEST(Scale, EndsThatMissByARoundingErrorMeetAtEverySizeAndPlace) {
  for (const double scale : {1e-3, 1.0, 1e6}) {
    for (const Vec2 offset : {Vec2{0, 0}, Vec2{1e7, -1e7}}) {
      for (const auto& [gap, closed] : {std::pair{1.8e-6, true}, std::pair{1.0, false}}) {
        RequestFixture f;
        AddLeakyOutline(f.drawing, gap, scale, offset);
        f.Look(offset + scale * Vec2{50, 30}, 8 / scale);
        const Vec2 click = offset + scale * Vec2{70, 20};
        const PickOutcome out = f.Pick(click.x, click.y);
        const std::string what = "scale " + std::to_string(scale) + " offset " +
                                 std::to_string(offset.x) + " gap " + std::to_string(gap);
        ASSERT_EQ(out.ok, closed) << what;
        if (!closed) continue;
        const double hole = 30 * 25 * std::sin(2 * kPi / 60);
        EXPECT_NEAR(out.NetArea() / (scale * scale), 6000 - hole, 1e-6 * 6000) << what;
        EXPECT_EQ(out.contours.size(), 2u) << what;
      }
    }
  }
}

// A boundary of 12,000 separate lines round a polygon, and its vertices.
constexpr int kPieces = 12000, kIslands = 1200;
std::vector<Vec2> Ring() {
  std::vector<Vec2> ring;
  for (int k = 0; k < kPieces; ++k) {
    const double a = 2 * kPi * k / kPieces, r = 100 + 3 * std::sin(40 * a);
    ring.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return ring;
}
double RingArea() {
  const std::vector<Vec2> ring = Ring();
  double area = 0;
  for (int k = 0; k < kPieces; ++k) area += 0.5 * mem::Cross(ring[k], ring[(k + 1) % kPieces]);
  return area;
}

// A duct of two concentric quarter arcs 0.5 apart and two lines closing its ends.
constexpr double kDuct = kPi / 4 * (10.5 * 10.5 - 100);
Vec2 InDuct(double degrees) {
  return {10.25 * std::cos(degrees * kPi / 180), 10.25 * std::sin(degrees * kPi / 180)};
}

const Scene kScenes[] = {
    // WideWindowsNeverCloseAGapNearTheClick: a room with a door 0.5 wide in
    // its top wall and a line a billion units away: the windows grow that far
    // while no area holds the click, but the door stays open at the room's
    // size; within a frame that far away the area is the frame's.
    {"C 4.75 10 0 10 0 0 10 0 10 10 5.25 10; C -1e9 -1e9 1e9 -1e9", {5, 5}, 50,
     {{"a door, a line far away", {5, 5}, 0, NAN, 0}}},
    {"C 4.75 10 0 10 0 0 10 0 10 10 5.25 10; P -1e9 -1e9 1e9 -1e9 1e9 1e9 -1e9 1e9", {5, 5}, 50,
     {{"a door, a frame far away", {5, 5}, kAnyCount, 4e18, 4e9}}},
    // SuccessAlwaysHoldsTheClickInAThinCurvedDuct.
    {"R -5 -5 20 20; C 10 0 10.5 0; C 0 10 0 10.5", {7, 7}, 30,
     {{"duct at 3 degrees", InDuct(3), 1, kDuct, 0.01},
      {"duct at 30 degrees", InDuct(30), 1, kDuct, 0.01},
      {"duct at 45 degrees", InDuct(45), 1, kDuct, 0.01},
      {"duct at 87 degrees", InDuct(87), 1, kDuct, 0.01}},
     [](const DrawingPtr& d) {
       mem::AddArc(Into(d), {0, 0}, 10, 0, kPi / 2);
       mem::AddArc(Into(d), {0, 0}, 10.5, 0, kPi / 2);
     }},
    // LongBoundariesAndManyIslandsHaveNoSmallLimit: 12,000 lines, a closed
    // polyline of 12,000 vertices, and a room with 1,200 islands.
    {"R -100 200 300 300", {100, 100}, 1,
     {{"12,000 lines", {0, 0}, 1, RingArea(), 1e-6 * RingArea()},
      {"12,000 vertices", {300, 0}, 1, RingArea(), 1e-6 * RingArea()},
      {"1,200 islands", {0, 298}, kIslands + 1, 400 * 100 - kIslands, 1e-6}},
     [](const DrawingPtr& d) {
       const std::vector<Vec2> ring = Ring();
       for (int k = 0; k < kPieces; ++k) mem::AddLine(Into(d), ring[k], ring[(k + 1) % kPieces]);
       std::vector<mem::BulgePoint> polyline;
       for (const Vec2 p : ring) polyline.push_back({p.x + 300, p.y, 0});
       mem::AddPolyline(Into(d), polyline, true);
       for (int i = 0; i < kIslands; ++i) {
         const double x = -99 + (i % 100) * 4, y = 201 + (i / 100) * 8;
         mem::AddRectangle(Into(d), {x, y}, {x + 1, y + 1});
       }
     }},
    // OpenStrokesInsideAnAreaAreNoIslands, one of them hanging on an island.
    {"R 0 0 10 10; C 2 2 4 3 3 5; R 6 6 7 7; C 7 7 8 9", {5, 5}, 50,
     {{"open strokes", {5, 1}, 2, 99, 1e-9, 1}}},
};

TEST(Scale, ScenesFindTheirAreas) {
  for (const Scene& scene : kScenes) ExpectScene(scene);
}

}  // namespace
}  // namespace pphatch
