// `pphatch rooms` on the labelled example plan gives the hand-computed schedule.
#include <gtest/gtest.h>

#include <numbers>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

using std::numbers::pi;

// Plan in cm: Office 1 580 x 380 less a column of radius 25; Office 2
// 580 x 370, labelled again as Meeting; Lab 570 x 480 less a 120 x 60 desk;
// Store 570 x 270 less a quarter-round counter of radius 100; the terrace
// is open on one side.
TEST(Rooms, LabelledPlanGivesTheHandComputedSchedule) {
  ScratchDir dir;
  const ToolRun run =
      RunTool({"rooms", Example("rooms_plan.dxf"), "--layer", "rooms", "--format", "json"}, dir);
  EXPECT_EQ(run.status, 1) << run.err;  // the terrace has no area
  const auto doc = nlohmann::json::parse(run.out);
  const auto& rooms = doc.at("rooms");
  ASSERT_EQ(rooms.size(), 6u) << run.out;
  struct Row {
    const char* label;
    const char* status;
    double area, perimeter;
    int islands;
  };
  const double office1 = 580 * 380 - pi * 25 * 25, store = 570 * 270 - pi * 100 * 100 / 4;
  const Row expected[] = {
      {"Office 1", "ok", office1, 2 * (580 + 380), 1},
      {"Office 2", "ok", 580 * 370, 2 * (580 + 370), 0},
      {"Meeting", "duplicate", 580 * 370, 2 * (580 + 370), 0},
      {"Lab", "ok", 570 * 480 - 120 * 60, 2 * (570 + 480), 1},
      {"Store", "ok", store, 570 + 270 + 470 + 170 + pi * 50, 0},
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const Row& e = expected[i];
    SCOPED_TRACE(e.label);
    EXPECT_EQ(rooms[i]["label"], e.label);
    EXPECT_EQ(rooms[i]["status"], e.status);
    EXPECT_NEAR(rooms[i]["area"].get<double>(), e.area, 1e-9 * e.area);
    EXPECT_NEAR(rooms[i]["perimeter"].get<double>(), e.perimeter, 1e-9 * e.perimeter);
    EXPECT_EQ(rooms[i]["islands"], e.islands);
  }
  EXPECT_EQ(rooms[1]["note"], "also labelled Meeting");
  EXPECT_EQ(rooms[5]["label"], "Terrace");
  EXPECT_EQ(rooms[5]["status"], "failed");
  // The message, and where the terrace's boundary is open.
  EXPECT_EQ(rooms[5]["note"], "Operation can not be performed with these objects. (the boundary is "
                              "open at 1400,400; no small gap tolerance closes it)");
  EXPECT_FALSE(rooms[5].contains("area"));
  // Office 2 and Meeting are one area, counted once.
  EXPECT_EQ(doc["areas"], 4);
  const double total = office1 + 580 * 370 + 570 * 480 - 120 * 60 + store;
  EXPECT_NEAR(doc["total_area"].get<double>(), total, 1e-6);
}

TEST(Rooms, CsvFiltersByPatternAndQuotesNotes) {
  ScratchDir dir;
  const ToolRun run = RunTool({"rooms", Example("rooms_plan.dxf"), "--match", "^(Office 2|Meet)"}, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  // CSV lines end in CR LF.
  EXPECT_EQ(run.out,
            "label,area,perimeter,islands,x,y,status,note\r\n"
            "Office 2,214600,1900,0,40,740,ok,also labelled Meeting\r\n"
            "Meeting,214600,1900,0,400,600,duplicate,\"same area as Office 2, counted once\"\r\n"
            "TOTAL,214600,,,,,,1 area\r\n");
}

}  // namespace
}  // namespace pphatch::cli_test
