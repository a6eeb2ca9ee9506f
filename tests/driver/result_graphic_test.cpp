#include "driver/result_graphic.h"

#include <gtest/gtest.h>

#include <vector>

#include "component/state.h"
#include "geometry/checked_math.h"
#include "memhost/drawing.h"
#include "support/chains.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

constexpr double E = 1e-6;

TEST(ResultGraphic, BuildsOneClosedChildPerContourOutsideTheDrawing) {
  const ToleranceScope tolerance(E);
  const CurveRecord island = MakeChain({{4, 4}, {6, 4}, {5, 6}, {4, 4}});
  const auto drawing = mem::MemDrawing::Create();
  const auto plane = mem::MemWorkplane::Identity()->MovedAlongNormal(5);
  Module().DrawingGraphics = drawing->Graphics();
  ObjectState state;
  state.Workplane = plane;
  CurveRecord emptied = island;
  emptied.PointCount = 0;
  const std::vector<CurveRecord> contours{MakeChain({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}), island,
                                          emptied, island};
  const HostGraphicPtr result = BuildResultGraphic(state, contours, 2);
  ASSERT_TRUE(result);
  EXPECT_EQ(result, Module().CurrentGraphic);
  ASSERT_EQ(result->Graphics()->Count(), 3);
  for (int r = 0; r < 3; ++r) {
    const HostGraphicPtr child = result->Graphics()->Item(r);
    EXPECT_TRUE(child->Closed());
    ASSERT_EQ(child->Vertices()->Count(), contours[r].PointCount);
    for (int j = 0; j < contours[r].PointCount; ++j) {
      const HostVertexPtr v = child->Vertices()->Item(j);
      EXPECT_EQ((std::vector<double>{v->X(), v->Y(), v->Z()}),
                (std::vector<double>{contours[r].X[j], contours[r].Y[j], 0}));
    }
  }
  EXPECT_EQ(drawing->Graphics()->Count(), 0);
  EXPECT_EQ(result->Index(), -1);
  EXPECT_TRUE(result->Workplane()->IsEqual(plane));

  // A failing workplane or clean-up call still gives the result; a failing
  // vertex or a missing drawing is an error of the request.
  drawing->Faults().Fail("HostGraphic.ApplyWorkplane");
  drawing->Faults().Fail("HostGraphicSet.Clear");
  const HostGraphicPtr unplaced = BuildResultGraphic(state, contours, 0);
  ASSERT_TRUE(unplaced);
  EXPECT_EQ(unplaced->Graphics()->Item(0)->Vertices()->Count(), 5);
  EXPECT_FALSE(unplaced->Workplane()->IsEqual(plane));
  drawing->Faults().Fail("HostVertices.Add").After(6);
  EXPECT_THROW(BuildResultGraphic(state, contours, 1), HostError);
  Module().DrawingGraphics = nullptr;
  EXPECT_THROW(BuildResultGraphic(state, contours, 0), HostError);
  Module().CurrentGraphic = nullptr;
}

}  // namespace
}  // namespace pphatch
