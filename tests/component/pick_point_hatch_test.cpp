#include "pphatch/pick_point_hatch.h"

#include <any>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "component/state.h"
#include "component/view_convert.h"
#include "memhost/drawing.h"
#include "memhost/view.h"

namespace pphatch {
namespace {

using mem::MemDrawing;
using mem::MemView;

// A view of a new drawing whose "TileMode" holds `tileMode`.
std::shared_ptr<MemView> ViewWithTileMode(PropertyValue tileMode) {
  auto drawing = MemDrawing::Create();
  drawing->Props().Define("TileMode", std::move(tileMode));
  return std::make_shared<MemView>(drawing);
}

// Leaves this thread without a view after each case.
class Component : public ::testing::Test {
 protected:
  void TearDown() override { Module().View.reset(), Module().Drawing.reset(); }
};

// Init's binding and its rounded "TileMode": every request scene, the
// PropertyInt32 table and DrawingStructures' tilted-workplane scene.
TEST_F(Component, InitErrorsReachTheCallerAfterTheViewIsReplaced) {
  PickPointHatch hatch;
  ASSERT_TRUE(hatch.Init(ViewWithTileMode(1.0)));
  const HostDrawingPtr firstDrawing = Module().Drawing;
  auto second = ViewWithTileMode(0.0);
  auto secondDrawing = std::static_pointer_cast<MemDrawing>(second->Drawing());
  secondDrawing->Faults().Fail("HostView.Drawing");
  EXPECT_THROW(hatch.Init(second), HostError);
  EXPECT_EQ(Module().View, second);
  EXPECT_EQ(Module().Drawing, firstDrawing);
  secondDrawing->Faults().ClearFaults();
  secondDrawing->Faults().Fail("HostProperties.Item");  // no "TileMode"
  EXPECT_THROW(hatch.Init(second), HostError);
  EXPECT_EQ(Module().Drawing, secondDrawing);
  EXPECT_THROW(hatch.Init(ViewWithTileMode(std::string("Model"))), HostError);
  EXPECT_THROW(hatch.Init(ViewWithTileMode(3e9)), std::runtime_error);
  EXPECT_EQ(hatch.State().TileMode, 1);  // kept through every failure
  EXPECT_THROW(hatch.Init(nullptr), HostError);
  EXPECT_EQ(Module().View, nullptr);
}

TEST_F(Component, ObjectsShareTheLastViewOfTheirThreadOnly) {
  PickPointHatch a;
  auto b = std::make_unique<PickPointHatch>();
  auto viewB = ViewWithTileMode(0.0);
  viewB->SetCentre({1000, 0});
  ASSERT_TRUE(a.Init(ViewWithTileMode(1.0)));
  ASSERT_TRUE(b->Init(viewB));
  EXPECT_EQ(a.State().TileMode, 1);                     // TileMode stays per object
  EXPECT_NEAR(ViewToWorld(500, 375, 0).x, 1000, 1e-9);  // both work in view B
  std::string error;
  std::thread([&] {
    EXPECT_THROW(ViewToWorld(0, 0, 0), HostError);
    // A request before Init on that thread fails with the host's error, not the message.
    PickPointHatch other;
    HostGraphicPtr result;
    std::any reserved;
    EXPECT_THROW(other.CreateClosedContour(500, 375, result, error, reserved), HostError);
    other.Init(ViewWithTileMode(0.0));  // bound and destroyed there only
  }).join();
  EXPECT_EQ(error, "");
  EXPECT_EQ(Module().View, viewB);
  b.reset();
  EXPECT_EQ(Module().View, nullptr);
  EXPECT_EQ(Module().Drawing, nullptr);
  EXPECT_THROW(WorldToView(0, 0, 0), HostError);
}

}  // namespace
}  // namespace pphatch
