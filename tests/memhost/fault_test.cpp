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

TEST(FaultInjection, CountsCallsPerOperationByNameWhateverLiteralNamesIt) {
  HostFixture f;
  const auto line = AddLine(f.drawing, {0, 0}, {1, 0});  // builders make no host calls
  FaultInjector& faults = f.drawing->Faults();
  EXPECT_EQ(faults.TotalCalls(), 0);
  const auto v = line->Vertices();
  for (int i = 0; i < v->Count(); ++i) v->Item(i)->X();
  EXPECT_EQ(faults.Calls("HostVertex.X"), 2);
  EXPECT_EQ(faults.Calls("HostVertices.Item"), 2);
  EXPECT_EQ(faults.Calls("HostVertices.Count"), 3);
  faults.Fail(kVertexX);
  EXPECT_THROW(v->Item(0)->X(), HostError);
  EXPECT_EQ(faults.Calls("HostVertex.X"), 3);  // a failing call is counted too
  faults.ResetCounts();
  EXPECT_EQ(faults.TotalCalls(), 0);
  EXPECT_THROW(v->Item(1)->X(), HostError);
  EXPECT_THROW(faults.Enter(kVertexX), HostError);
  EXPECT_EQ(faults.Calls("HostVertex.X"), 2);  // counted again from zero, under one name
}

}  // namespace
}  // namespace pphatch::mem
