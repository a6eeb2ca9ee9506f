// End-to-end requests through the in-memory host.
#include <gtest/gtest.h>

#include <any>
#include <cmath>

#include "driver/scenes.h"

namespace pphatch {
namespace {

using mem::Into;
using mem::Vec2;
constexpr double kPi = 3.14159265358979;

/// Area of the 60-gon that stands for a circle of radius r.
double CircleChainArea(double r) { return 30 * r * r * std::sin(6 * kPi / 180); }

const Scene kScenes[] = {
    {"R 0 0 10 10; R 4 4 6 6", {5, 5}, 30,
     {{"left of the island: the outer boundary is met first", {2, 5}, 2, 96, 1e-6, 4},
      {"right of it: the island's loop is met first, filed and passed", {8, 5}, 2, 96, 1e-6, 4},
      {"inside the island", {5, 5}, 1, 4, 1e-6},
      {"on the island's right side: that loop", {6, 5}, 1, 4, 1e-6}}},
    {"R 0 0 20 20; R 5 5 15 15; R 8 8 12 12", {10, 10}, 20,
     {{"nested islands: only the outermost is an inner boundary", {2, 10}, 2, 300, 1e-6, 100}}},
    {"R 0 0 10 10; P 10 10 7 8 8 7; R 2 2 3 3; C 10 5 7 5", {5, 5}, 30,
     {{"a triangle hanging on the corner is walked round or dropped, never an island; "
       "a line touching the boundary from inside is no island",
       {5, 2.5}, 2, NAN, 1e-6, 1}}},
    // Circles, turned inserts and bulges: DrawingStructures' scenes.
    {"", {15, 5}, 20,
     {{"a square in a group", {25, 5}, 1, 100, 1e-6}, {"inside a wall", {5, 5}, 1, 100, 1e-6}},
     [](const DrawingPtr& d) {
       mem::AddPolygon(Into(mem::AddGroup(Into(d))), {{20, 0}, {30, 0}, {30, 10}, {20, 10}});
       auto wall = mem::AddWall(Into(d));
       mem::AddPolygon(Into(wall), {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
       mem::AddPolygon(Into(wall), {{-1, -1}, {11, -1}, {11, 11}, {-1, 11}});
     }},
    {"R 0 0 100 50", {50, 25}, 8,
     {{"the circle's vertex at 180 degrees within rounding of the click's height", {25, 25}, 1,
       CircleChainArea(5), 1e-6},
      {"the plate round that circle", {40, 25}, 2, 5000 - CircleChainArea(5), 1e-6}},
     [](const DrawingPtr& d) { mem::AddCircle(Into(d), {25, 25}, 5); }},
    {"R 0 0 10 10; C 20 0 20 10", {5, 5}, 30,
     {{"inside a filled square", {3, 3}, 1, 4, 1e-6},
      {"beside the filled square and a turned insert", {8, 3}, 3, 95, 1e-6, 5},
      {"right of a lone line", {25, 5}, 0, NAN, 0}},
     [](const DrawingPtr& d) {
       mem::SetProperty(mem::AddRectangle(Into(d), {2, 2}, {4, 4}), "BrushStyle", std::string("Solid"));
       auto block = mem::NewBlock(*d);
       mem::AddRectangle(Into(block), {0, 0}, {1, 1});
       mem::AddInsert(Into(d), block, {6, 6, 1, 0.3});
     }},
};

TEST(RequestScenes, FindTheirAreas) {
  for (const Scene& scene : kScenes) ExpectScene(scene);
}

class Request : public ::testing::Test, public RequestFixture {};

TEST_F(Request, NothingClosesGivesOneBeepAndTheMessage) {
  // An open U: no loop holds the click.
  mem::AddChain(Into(drawing), std::vector<Vec2>{{10, 10}, {0, 10}, {0, 0}, {10, 0}});
  Look({5, 5}, 30);
  const mem::Vec2 v = view->ToView({5, 5});
  HostGraphicPtr result = mem::AddPoint(Into(drawing), {100, 100});
  const HostGraphicPtr untouched = result;
  std::string error;
  std::any reserved = 42;
  int beeps = 0;
  SetBeepHandler([&] { ++beeps; });
  EXPECT_FALSE(hatch->CreateClosedContour(v.x, v.y, result, error, reserved));
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(error, kNoArea);
  EXPECT_EQ(result, untouched);
  EXPECT_EQ(std::any_cast<int>(reserved), 42);
}

TEST_F(Request, InjectedHostFailureIsTrappedAndFillsRestored) {
  mem::AddRectangle(Into(drawing), {0, 0}, {10, 10});
  auto filled = mem::AddRectangle(Into(drawing), {2, 2}, {8, 8});
  mem::SetProperty(filled, "BrushStyle", std::string("Solid"));
  Look({5, 5}, 30);
  const std::string before = mem::Snapshot(*drawing);
  drawing->Faults().Fail("HostGraphic.Vertices").After(3);
  const PickOutcome out = Pick(5, 5);
  drawing->Faults().ClearFaults();
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.error, kNoArea);
  EXPECT_EQ(out.beeps, 1);
  EXPECT_EQ(mem::Snapshot(*drawing), before);
  // The object works normally afterwards.
  const PickOutcome again = Pick(5, 5);
  ASSERT_TRUE(again.ok);
  EXPECT_NEAR(again.NetArea(), 36, 1e-9);
}

}  // namespace
}  // namespace pphatch
