// Stable codes of failed picks for scripts, the pick's number and the
// drawing's units in each JSON line.
#include <string>

#include <gtest/gtest.h>

#include "dxf_drawing.h"
#include "failure_code.h"
#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

TEST(CliCodes, EachFailureKindHasItsCodeBesideTheMessage) {
  ScratchDir dir;
  // Inside the plate's box but outside its rounded corner; far outside; a bolt hole.
  const ToolRun run = RunTool(
      {"pick", Example("plate.dxf"), "--at", "0.5,0.5", "--at", "300,300", "--at", "25,27"}, dir);
  EXPECT_EQ(run.status, 1) << run.err;
  const auto lines = JsonLines(run.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["code"], "no_area");
  EXPECT_EQ(lines[1]["code"], "outside_drawing");
  EXPECT_EQ(lines[1]["error"], "Operation can not be performed with these objects.");
  EXPECT_FALSE(lines[2].contains("code"));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[i]["index"], i + 1);
    EXPECT_EQ(lines[i]["units"], "millimeters");
  }

  // Blocks nested deeper than the reader follows: the square at the bottom
  // is left out, and a pick inside it says a limit is why.
  const int depth = 70;
  DxfDrawing deep;
  deep.Block("B0", DxfDrawing().Line("0", 0, 0, 10, 0).Line("0", 10, 0, 10, 10).Line("0", 10, 10, 0, 10).Line("0", 0, 10, 0, 0));
  for (int i = 1; i < depth; ++i) deep.Block("B" + std::to_string(i), DxfDrawing().Insert("0", "B" + std::to_string(i - 1), 0, 0));
  deep.Insert("0", "B" + std::to_string(depth - 1), 0, 0).Line("0", -5, -5, 15, 15);
  const auto file = dir.Write("deep.dxf", deep.Str());
  const ToolRun limited = RunTool({"pick", file.string(), "--at", "2,5"}, dir);
  const auto limitedLines = JsonLines(limited.out);
  ASSERT_EQ(limitedLines.size(), 1u) << limited.err;
  EXPECT_EQ(limitedLines[0]["code"], "limit");
  EXPECT_TRUE(limitedLines[0]["units"].is_null());
}

TEST(CliCodes, TheComponentsDiagnosisDecidesBetweenBudgetOpenAndTheRest) {
  using cli::FailureCode;
  using Cause = PickDiagnosis::Cause;
  EXPECT_EQ(FailureCode({false, Cause::kBudget, false}), "budget");
  EXPECT_EQ(FailureCode({false, Cause::kOpen, false}), "open");
  EXPECT_EQ(FailureCode({false, Cause::kOpen, true}), "limit");
  EXPECT_EQ(FailureCode({false, Cause::kNotEnclosed, false}), "no_area");
  EXPECT_EQ(FailureCode({false, Cause::kOnBoundary, true}), "limit");
  // Outside the drawing says the most: it is the user's to fix.
  EXPECT_EQ(FailureCode({true, Cause::kBudget, true}), "outside_drawing");
}

}  // namespace
}  // namespace pphatch::cli_test
