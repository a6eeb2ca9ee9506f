// A drawing, a view over it and the request state, set up as the request
// driver does before it runs the contour search.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "component/state.h"
#include "contour/search.h"
#include "memhost/builders.h"
#include "memhost/drawing.h"
#include "memhost/view.h"

namespace pphatch {

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drawing = mem::MemDrawing::Create();
    view = std::make_shared<mem::MemView>(drawing, 1000, 750);
  }

  void TearDown() override {
    ModuleState& module = Module();
    module = ModuleState{};
  }

  /// Fits the view to the drawing and prepares the request state.
  void PrepareRequest() {
    view->FitToDrawing();
    ModuleState& module = Module();
    module.View = view;
    module.Drawing = drawing;
    module.DrawingGraphics = drawing->Graphics();
    module.WorkContour = CurveRecord{};
    state = ObjectState{};
    state.StartTime = ClockSeconds();
    state.Workplane = drawing->Workplane();
    state.LastGraphicId = -1;
  }

  /// Runs the search from the drawing point `click`.
  bool SearchFrom(mem::Vec2 click) {
    PrepareRequest();
    const mem::Vec2 v = view->ToView(click);
    px = v.x;
    py = v.y;
    return SearchClosedContour(state, px, py);
  }

  /// The loop the search left in WorkContour.
  static std::vector<mem::Vec2> Loop() {
    const CurveRecord& loop = Module().WorkContour;
    std::vector<mem::Vec2> points;
    for (int k = 0; k < loop.PointCount; ++k) points.push_back({loop.X[k], loop.Y[k]});
    return points;
  }

  /// Expects the loop to be exactly these points, in this order (within 1e-9).
  static void ExpectLoop(const std::vector<mem::Vec2>& expected) {
    const std::vector<mem::Vec2> loop = Loop();
    ASSERT_EQ(loop.size(), expected.size());
    for (size_t k = 0; k < loop.size(); ++k) {
      EXPECT_NEAR(loop[k].x, expected[k].x, 1e-9) << "point " << k;
      EXPECT_NEAR(loop[k].y, expected[k].y, 1e-9) << "point " << k;
    }
  }

  /// Expects the candidate set and its factory to be released.
  void ExpectSetsReleased() const {
    EXPECT_EQ(state.SearchSet, nullptr);
    EXPECT_EQ(state.SearchSets, nullptr);
  }

  std::shared_ptr<mem::MemDrawing> drawing;
  std::shared_ptr<mem::MemView> view;
  ObjectState state;
  double px = 0;
  double py = 0;
};

}  // namespace pphatch
