// `pphatch pick`: one JSON line per pick, failure codes, exit statuses, and
// the outputs as the user names them.
#include <string>

#include <gtest/gtest.h>

#include "formats/dxf_text.h"
#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

constexpr const char* kNoArea = "Operation can not be performed with these objects.";

TEST(CliPick, WritesOneJsonLinePerPickInOrderAndExitsOneOnAFailure) {
  ScratchDir dir;
  // A bolt hole, the plate's material (its holes and slot are islands), a
  // point left of the whole drawing, one inside the plate's box but outside
  // its rounded corner; then the points read from standard input.
  const ToolRun run = RunTool({"pick", Example("plate.dxf"), "--at", "25,27", "--at", "12,60",
                               "--at=-50,-50", "--at", "0.5,0.5", "--points", "-"},
                              dir,
                              "# the bore, then two holes\n\n100 52\n  175,27   # right bolt hole\n25\t97\n");
  EXPECT_EQ(run.status, 1) << run.err;
  const auto lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 7u);
  const double at[][2] = {{25, 27}, {12, 60}, {-50, -50}, {0.5, 0.5}, {100, 52}, {175, 27}, {25, 97}};
  const int contours[] = {1, 7, 0, 0, 1, 1, 1};  // the material: outline, four bolt holes, bore, slot
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i].dump());
    EXPECT_EQ(lines[i]["at"], nlohmann::json::array({at[i][0], at[i][1]}));
    EXPECT_EQ(lines[i]["index"], i + 1);
    EXPECT_EQ(lines[i]["units"], "millimeters");
    EXPECT_GE(lines[i]["ms"].get<double>(), 0.0);
    EXPECT_EQ(lines[i]["ok"], contours[i] > 0);
    if (contours[i] == 0) {
      EXPECT_EQ(lines[i]["error"], kNoArea);
      EXPECT_FALSE(lines[i].contains("contours"));
      continue;
    }
    EXPECT_FALSE(lines[i].contains("error") || lines[i].contains("code"));
    ASSERT_EQ(lines[i]["contours"].size(), contours[i]);
    for (int k = 0; k < contours[i]; ++k) {
      EXPECT_EQ(lines[i]["contours"][k]["kind"], k == 0 ? "External" : "Internal");
      const auto& ring = lines[i]["contours"][k]["points"];
      EXPECT_EQ(ring.front(), ring.back());  // closed: the last point repeats the first
    }
  }
  EXPECT_EQ(lines[2]["code"], "outside_drawing");
  EXPECT_EQ(lines[3]["code"], "no_area");
}

TEST(CliPick, ABlockNestedBeyondTheReadersLimitGivesTheLimitCode) {
  // The square at the bottom of 70 nested blocks is left out, and a pick inside it says a limit is why.
  std::string blocks =
      "0 BLOCK 2 B0 10 0 20 0 0 LINE 8 0 10 0 20 0 11 10 21 0 0 LINE 8 0 10 10 20 0 11 10 21 10 "
      "0 LINE 8 0 10 10 20 10 11 0 21 10 0 LINE 8 0 10 0 20 10 11 0 21 0 0 ENDBLK ";
  for (int i = 1; i < 70; ++i) {
    blocks += "0 BLOCK 2 B" + std::to_string(i) + " 10 0 20 0 0 INSERT 8 0 2 B" + std::to_string(i - 1) +
              " 10 0 20 0 0 ENDBLK ";
  }
  const std::string deep =
      formats::testing::DxfFile("0 INSERT 8 0 2 B69 10 0 20 0 0 LINE 8 0 10 -5 20 -5 11 15 21 15", blocks);
  ScratchDir dir;
  const ToolRun run = RunTool({"pick", dir.Write("deep.dxf", deep).string(), "--at", "2,5"}, dir);
  const auto lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 1u) << run.err;
  EXPECT_EQ(lines[0]["code"], "limit");
  EXPECT_TRUE(lines[0]["units"].is_null());
}

bool IsSvg(const std::string& text) {
  return text.rfind("<?xml", 0) == 0 && text.find("<svg") != std::string::npos;
}
bool IsDxf(const std::string& text) {
  return text.find("SECTION") != std::string::npos && text.find("PPHATCH_HATCH") != std::string::npos;
}
bool IsJsonLines(const std::string& text) { return text.rfind("{\"", 0) == 0 && JsonLines(text).size() == 1; }

TEST(CliPick, TheExtensionOfTheOutputChoosesTheFormatUnlessFormatSaysOtherwise) {
  ScratchDir dir;
  struct Case {
    std::vector<std::string> extra;
    std::string file;  // "-": standard output
    bool (*is)(const std::string&);
  };
  const Case cases[] = {
      {{"-o", "a.dxf"}, "a.dxf", IsDxf},
      {{"-o", "a.SVG"}, "a.SVG", IsSvg},
      {{"-o", "a.txt"}, "a.txt", IsJsonLines},
      {{"-o", "b.dxf", "--format", "json"}, "b.dxf", IsJsonLines},
      {{"-o", "-", "--format", "dxf"}, "-", IsDxf},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::string> args{"pick", Example("plate.dxf"), "--at", "25,27"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const ToolRun run = RunTool(args, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.empty(), c.file != "-");
    EXPECT_TRUE(c.is(c.file == "-" ? run.out : FileText(dir.Path() / c.file)));
  }
  EXPECT_FALSE(fs::exists(dir.Path() / "-"));
}

TEST(CliPick, SvgAndDxfOutputsHoldTheFoundAreas) {
  ScratchDir dir;
  ToolRun run = RunTool({"pick", Example("plate.dxf"), "--at", "12,60", "--at", "300,300",
                         "--format", "svg", "-o", "picks.svg"},
                        dir);
  EXPECT_EQ(run.status, 1) << run.err;
  // The legend explains the failure by its code (the hatch fills: SvgPicture).
  const std::string legend = ">2  (300, 300)  no area: the point lies outside the drawing</text>";
  EXPECT_NE(FileText(dir.Path() / "picks.svg").find(legend), std::string::npos);

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
}

}  // namespace
}  // namespace pphatch::cli_test
