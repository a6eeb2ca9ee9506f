// The command line contract of `pphatch`: statuses, JSON lines, inputs, errors.
#include <cmath>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

using std::numbers::pi;
constexpr const char* kNoArea = "Operation can not be performed with these objects.";

// Circles come back as 60-sided polygons, 0.18 % smaller than the circle.
constexpr double kCircleShare = 0.003;

TEST(CliPick, WritesOneJsonLinePerPickInOrderAndExitsOneOnAFailure) {
  ScratchDir dir;
  // A bolt hole, the plate's material (its holes and slot are islands),
  // and a point left of the whole drawing.
  const ToolRun run = RunTool({"pick", Example("plate.dxf"), "--at", "25,27", "--at", "12,60",
                               "--at=-50,-50"},
                              dir);
  EXPECT_EQ(run.status, 1) << run.err;
  const auto lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 3u);

  EXPECT_EQ(lines[0]["at"], nlohmann::json::array({25.0, 27.0}));
  EXPECT_EQ(lines[1]["at"], nlohmann::json::array({12.0, 60.0}));
  EXPECT_EQ(lines[2]["at"], nlohmann::json::array({-50.0, -50.0}));

  EXPECT_EQ(lines[0]["ok"], true);
  ASSERT_EQ(lines[0]["contours"].size(), 1u);
  EXPECT_EQ(lines[0]["contours"][0]["kind"], "External");
  const auto& ring = lines[0]["contours"][0]["points"];
  ASSERT_GE(ring.size(), 4u);
  EXPECT_EQ(ring.front(), ring.back());  // closed: the last point repeats the first
  EXPECT_NEAR(HatchedArea(lines[0]), pi * 8 * 8, kCircleShare * pi * 8 * 8);
  EXPECT_FALSE(lines[0].contains("error"));

  EXPECT_EQ(lines[1]["ok"], true);
  ASSERT_EQ(lines[1]["contours"].size(), 7u);  // outline, four bolt holes, the bore, the slot
  EXPECT_EQ(lines[1]["contours"][0]["kind"], "External");
  for (std::size_t i = 1; i < 7; ++i) EXPECT_EQ(lines[1]["contours"][i]["kind"], "Internal");

  EXPECT_EQ(lines[2]["ok"], false);
  EXPECT_EQ(lines[2]["error"], kNoArea);
  EXPECT_FALSE(lines[2].contains("contours"));
  for (const auto& line : lines) {
    ASSERT_TRUE(line["ms"].is_number());
    EXPECT_GE(line["ms"].get<double>(), 0.0);
  }
}

TEST(CliPick, ExitsZeroWhenEveryPickFindsAnAreaAndReadsPointsFiles) {
  ScratchDir dir;
  const auto points = dir.Write("holes.txt",
                                "# the bore, then two holes\n\n"
                                "100 52\n"
                                "  175,27   # right bolt hole\n"
                                "25\t97\n");
  const ToolRun run = RunTool(
      {"pick", Example("plate.dxf"), "--at", "175,97", "--points", points.string()}, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  const auto lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 4u);
  // --at points come first, then the file's, in file order.
  EXPECT_EQ(lines[0]["at"], nlohmann::json::array({175.0, 97.0}));
  EXPECT_EQ(lines[1]["at"], nlohmann::json::array({100.0, 52.0}));
  EXPECT_EQ(lines[2]["at"], nlohmann::json::array({175.0, 27.0}));
  EXPECT_EQ(lines[3]["at"], nlohmann::json::array({25.0, 97.0}));
  EXPECT_NEAR(HatchedArea(lines[1]), pi * 25 * 25, kCircleShare * pi * 25 * 25);
  for (std::size_t i : {0u, 2u, 3u}) {
    EXPECT_NEAR(HatchedArea(lines[i]), pi * 8 * 8, kCircleShare * pi * 8 * 8) << i;
  }

  // -o writes the same lines to a file and nothing to standard output.
  const ToolRun toFile =
      RunTool({"pick", Example("plate.dxf"), "--points", points.string(), "-o", "picks.jsonl"}, dir);
  EXPECT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_TRUE(toFile.out.empty());
  EXPECT_EQ(JsonLines(FileText(dir.Path() / "picks.jsonl")).size(), 3u);
}

TEST(CliPick, UnreadableDrawingsExitTwoNamingTheFileAndTheProblem) {
  ScratchDir dir;
  // Line 5 should hold a group code.
  const auto bad = dir.Write("bad.dxf", "  0\nSECTION\n  2\nENTITIES\nLINE\n  8\n0\n  0\nENDSEC\n");
  ToolRun run = RunTool({"pick", bad.string(), "--at", "0,0"}, dir);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("bad.dxf: line 5"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());

  run = RunTool({"pick", "missing.dxf", "--at", "0,0"}, dir);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("missing.dxf"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("cannot open"), std::string::npos) << run.err;

  const auto text = dir.Write("plan.txt", "not a drawing\n");
  run = RunTool({"info", text.string()}, dir);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("plan.txt"), std::string::npos) << run.err;
}

TEST(CliPick, UsageErrorsExitTwo) {
  ScratchDir dir;
  const std::string plate = Example("plate.dxf");
  struct Case {
    std::vector<std::string> args;
    std::string message;  // part of what standard error must say
  };
  const auto badPoints = dir.Write("pts.txt", "1 2\n# fine\n3 4 5\n");
  const Case cases[] = {
      {{"pick", plate}, "no pick points"},
      {{"pick", plate, "--at", "1;2"}, "--at 1;2"},
      {{"pick", plate, "--at", "nan,2"}, "--at nan,2"},
      {{"pick", plate, "--at", "1,2,3"}, "--at 1,2,3"},
      {{"pick", plate, "--points", badPoints.string()}, "pts.txt: line 3"},
      {{"pick", plate, "--points", "nowhere.txt"}, "nowhere.txt: cannot open: No such file"},
      {{"pick", plate, "--at", "1,2", "--format", "pdf"}, "pdf"},
      {{"pick", plate, "--at", "1,2", "--format", "dxf"}, "needs -o"},
      {{"pick", plate, "--at", "1,2", "-o", (dir.Path() / "no/such/dir/out.jsonl").string()},
       "out.jsonl: cannot open for writing: No such file or directory"},
      {{}, "subcommand"},
      {{"info"}, "DRAWING"},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool(c.args, dir);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << " / " << run.err;
  }
}

TEST(CliPick, HelpAndVersionExitZero) {
  ScratchDir dir;
  ToolRun run = RunTool({"--version"}, dir);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("pphatch ", 0), 0u) << run.out;
  for (const char* command : {"pick", "info", "demo"}) {
    run = RunTool({command, "--help"}, dir);
    EXPECT_EQ(run.status, 0) << command;
    EXPECT_NE(run.out.find(command), std::string::npos) << run.out;
  }
  run = RunTool({"pick", "--help"}, dir);
  for (const char* option : {"--at", "--points", "--format", "--output"}) {
    EXPECT_NE(run.out.find(option), std::string::npos) << option;
  }
}

TEST(CliPick, SvgAndDxfOutputsHoldTheFoundAreas) {
  ScratchDir dir;
  ToolRun run = RunTool({"pick", Example("plate.dxf"), "--at", "12,60", "--at", "300,300",
                         "--format", "svg", "-o", "picks.svg"},
                        dir);
  EXPECT_EQ(run.status, 1) << run.err;
  const std::string svg = FileText(dir.Path() / "picks.svg");
  ASSERT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("fill=\"url(#hatch0)\" fill-rule=\"evenodd\""), std::string::npos);
  EXPECT_EQ(svg.find("url(#hatch1)"), std::string::npos);  // one area only
  EXPECT_NE(svg.find(">2  (300, 300)  no area: the point lies outside the drawing</text>"),
            std::string::npos);
  // Every failure is explained on standard error, one line each.
  EXPECT_NE(run.err.find("pphatch: no closed area at 300,300: "), std::string::npos) << run.err;

  run = RunTool({"pick", Example("walls.json"), "--at", "150,150", "--format", "dxf", "-o",
                 "picks.dxf"},
                dir);
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string dxf = FileText(dir.Path() / "picks.dxf");
  EXPECT_NE(dxf.find("\nHATCH"), std::string::npos);
  EXPECT_NE(dxf.find("PPHATCH_BOUNDARY"), std::string::npos);
  // An R12 file has no HATCH entity: a hatch is an anonymous block of lines
  // inserted on the hatch layer, and a solid fill is refused with a note.
  run = RunTool({"pick", Example("plate.dxf"), "--at", "25,27", "--format", "dxf", "--solid",
                 "-o", "plate.dxf"},
                dir);
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string r12 = FileText(dir.Path() / "plate.dxf");
  EXPECT_EQ(r12.find("\nHATCH"), std::string::npos);
  EXPECT_NE(r12.find("\nBLOCK\n  8\nPPHATCH_HATCH\n  2\n*X1\n"), std::string::npos);
  EXPECT_NE(r12.find("\nINSERT\n  8\nPPHATCH_HATCH\n  2\n*X1\n"), std::string::npos);
  EXPECT_NE(r12.find("PPHATCH_BOUNDARY"), std::string::npos);
  EXPECT_NE(run.err.find("no solid hatch"), std::string::npos) << run.err;
  // The result file reads back as a drawing.
  run = RunTool({"info", (dir.Path() / "picks.dxf").string()}, dir);
  EXPECT_EQ(run.status, 0) << run.err;
}

}  // namespace
}  // namespace pphatch::cli_test
