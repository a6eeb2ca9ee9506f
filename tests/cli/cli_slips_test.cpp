// What the tool says to the usual slips of a command-line user: each error
// line starts with "pphatch:" and says what to do instead.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

// Every non-empty line of the text starts with "pphatch: ".
bool EveryLineIsPrefixed(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.rfind("pphatch: ", 0) != 0) return false;
  }
  return !text.empty();
}

TEST(CliSlips, EachSlipGetsAMessageThatSaysWhatToDo) {
  ScratchDir dir;
  const std::string plate = Example("plate.dxf");
  std::string manyBad = "1 2\n";
  for (int i = 0; i < 25; ++i) manyBad += "bad" + std::to_string(i) + "\n";
  const auto points = dir.Write("many.txt", manyBad);
  const auto dwg = dir.Write("plan.dxf", std::string("AC1032\0\0\x01\x02 rest", 16));
  const auto json = dir.Write("c.json", R"({"graphics":[{"type":"circle","center":[0,0],"radius":1}]})");
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> says;
  };
  const Case cases[] = {
      {{"pick", plate, "--at", "1", "2"}, {"pphatch: --at 1 2: write the point as X,Y (1,2)"}},
      {{"pick", plate, "--at", "1,", "2"}, {"write the point as X,Y (1,2)"}},
      {{"pick", plate, "--at", "1,2", "--format", "pdf"}, {"pphatch: --format: pdf not in"}},
      {{"pick", plate, "--points", points.string()},
       {"many.txt: line 2: expected X Y or X,Y, not 'bad0'",
        "many.txt: line 21: expected X Y or X,Y, not 'bad19'",
        "many.txt: 5 more bad lines not shown"}},
      {{"info", "nowhere.dxf"}, {"pphatch: nowhere.dxf: cannot open: No such file or directory"}},
      {{"info", dwg.string()}, {"plan.dxf: this is a DWG file; save it as DXF"}},
      {{"info", json.string()}, {"unknown key 'center'; did you mean centre?"}},
      {{"pick", plate, "--at", "1,2", "--bogus"}, {"--bogus", "pphatch help"}},
      {{"help", "frobnicate"}, {"no command 'frobnicate'"}},
      {{"pik", plate, "--at", "1,2"}, {"pphatch: no command 'pik'; did you mean pick?"}},
      {{"pick", plate, "--at", "1,2", "3,4"}, {"give --at before each point (--at 1,2 --at 3,4)"}},
      {{"pick", plate, "--points", points.string(), "-o", points.string()},
       {"refusing to overwrite the points file; choose another -o"}},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool(c.args, dir);
    EXPECT_EQ(run.status, 2) << c.says[0];
    EXPECT_TRUE(EveryLineIsPrefixed(run.err)) << run.err;
    for (const std::string& part : c.says) {
      EXPECT_NE(run.err.find(part), std::string::npos) << part << " / " << run.err;
    }
  }
  // Only the first twenty bad lines are named.
  const ToolRun run = RunTool({"pick", plate, "--points", points.string()}, dir);
  EXPECT_EQ(run.err.find("bad20"), std::string::npos) << run.err;
}

TEST(CliSlips, HelpVersionAndFormatInAnyCaseWork) {
  ScratchDir dir;
  ToolRun run = RunTool({"-V"}, dir);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("pphatch ", 0), 0u) << run.out;
  run = RunTool({"help"}, dir);
  EXPECT_EQ(run.status, 0);
  for (const char* command : {"pick", "info", "demo"}) {
    EXPECT_NE(run.out.find(command), std::string::npos) << command;
  }
  run = RunTool({"help", "pick"}, dir);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("--points"), std::string::npos) << run.out;
  run = RunTool({"pick", Example("plate.dxf"), "--at", "25,27", "--format", "SVG"}, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("<svg"), std::string::npos);
}

}  // namespace
}  // namespace pphatch::cli_test
