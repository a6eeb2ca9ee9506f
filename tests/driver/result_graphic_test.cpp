#include "driver/result_graphic.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "component/errors.h"
#include "component/state.h"
#include "memhost/drawing.h"
#include "support/chains.h"
#include "support/tolerance_scope.h"

namespace pphatch {
namespace {

constexpr double E = 1e-6;

// The points in use of a chain.
std::vector<std::pair<double, double>> PointsOf(const CurveRecord& c) {
  std::vector<std::pair<double, double>> p;
  for (int i = 0; i < c.PointCount; ++i) p.emplace_back(c.X[i], c.Y[i]);
  return p;
}

// The chain after RemoveSpikes.
CurveRecord Despiked(const std::vector<Point2>& points) {
  std::vector<CurveRecord> contours{MakeChain(points)};
  RemoveSpikes(contours, 0);
  return contours[0];
}

class ResultGraphic : public ::testing::Test {
 protected:
  ToleranceScope tolerance_{E};
  CurveRecord outer_ = MakeChain({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
  CurveRecord island_ = MakeChain({{4, 4}, {6, 4}, {5, 6}, {4, 4}});
};

TEST_F(ResultGraphic, RemoveSpikes) {
  const std::vector<Point2> square{{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};
  EXPECT_EQ(PointsOf(Despiked(square)), PointsOf(MakeChain(square)));
  // A, B, C, B, D, A: the arrays keep their size.
  const CurveRecord one = Despiked({{0, 0}, {4, 0}, {6, 1}, {4, 0}, {4, 4}, {0, 0}});
  EXPECT_EQ(PointsOf(one), PointsOf(MakeChain({{0, 0}, {4, 0}, {4, 4}, {0, 0}})));
  EXPECT_EQ(one.X.size(), 6u);
  // B - C - D out and back, the returning B within E: one B stays.
  const CurveRecord two =
      Despiked({{0, 0}, {5, 0}, {7, 1}, {9, 2}, {7, 1}, {5 + E / 2, 0}, {5, 5}, {0, 0}});
  EXPECT_EQ(PointsOf(two), PointsOf(MakeChain({{0, 0}, {5 + E / 2, 0}, {5, 5}, {0, 0}})));
  // A spike at the start point: the chain now starts at its base.
  EXPECT_EQ(PointsOf(Despiked({{-3, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 0}, {-3, 0}})),
            PointsOf(MakeChain({{0, 0}, {4, 0}, {4, 4}, {0, 0}})));
  // Only contours 0..count change; out and back to one point empties.
  const CurveRecord spiked = MakeChain({{0, 0}, {4, 0}, {6, 1}, {4, 0}, {4, 4}, {0, 0}});
  std::vector<CurveRecord> contours{MakeChain({{0, 0}, {3, 3}, {0, 0}}), spiked};
  RemoveSpikes(contours, 0);
  EXPECT_EQ(contours[0].PointCount, 0);
  EXPECT_EQ(PointsOf(contours[1]), PointsOf(spiked));
  EXPECT_THROW(RemoveSpikes(contours, 2), ComputeError);
}

TEST_F(ResultGraphic, OrderContours) {
  // Shares the outer vertex (10, 10) within E / comes 2 E near (0, 0) only.
  const CurveRecord touching = MakeChain({{8, 8}, {10 - E / 2, 10}, {8, 9}, {8, 8}});
  const CurveRecord close = MakeChain({{2 * E, 2 * E}, {3, 1}, {1, 3}, {2 * E, 2 * E}});
  std::vector<CurveRecord> contours{close, touching, island_, outer_};
  int external = 3, count = 3;
  OrderContours(external, contours, count);
  EXPECT_EQ(external, 0);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(PointsOf(contours[0]), PointsOf(outer_));
  EXPECT_EQ(PointsOf(contours[1]), PointsOf(close));
  EXPECT_EQ(PointsOf(contours[2]), PointsOf(island_));
  // Only an External contour: nothing moves, even a touching one beyond the count.
  contours = {outer_, touching};
  count = 0;
  OrderContours(external, contours, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(PointsOf(contours[1]), PointsOf(touching));
  external = 2;
  count = 1;
  EXPECT_THROW(OrderContours(external, contours, count), ComputeError);
}

TEST_F(ResultGraphic, BuildsOneClosedChildPerContourOutsideTheDrawing) {
  const auto drawing = mem::MemDrawing::Create();
  const auto plane = mem::MemWorkplane::Identity()->MovedAlongNormal(5);
  Module().DrawingGraphics = drawing->Graphics();
  ObjectState state;
  state.Workplane = plane;
  CurveRecord emptied = island_;
  emptied.PointCount = 0;
  const std::vector<CurveRecord> contours{outer_, island_, emptied, island_};
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
