#include <gtest/gtest.h>

#include <numbers>

#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

// World images of the free graphic's vertices 0 and 1.
std::pair<Vec3, Vec3> WorldImages(const HostGraphicPtr& g) {
  const auto v = g->Vertices();
  v->SetWorldMode(true);
  const auto p = v->Item(0), q = v->Item(1);
  return {{p->X(), p->Y(), p->Z()}, {q->X(), q->Y(), q->Z()}};
}

void ExpectNear(Vec3 a, Vec3 b) {
  EXPECT_NEAR(a.x, b.x, 1e-12);
  EXPECT_NEAR(a.y, b.y, 1e-12);
  EXPECT_NEAR(a.z, b.z, 1e-12);
}

TEST(MemWorkplane, ApplyWorkplaneMovesWorldImagesOfPlanePoints) {
  HostFixture f;
  // Tilted by 90 degrees about x: the plane's z axis is world -y.
  const auto plane = f.drawing->CurrentWorkplane()->Tilted(std::numbers::pi / 2)->MovedAlongNormal(3);
  const auto free = f.drawing->NewFreeGraphic();
  const auto v = free->Vertices();
  v->SetWorldMode(true);
  v->Add(0, 0, 0);
  v->Add(0, 0, 1);
  free->ApplyWorkplane(plane);
  const auto [origin, up] = WorldImages(free);
  ExpectNear(origin, {0, -3, 0});
  ExpectNear(up, {0, -4, 0});
  EXPECT_EQ(f.drawing->Graphics()->Count(), 0);
}

TEST(MemWorkplane, PutKeepsPlaneCoordinatesAndApplyReachesChildren) {
  HostFixture f;
  const auto group = AddGroup(f.drawing);
  const auto member = AddLine(group, {1, 2}, {3, 4});
  const auto turned = f.drawing->CurrentWorkplane()->RotatedInPlane(std::numbers::pi / 2);
  group->SetWorkplane(turned);
  EXPECT_TRUE(group->Workplane()->IsEqual(turned));
  EXPECT_FALSE(member->Workplane()->IsEqual(turned));
  group->ApplyWorkplane(turned);
  EXPECT_TRUE(member->Workplane()->IsEqual(turned));
  const auto v = member->Vertices();
  EXPECT_EQ(v->Item(0)->X(), 1);  // plane coordinates unchanged
  v->SetWorldMode(true);
  EXPECT_NEAR(v->Item(0)->X(), -2, 1e-12);  // (1,2) turned by 90 degrees
  EXPECT_NEAR(v->Item(0)->Y(), 1, 1e-12);
  v->Item(0)->SetX(-5);  // written in world coordinates: world (-5, 1) is plane (1, 5)
  v->SetWorldMode(false);
  EXPECT_NEAR(v->Item(0)->X(), 1, 1e-12);
  EXPECT_NEAR(v->Item(0)->Y(), 5, 1e-12);
}

TEST(MemWorkplane, IsEqualForSameObjectOrExactlyEqualFrame) {
  HostFixture f;
  const auto base = f.drawing->CurrentWorkplane();
  EXPECT_TRUE(base->IsEqual(f.drawing->Workplane()));
  EXPECT_TRUE(base->IsEqual(MemWorkplane::Identity()));
  EXPECT_FALSE(base->IsEqual(base->MovedAlongNormal(1e-7)));
  EXPECT_FALSE(base->IsEqual(base->RotatedInPlane(0.1)));
  EXPECT_FALSE(base->IsEqual(nullptr));
  EXPECT_TRUE(AddLine(f.drawing, {0, 0}, {1, 0})->Workplane()->IsEqual(base));
}

}  // namespace
}  // namespace pphatch::mem
