#include <gtest/gtest.h>

#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

TEST(FaultInjection, ByOperationNameByGraphicAndAfterNSuccessesForNCalls) {
  HostFixture f;
  const auto a = AddLine(f.drawing, {0, 0}, {1, 0});
  const auto b = AddLine(f.drawing, {0, 1}, {1, 1});
  FaultInjector& faults = f.drawing->Faults();
  faults.Fail("HostGraphic.IgnoreFlag").ForGraphic(b->Id());
  EXPECT_FALSE(a->IgnoreFlag());
  EXPECT_THROW(b->IgnoreFlag(), HostError);
  EXPECT_EQ(b->Type(), "GRAPHIC");  // other operations still work

  faults.Fail("HostVertex.*").ForGraphic(a->Id());
  EXPECT_THROW(a->Vertices()->Item(0)->X(), HostError);
  EXPECT_THROW(a->Vertices()->Item(0)->SetPenDown(false), HostError);
  EXPECT_EQ(b->Vertices()->Item(1)->X(), 1);

  faults.Fail("HostView.PickPoint");
  double aperture = 1;
  EXPECT_THROW(f.view->PickPoint(500, 500, aperture), HostError);
  faults.ClearFaults();
  EXPECT_FALSE(b->IgnoreFlag());
  // After two successes, for one call.
  const auto sets = f.drawing->GraphicSets();
  faults.Fail("HostGraphicSets.Add").After(2).Times(1);
  EXPECT_NO_THROW(sets->Add());
  EXPECT_NO_THROW(sets->Add());
  EXPECT_THROW(sets->Add(), HostError);
  EXPECT_NO_THROW(sets->Add());
}

// The operation's name as a literal at another address than the host's.
constexpr char kVertexX[] = "HostVertex.X";

}  // namespace
}  // namespace pphatch::mem
