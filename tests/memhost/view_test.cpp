#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "memhost/view_setup.h"
#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

// WorldToView undoes ViewToWorld for view points near and far.
void ExpectRoundTrips(MemView& view) {
  for (const Vec3 v : {Vec3{0, 0, 0}, Vec3{13.25, 700.5, 1}, Vec3{-250, 1e4, -3}}) {
    const HostPoint3 w = view.ViewToWorld(v.x, v.y, v.z);
    const HostPoint3 back = view.WorldToView(w.x, w.y, w.z);
    EXPECT_NEAR(back.x, v.x, 1e-9);
    EXPECT_NEAR(back.y, v.y, 1e-9);
    EXPECT_NEAR(back.z, v.z, 1e-12);
  }
}

TEST(MemView, ApertureIsInViewUnits) {
  HostFixture f;
  const int line = AddLine(f.drawing, {0, 0}, {10, 0})->Id();
  f.view->SetZoom(10);
  const Vec2 near = f.view->ToView({5, 0.45}), far = f.view->ToView({5, 0.55});
  double aperture = 5;  // 0.5 drawing units at zoom 10
  EXPECT_EQ(HostFixture::Ids(f.view->PickPoint(near.x, near.y, aperture)), std::vector<int>{line});
  EXPECT_TRUE(HostFixture::Ids(f.view->PickPoint(far.x, far.y, aperture)).empty());
  EXPECT_EQ(aperture, 5);
  double huge = std::numeric_limits<double>::infinity();
  EXPECT_THROW(f.view->PickPoint(near.x, near.y, huge), HostError);
}

TEST(MemView, PanZoomTurnAndMirrorMapInvertAndPick) {
  HostFixture f;
  const int line = AddLine(f.drawing, {40, 0}, {40, 10})->Id();
  f.view->SetSize(800, 600);
  f.view->SetCentre({5, 5});
  f.view->SetZoom(2);
  const double turn = std::numbers::pi / 6;
  f.view->SetRotation(turn);
  for (const bool mirrored : {false, true}) {
    SCOPED_TRACE(mirrored ? "mirrored" : "plain");
    f.view->SetMirrored(mirrored);
    // One unit along drawing +x shows along R(30) (1, 0), or -R(30) (1, 0)
    // when x is reversed before the turn.
    const HostPoint3 step = f.view->WorldToView(6, 5, 1);
    const double sign = mirrored ? -1 : 1;
    EXPECT_NEAR(step.x, 400 + sign * 2 * std::cos(turn), 1e-12);
    EXPECT_NEAR(step.y, 300 + sign * 2 * std::sin(turn), 1e-12);
    EXPECT_DOUBLE_EQ(step.z, 2);
    ExpectRoundTrips(*f.view);
    EXPECT_EQ(f.PickAt(40.2, 5, 0.5), std::vector<int>{line});
    EXPECT_TRUE(f.PickAt(39.2, 5, 0.5).empty());
  }
}

// A grid of n x n squares of side 0.8, one at every whole-numbered corner
// from (0, 0): 100 x 100 of them cover [0, 99.8] in both directions.
void AddSquareGrid(const std::shared_ptr<MemDrawing>& drawing, int n) {
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) AddRectangle(drawing, {1.0 * i, 1.0 * j}, {i + 0.8, j + 0.8});
  }
}

TEST(ViewForClick, ShowsAFewGraphicsWholeAndManyBySquareThatHoldsTheWantedCount) {
  HostFixture f;
  f.view->SetSize(1000, 750);
  AddRectangle(f.drawing, {0, 0}, {10, 5});
  ShowAroundClick(*f.view, {8, 1});
  // As FitToDrawing with its margin of 5 %: the width decides, 1000 / (10 * 1.1)
  // against 750 / (5 * 1.1).
  EXPECT_NEAR(f.view->Zoom(), 1000 / 11.0, 1e-12);
  EXPECT_NEAR(f.view->Centre().x, 5, 1e-12);
  EXPECT_NEAR(f.view->Centre().y, 2.5, 1e-12);
  f.drawing->List()->Remove(0);
  AddSquareGrid(f.drawing, 100);
  // At the mean density 100 of the 10000 squares fill a square of side
  // sqrt(99.8^2 / 100) = 9.98. Round (50.4, 50.4) it meets 11 x 11 squares,
  // and its half (side 4.99) only 5 x 5: the view shows the 9.98 square.
  ShowAroundClick(*f.view, {50.4, 50.4}, 100);
  EXPECT_NEAR(f.view->Zoom(), 750 / 9.98, 1e-9);
  EXPECT_EQ(f.view->Centre().x, 50.4);
  EXPECT_EQ(f.view->Centre().y, 50.4);
  // In the corner the 9.98 square meets only 6 x 6 squares; twice that side
  // meets 11 x 11.
  ShowAroundClick(*f.view, {0.4, 0.4}, 100);
  EXPECT_NEAR(f.view->Zoom(), 750 / 19.96, 1e-9);
}

}  // namespace
}  // namespace pphatch::mem
