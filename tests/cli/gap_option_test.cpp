// `pphatch pick --gap` and what a failed pick tells about its gaps, on the
// open room example: its bottom wall stops 0.5 short of a column and its top
// wall has a gap of 1.3.
#include <gtest/gtest.h>

#include <numbers>
#include <string>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

TEST(CliGap, FailedPickNamesItsGapsAndTheToleranceThatClosesThem) {
  ScratchDir dir;
  ToolRun run = RunTool({"pick", Example("open_room.json"), "--at", "100,100"}, dir);
  EXPECT_EQ(run.status, 1) << run.err;
  auto lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 1u) << run.out;
  EXPECT_EQ(lines[0]["ok"], false);
  EXPECT_EQ(lines[0]["error"], "Operation can not be performed with these objects.");
  EXPECT_EQ(lines[0]["code"], "open");
  const auto& open = lines[0]["open"];
  EXPECT_NEAR(open["closes_at"].get<double>(), 1.3, 1e-9);
  ASSERT_EQ(open["gaps"].size(), 2u) << open;
  EXPECT_NEAR(open["gaps"][0]["size"].get<double>(), 0.5, 1e-9);  // shortest first
  EXPECT_EQ(open["gaps"][0]["from"], nlohmann::json::array({480.0, 0.0}));
  EXPECT_NEAR(open["gaps"][1]["size"].get<double>(), 1.3, 1e-9);
  EXPECT_NE(run.err.find("pphatch: no closed area at 100,100: the boundary is open; it closes with "
                         "--gap 1.3 (gap between 480,0 and 480.5,0, gap between 251.3,400 and 250,400)\n"),
            std::string::npos)
      << run.err;

  // The tolerance the line names closes it, over both gaps; one below does not.
  run = RunTool({"pick", Example("open_room.json"), "--at", "100,100", "--gap", "1.3"}, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["bridged"].size(), 2u) << lines[0];
  // The room less its table, and less the quarter of the column inside it
  // (drawn as chords, which cut a little less).
  EXPECT_NEAR(HatchedArea(lines[0]), 500.0 * 400 - 140 * 80 - std::numbers::pi * 19.5 * 19.5 / 4, 1);
  run = RunTool({"pick", Example("open_room.json"), "--at", "100,100", "--gap", "1.2"}, dir);
  EXPECT_EQ(run.status, 1);

  // Nothing small closes a click beside the room: the free ends are named.
  run = RunTool({"pick", Example("open_room.json"), "--at", "510,200"}, dir);
  lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_FALSE(lines[0]["open"]["free_ends"].empty()) << lines[0];
  EXPECT_NE(run.err.find("the boundary is open at "), std::string::npos) << run.err;

}

TEST(CliGap, SvgAndDxfMarkTheGaps) {
  ScratchDir dir;
  ToolRun run = RunTool({"pick", Example("open_room.json"), "--at", "100,100", "--format", "svg",
                         "-o", "open.svg"},
                        dir);
  EXPECT_EQ(run.status, 1);
  const std::string svg = FileText(dir.Path() / "open.svg");
  EXPECT_NE(svg.find(">1.3</text>"), std::string::npos);
  EXPECT_NE(svg.find(">0.5</text>"), std::string::npos);

  run = RunTool({"pick", Example("open_room.json"), "--at", "100,100", "--gap", "1.3", "--format",
                 "dxf", "-o", "closed.dxf"},
                dir);
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string dxf = FileText(dir.Path() / "closed.dxf");
  EXPECT_NE(dxf.find("\nHATCH"), std::string::npos);
  EXPECT_NE(dxf.find("PPHATCH_BOUNDARY"), std::string::npos);
  EXPECT_EQ(RunTool({"info", "closed.dxf"}, dir).status, 0);  // it reads back as a drawing
  // The layer, and on it per bridge a line, a circle and its size.
  std::size_t onLayer = 0;
  for (std::size_t at = dxf.find("\nPPHATCH_GAPS\n"); at != std::string::npos;
       at = dxf.find("\nPPHATCH_GAPS\n", at + 1)) {
    ++onLayer;
  }
  EXPECT_EQ(onLayer, 1u + 2 * 3);
}

}  // namespace
}  // namespace pphatch::cli_test
