// Tables of requests: a drawing, a view on it, and clicks with what each must find.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "differential/request_areas.h"
#include "memhost/snapshot.h"
#include "support/request_fixture.h"

namespace pphatch {

using DrawingPtr = std::shared_ptr<mem::MemDrawing>;

inline constexpr const char* kNoArea = "Operation can not be performed with these objects.";
inline constexpr size_t kAnyCount = SIZE_MAX;

/// A click and what it must find: that many boundaries (0: the message,
/// kAnyCount: unchecked) of that net area (NaN: unchecked) within
/// `tolerance`, their islands of total area `islands` (NaN: unchecked).
struct SceneClick {
  const char* what;
  mem::Vec2 at;
  size_t contours;
  double area, tolerance;
  double islands = NAN;
};

/// A drawing given as text (see differential::Draw), then what `build` adds.
struct Scene {
  const char* text;
  mem::Vec2 centre;
  double zoom;
  std::vector<SceneClick> clicks;
  void (*build)(const DrawingPtr&) = nullptr;
};

/// Runs the scene's clicks. Besides what each row says, every success is
/// closed boundaries with the click inside the outer one and no beep, every
/// failure one beep and the message, and the drawing is never changed.
inline void ExpectScene(const Scene& scene) {
  RequestFixture f;
  differential::Draw(mem::Into(f.drawing), scene.text);
  if (scene.build) scene.build(f.drawing);
  f.Look(scene.centre, scene.zoom);
  const std::string before = mem::Snapshot(*f.drawing);
  for (const SceneClick& c : scene.clicks) {
    SCOPED_TRACE(c.what);
    const PickOutcome out = f.Pick(c.at.x, c.at.y);
    ASSERT_EQ(out.ok, c.contours > 0) << out.error;
    EXPECT_EQ(out.beeps, out.ok ? 0 : 1);
    if (!out.ok) {
      EXPECT_EQ(out.error, kNoArea);
      continue;
    }
    EXPECT_TRUE(c.contours == kAnyCount || out.contours.size() == c.contours) << out.contours.size();
    for (const auto& contour : out.contours) {
      EXPECT_EQ(contour.front().x, contour.back().x);
      EXPECT_EQ(contour.front().y, contour.back().y);
    }
    EXPECT_TRUE(out.OuterHolds(c.at.x, c.at.y));
    const double net = out.NetArea(), islands = std::fabs(SignedArea(out.contours[0])) - net;
    EXPECT_TRUE(std::isnan(c.area) || std::fabs(net - c.area) <= c.tolerance) << net << " for " << c.area;
    EXPECT_TRUE(std::isnan(c.islands) || std::fabs(islands - c.islands) <= c.tolerance) << islands;
  }
  EXPECT_EQ(mem::Snapshot(*f.drawing), before);
}

}  // namespace pphatch
