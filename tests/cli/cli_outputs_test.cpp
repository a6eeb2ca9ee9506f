// Outputs as the user names them: the format from the file's extension,
// "-" for the standard streams, and the input drawing never overwritten.
#include <string>

#include <gtest/gtest.h>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

// The first bytes of each output format.
bool IsSvg(const std::string& text) { return text.rfind("<?xml", 0) == 0 && text.find("<svg") != std::string::npos; }
bool IsDxf(const std::string& text) { return text.find("SECTION") != std::string::npos && text.find("PPHATCH_HATCH") != std::string::npos; }
bool IsJsonLines(const std::string& text) { return text.rfind("{\"", 0) == 0 && JsonLines(text).size() == 1; }

TEST(CliOutputs, TheExtensionOfTheOutputChoosesTheFormatUnlessFormatSaysOtherwise) {
  ScratchDir dir;
  const std::string plate = Example("plate.dxf");
  struct Case {
    std::vector<std::string> extra;
    std::string file;
    bool (*is)(const std::string&);
  };
  const Case cases[] = {
      {{"-o", "a.dxf"}, "a.dxf", IsDxf},
      {{"-o", "a.SVG"}, "a.SVG", IsSvg},
      {{"-o", "a.json"}, "a.json", IsJsonLines},
      {{"-o", "a.jsonl"}, "a.jsonl", IsJsonLines},
      {{"-o", "a.txt"}, "a.txt", IsJsonLines},
      {{"-o", "b.dxf", "--format", "json"}, "b.dxf", IsJsonLines},
      {{"-o", "b.out", "--format", "SVG"}, "b.out", IsSvg},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"pick", plate, "--at", "25,27"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const ToolRun run = RunTool(args, dir);
    EXPECT_EQ(run.status, 0) << c.file << ": " << run.err;
    EXPECT_TRUE(run.out.empty()) << c.file;
    EXPECT_TRUE(c.is(FileText(dir.Path() / c.file))) << c.file;
  }
}

TEST(CliOutputs, DashStandsForStandardOutputAndStandardInput) {
  ScratchDir dir;
  const std::string plate = Example("plate.dxf");
  ToolRun run = RunTool({"pick", plate, "--at", "25,27", "-o", "-", "--format", "dxf"}, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(IsDxf(run.out));
  EXPECT_FALSE(fs::exists(dir.Path() / "-"));

  run = RunTool({"pick", plate, "--points", "-"}, dir, "# two holes\n25 27\n175,27\n");
  EXPECT_EQ(run.status, 0) << run.err;
  const auto lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1]["at"], nlohmann::json::array({175.0, 27.0}));
}

TEST(CliOutputs, RefusesToWriteOverTheInputDrawing) {
  ScratchDir dir;
  const std::string original = FileText(Example("plate.dxf"));
  const fs::path drawing = dir.Write("plate.dxf", original);
  for (const std::string& output : {drawing.string(), std::string("./plate.dxf")}) {
    const ToolRun run = RunTool({"pick", drawing.string(), "--at", "25,27", "-o", output}, dir);
    EXPECT_EQ(run.status, 2) << output;
    EXPECT_NE(run.err.find("pphatch: " + output +
                           ": refusing to overwrite the input drawing; choose another -o"),
              std::string::npos)
        << run.err;
  }
  EXPECT_EQ(FileText(drawing), original);
}

}  // namespace
}  // namespace pphatch::cli_test
