// The example drawings hatch as hand computation says, through the tool.
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

using std::numbers::pi;

// One expected area: pick point, outer area less islands, island count, and
// the deviation allowed for arcs and circles returned as chords (a full
// circle comes back as a 60-sided polygon, 0.18 % smaller, so 0.3 % of the
// circular parts' area is allowed; less than the smallest feature).
struct Expected {
  const char* name;
  double x, y;
  double area;
  std::size_t islands;
  double tolerance;
};

// Checks every pick of a run against its expectation, in order.
void ExpectAreas(const ToolRun& run, const std::vector<Expected>& expected) {
  EXPECT_EQ(run.status, 0) << run.err;
  const auto lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), expected.size()) << run.out << run.err;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Expected& e = expected[i];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(lines[i]["at"], nlohmann::json::array({e.x, e.y}));
    ASSERT_EQ(lines[i]["ok"], true) << lines[i];
    EXPECT_EQ(lines[i]["contours"].size(), e.islands + 1);
    EXPECT_NEAR(HatchedArea(lines[i]), e.area, e.tolerance);
    // The measured area follows the true curves: exact up to rounding.
    EXPECT_NEAR(lines[i]["area"].get<double>(), e.area, 1e-9 * e.area);
  }
}

// Floor plan in cm: rooms A 480 x 380, B 480 x 270, C 470 x 280, D 470 x 370;
// door swings of radius 90 (a quarter disc cut from the room the door opens
// into and added, with the 90 x 10 opening, to the room behind it); columns
// of radius 20; desks 120 x 60 with chairs of radius 15; a 100 x 60 cabinet
// against A's wall, which joins A's boundary instead of being an island.
TEST(Examples, FloorPlanRoomsAndWallsHatchAsHandComputed) {
  const double swing = pi * 90 * 90 / 4, column = pi * 20 * 20, chair = pi * 15 * 15;
  const double desk = 120 * 60, opening = 90 * 10;
  ScratchDir dir;
  ExpectAreas(RunTool({"pick", Example("floor_plan.dxf"), "--points", Example("floor_plan.points")},
                      dir),
              {
                  {"room A", 300, 200, 480 * 380 - swing - 100 * 60 - column, 1, 25},
                  {"room B", 150, 600, 480 * 270 + opening + swing - desk - chair, 2, 25},
                  {"room C", 750, 240, 470 * 280 + opening + swing - 2 * (desk + chair), 4, 25},
                  {"room D", 600, 600, 470 * 370 - swing - column, 1, 25},
                  // The outer wall ring: everything inside its inner face is one island.
                  {"walls", 5, 350, 1000 * 700 - 960 * 660, 1, 1},
              });
}

// Plate in mm: 200 x 120 with four fillets of radius 10, bolt holes of
// radius 8, a bore of radius 25 and a slot 80 long and 12 wide.
TEST(Examples, PlateMaterialHolesAndSlotHatchAsHandComputed) {
  const double fillets = 4 * (10 * 10 - pi * 10 * 10 / 4);
  const double hole = pi * 8 * 8, bore = pi * 25 * 25, slot = 80 * 12 + pi * 6 * 6;
  ScratchDir dir;
  ExpectAreas(RunTool({"pick", Example("plate.dxf"), "--at", "12,60", "--at", "175,27", "--at",
                       "100,52", "--at", "100,97"},
                      dir),
              {
                  {"material", 12, 60, 200 * 120 - fillets - 4 * hole - bore - slot, 6, 10},
                  {"bolt hole", 175, 27, hole, 0, 0.6},
                  {"bore", 100, 52, bore, 0, 6},
                  {"slot", 100, 97, slot, 0, 0.5},
              });
}

TEST(Examples, DemoPrintsItsPicksAndWritesThePicture) {
  ScratchDir dir;
  const ToolRun run = RunTool({"demo"}, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  const auto lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 5u);
  for (const auto& line : lines) EXPECT_EQ(line["ok"], true) << line;
  const std::string svg = FileText(dir.Path() / "demo.svg");
  // Five hatched areas: patterns hatch0 to hatch4.
  EXPECT_NE(svg.find("fill=\"url(#hatch4)\""), std::string::npos);
  EXPECT_EQ(svg.find("url(#hatch5)"), std::string::npos);
}

}  // namespace
}  // namespace pphatch::cli_test
