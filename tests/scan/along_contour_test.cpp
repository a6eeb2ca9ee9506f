#include "scan/along_contour.h"

#include <cmath>

#include "scan_fixture.h"

namespace pphatch::mem {
namespace {

// A view that records every window pick.
class RecordingView : public MemView {
 public:
  using MemView::MemView;
  HostPickResultPtr PickWindow(double x1, double y1, double x2, double y2) override {
    windows.push_back({x1, y1, x2, y2});
    return MemView::PickWindow(x1, y1, x2, y2);
  }
  std::vector<std::array<double, 4>> windows;  ///< left, bottom, right, top (view units)
};

// View 1500 high at zoom 1, centred on (0, 0): the window limit L is 100
// drawing units and every window is widened by 60 view units.
class AlongContour : public ScanTest {
 protected:
  AlongContour() { Module().View = recorder; }

  std::vector<int> Collect(const std::vector<Vec2>& points) {
    CurveRecord chain;
    for (const Vec2 p : points) {
      chain.X.push_back(p.x);
      chain.Y.push_back(p.y);
    }
    chain.PointCount = static_cast<int>(points.size());
    std::vector<int> ids = {99, 98};
    int count = 2;
    CollectGraphicsAlongContour(state, chain, ids, count);
    ids.resize(static_cast<size_t>(count));
    return ids;
  }

  // The recorded window i in drawing coordinates, without the margin.
  std::array<double, 4> Window(size_t i) const {
    const auto& w = recorder->windows.at(i);
    return {w[0] + 60 - 750, w[1] + 60 - 750, w[2] - 60 - 750, w[3] - 60 - 750};
  }

  std::shared_ptr<RecordingView> recorder =
      std::make_shared<RecordingView>(host.drawing, 1500, 1500);
};

TEST_F(AlongContour, ShortEdgesShareOneWindow) {
  std::vector<Vec2> circle;
  for (int k = 0; k <= 60; ++k)
    circle.push_back({30 * std::cos(k * 0.1047), 30 * std::sin(k * 0.1047)});
  const auto ring = AddPolygon(host.drawing, {{-30, -30}, {30, -30}, {30, 30}, {-30, 30}});
  EXPECT_EQ(Collect(circle), std::vector<int>{ring->Id()});
  EXPECT_EQ(recorder->windows.size(), 1u);
  EXPECT_TRUE(Collect({{5, 5}}).empty());
  EXPECT_EQ(recorder->windows.size(), 1u);
}

TEST_F(AlongContour, GroupsEndOnceTheyReachTheLimit) {
  // 0 -> 60 -> 105 (box 105 <= 110 kept, group ends) -> 160 -> 200 -> 215.
  Collect({{0, 0}, {60, 0}, {105, 0}, {160, 0}, {200, 0}, {215, 0}});
  ASSERT_EQ(recorder->windows.size(), 2u);
  EXPECT_NEAR(Window(0)[2], 105, 1e-9);
  EXPECT_NEAR(Window(1)[0], 105, 1e-9);  // 105 -> 215 would be 110: at most 1.1 L
  EXPECT_NEAR(Window(1)[2], 215, 1e-9);
}

TEST_F(AlongContour, LongEdgesAreCutAndThinEdgesWidened) {
  Collect({{0, 0}, {1000, 250}});
  ASSERT_EQ(recorder->windows.size(), 3u);  // min(11, 3) pieces
  EXPECT_NEAR(Window(1)[0], 1000.0 / 3, 1e-9);
  EXPECT_NEAR(Window(1)[3], 500.0 / 3, 1e-9);

  recorder->windows.clear();
  const auto frame = AddRectangle(host.drawing, {0, 0}, {300, 300});
  EXPECT_EQ(Collect({{0, 0}, {300, 0}, {300, 300}, {0, 300}, {0, 0}}),
            std::vector<int>{frame->Id()});
  ASSERT_EQ(recorder->windows.size(), 4u);
  EXPECT_NEAR(Window(0)[1], -1e-5, 1e-9);  // 10 tolerances either side of the bottom edge
  EXPECT_NEAR(Window(0)[3], 1e-5, 1e-9);
  EXPECT_NEAR(Window(1)[0], 300 - 1e-5, 1e-9);
}

TEST_F(AlongContour, AnExtentOfExactlyTheLimitStillAdvances) {
  Collect({{0, 0}, {100, 250}, {100, 250}, {200, 350}});
  EXPECT_EQ(recorder->windows.size(), 4u);  // two pieces each, the zero edge passed over
}

TEST_F(AlongContour, OnlyCandidatesOnTheDrawingsWorkplaneAreListed) {
  const auto plain = AddLine(host.drawing, {0, 0}, {50, 0});
  AddHatch(host.drawing, {{0, 0}, {50, 0}, {50, 5}, {0, 0}});
  AddPoint(host.drawing, {10, 0});
  AddLine(host.drawing, {0, 1}, {50, 1})->SetIgnored(true);
  const auto tilted = AddLine(host.drawing, {0, 2}, {50, 2});
  tilted->SetPlane(host.drawing->CurrentWorkplane()->Tilted(0.3));
  EXPECT_EQ(Collect({{0, 0}, {50, 0}}), (std::vector<int>{plain->Id(), tilted->Id()}));
  EXPECT_EQ(host.drawing->Faults().Calls("HostDrawing.NewFreeGraphic"), 0);
  state.TileMode = 1;
  EXPECT_EQ(Collect({{0, 0}, {50, 0}}), std::vector<int>{plain->Id()});
}

}  // namespace
}  // namespace pphatch::mem
