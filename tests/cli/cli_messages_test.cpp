// What the tool says, and its exit status, for help, usage slips and inputs
// it cannot use: every error line starts with "pphatch:", says what to do
// instead, and standard output stays empty.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

// Every non-empty line of the text starts with "pphatch: ".
bool EveryLineIsPrefixed(const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.rfind("pphatch: ", 0) != 0) return false;
  }
  return !text.empty();
}

TEST(CliMessages, EachCommandLineGetsItsStatusAndMessage) {
  ScratchDir dir;
  const std::string plate = Example("plate.dxf"), rooms = Example("rooms_plan.dxf");
  const std::string original = FileText(plate);
  const std::string copy = dir.Write("plate.dxf", original).string();
  std::string manyBad = "1 2\n";
  for (int i = 0; i < 25; ++i) manyBad += "bad" + std::to_string(i) + "\n";
  const std::string many = dir.Write("many.txt", manyBad).string();
  const std::string badPoints = dir.Write("pts.txt", "1 2\n# fine\n3 4 5\n").string();
  // Line 5 should hold a group code.
  const std::string bad =
      dir.Write("bad.dxf", "  0\nSECTION\n  2\nENTITIES\nLINE\n  8\n0\n  0\nENDSEC\n").string();
  const std::string dwg = dir.Write("plan.dxf", std::string("AC1032\0\0\x01\x02 rest", 16)).string();
  struct Case {
    std::vector<std::string> args;
    int status;
    // Parts of standard output (status 0) or standard error; "^" marks a start.
    std::vector<std::string> says;
  };
  const Case cases[] = {
      {{"--version"}, 0, {"^pphatch "}},
      {{"help"}, 0, {"pick", "info", "demo"}},
      {{"help", "pick"}, 0, {"--points"}},
      {{"pick", "--help"}, 0, {"pick", "--at", "--points", "--format", "--output"}},
      {{}, 2, {"subcommand"}},
      {{"info"}, 2, {"DRAWING"}},
      {{"pick", plate}, 2, {"no pick points"}},
      {{"pick", plate, "--at", "1;2"}, 2, {"--at 1;2"}},
      {{"pick", plate, "--at", "1", "2"}, 2, {"pphatch: --at 1 2: write the point as X,Y (1,2)"}},
      {{"pick", plate, "--at", "1,2", "3,4"}, 2, {"give --at before each point (--at 1,2 --at 3,4)"}},
      {{"pick", plate, "--at", "1,2", "--format", "pdf"}, 2, {"pphatch: --format: pdf not in"}},
      {{"pick", plate, "--at", "1,2", "--format", "dxf"}, 2, {"needs -o"}},
      {{"pick", plate, "--at", "1,2", "--bogus"}, 2, {"--bogus", "pphatch help"}},
      {{"pick", plate, "--at", "1,2", "--gap", "-1"}, 2,
       {"--gap: the gap is a distance in drawing units, 0 or more, not -1"}},
      {{"pick", plate, "-o", "g.svg", "--at", "1,2", "--frame", "1,2,3"}, 2,
       {"pphatch: --frame 1,2,3: expected X1,Y1,X2,Y2"}},
      {{"pick", plate, "--at", "1,2", "-o", (dir.Path() / "no/such/dir/out.jsonl").string()}, 2,
       {"out.jsonl: cannot open for writing: No such file or directory"}},
      {{"pick", copy, "--at", "25,27", "-o", copy}, 2,
       {"pphatch: " + copy + ": refusing to overwrite the input drawing; choose another -o"}},
      {{"pick", copy, "--at", "25,27", "-o", "./plate.dxf"}, 2,
       {"pphatch: ./plate.dxf: refusing to overwrite the input drawing; choose another -o"}},
      {{"pick", plate, "--points", many, "-o", many}, 2,
       {"refusing to overwrite the points file; choose another -o"}},
      {{"pick", plate, "--points", badPoints}, 2, {"pts.txt: line 3"}},
      {{"pick", plate, "--points", "nowhere.txt"}, 2, {"nowhere.txt: cannot open: No such file"}},
      // Only the first twenty bad lines are named.
      {{"pick", plate, "--points", many}, 2,
       {"many.txt: line 2: expected X Y or X,Y, not 'bad0'",
        "many.txt: line 21: expected X Y or X,Y, not 'bad19'",
        "many.txt: 5 more bad lines not shown"}},
      {{"pick", bad, "--at", "0,0"}, 2, {"bad.dxf: line 5"}},
      {{"info", dwg}, 2, {"plan.dxf: this is a DWG file; save it as DXF"}},
      {{"pik", plate, "--at", "1,2"}, 2, {"pphatch: no command 'pik'; did you mean pick?"}},
      {{"rooms", Example("walls.json")}, 2,
       {"rooms reads its labels from the TEXT and MTEXT of an ASCII DXF file"}},
      {{"rooms", rooms, "--match", "("}, 2, {"--match (: not a regular expression"}},
      {{"rooms", rooms, "--layer", "NO_SUCH_LAYER"}, 2, {"no TEXT or MTEXT labels"}},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += " " + arg;
    SCOPED_TRACE("pphatch" + line);
    const ToolRun run = RunTool(c.args, dir);
    EXPECT_EQ(run.status, c.status) << run.err;
    if (c.status != 0) {
      EXPECT_TRUE(EveryLineIsPrefixed(run.err)) << run.err;
      EXPECT_TRUE(run.out.empty()) << run.out;
    }
    const std::string& said = c.status == 0 ? run.out : run.err;
    for (const std::string& part : c.says) {
      if (part[0] == '^') {
        EXPECT_EQ(said.rfind(part.substr(1), 0), 0u) << said;
      } else {
        EXPECT_NE(said.find(part), std::string::npos) << part << " / " << said;
      }
    }
    EXPECT_EQ(run.err.find("bad20"), std::string::npos) << run.err;
  }
  EXPECT_EQ(FileText(copy), original);
}

}  // namespace
}  // namespace pphatch::cli_test
