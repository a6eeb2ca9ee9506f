#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

TEST(MemView, PanZoomRotationMapAndInvert) {
  HostFixture f;
  f.view->SetSize(800, 600);
  f.view->SetCentre({100, -50});
  f.view->SetZoom(4);
  f.view->SetRotation(0.3);
  const HostPoint3 mid = f.view->WorldToView(100, -50, 0);
  EXPECT_NEAR(mid.x, 400, 1e-12);
  EXPECT_NEAR(mid.y, 300, 1e-12);
  const HostPoint3 step = f.view->WorldToView(101, -50, 2);
  EXPECT_NEAR(step.x, 400 + 4 * std::cos(0.3), 1e-12);
  EXPECT_NEAR(step.y, 300 + 4 * std::sin(0.3), 1e-12);
  EXPECT_DOUBLE_EQ(step.z, 8);
  for (const Vec3 v : {Vec3{0, 0, 0}, Vec3{13.25, 700.5, 1}, Vec3{-250, 1e4, -3}}) {
    const HostPoint3 w = f.view->ViewToWorld(v.x, v.y, v.z);
    const HostPoint3 back = f.view->WorldToView(w.x, w.y, w.z);
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

TEST(MemView, FitToDrawingShowsTheExtentsWithMargin) {
  HostFixture f;
  AddRectangle(f.drawing, {0, 0}, {100, 50});
  f.view->SetSize(1000, 400);
  f.view->FitToDrawing(0.05);
  EXPECT_NEAR(f.view->Zoom(), 400 / 55.0, 1e-12);  // the height decides (width: 1000 / 110)
  EXPECT_NEAR(f.view->Centre().x, 50, 1e-12);
  EXPECT_NEAR(f.view->Centre().y, 25, 1e-12);
}

}  // namespace
}  // namespace pphatch::mem
