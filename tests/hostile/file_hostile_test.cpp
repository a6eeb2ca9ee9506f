// Hostile drawing files: blocks that insert themselves, blocks nested
// 10,000 deep. (Garbage, binary, truncated and empty files: the reader
// tests, the fuzz inputs and the CLI's unreadable-drawing table.)
#include <gtest/gtest.h>

#include <string>

#include "cli/tool_run.h"
#include "formats/dxf_text.h"
#include "formats/json_drawing.h"

namespace pphatch::hostile {
namespace {

using cli_test::RunTool;
using cli_test::ScratchDir;
using cli_test::ToolRun;
using formats::testing::DxfFile;

// An INSERT of the block at the origin.
std::string Insert(const std::string& block) { return " 0 INSERT 8 0 2 " + block + " 10 0 20 0 "; }

// A block definition around its entities.
std::string Block(const std::string& name, const std::string& entities) {
  return " 0 BLOCK 8 0 2 " + name + " 70 0 10 0 20 0 " + entities + " 0 ENDBLK ";
}

// A line inside a block, and the four sides of the square (0,0)-(10,10) as lines.
const std::string kLine = " 0 LINE 8 0 10 1 20 1 11 2 21 2 ";
const std::string kSquareLines =
    " 0 LINE 8 0 10 0 20 0 11 10 21 0  0 LINE 8 0 10 10 20 0 11 10 21 10 "
    " 0 LINE 8 0 10 10 20 10 11 0 21 10  0 LINE 8 0 10 0 20 10 11 0 21 0 ";

// The square, and a block holding a line and an INSERT of itself, inserted.
std::string SelfInserting() {
  return DxfFile(kSquareLines + Insert("LOOP"), Block("LOOP", kLine + Insert("LOOP")));
}

// True when one of the report's warnings contains the text.
bool Warns(const formats::LoadedDrawing& loaded, const std::string& text) {
  for (const std::string& w : loaded.summary.report.warnings) {
    if (w.find(text) != std::string::npos) return true;
  }
  return false;
}

// The reader leaves out an INSERT that closes a cycle and says so
// (DxfReader.UnknownAndRecursiveBlocksAreReportedNotFollowed); the square still hatches.
TEST(HostileDxf, SelfInsertingDrawingStillHatches) {
  ScratchDir dir;
  dir.Write("loop.dxf", SelfInserting());
  const ToolRun run = RunTool({"pick", "loop.dxf", "--at", "5,5"}, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  const auto picks = cli_test::JsonLines(run.out);
  ASSERT_EQ(picks.size(), 1u);
  EXPECT_NEAR(cli_test::HatchedArea(picks[0]), 100.0, 1e-6);
}

TEST(HostileDxf, BlocksNested10000Deep) {
  constexpr int kDepth = 10000;
  std::string blocks = Block("B0", kSquareLines);
  for (int i = 1; i < kDepth; ++i) {
    blocks += Block("B" + std::to_string(i), Insert("B" + std::to_string(i - 1)));
  }
  const std::string text = DxfFile(Insert("B" + std::to_string(kDepth - 1)), blocks);
  // The reader loads every level, or leaves the deepest out and says so, or
  // refuses the file by name; it must not run out of stack on the way.
  try {
    const formats::LoadedDrawing loaded = formats::ReadDxfText(text, "deep.dxf");
    EXPECT_EQ(loaded.summary.graphicCount, 1);
    if (loaded.summary.graphicsAtAnyDepth != kDepth + 4) {
      EXPECT_LT(loaded.summary.graphicsAtAnyDepth, kDepth);
      EXPECT_TRUE(Warns(loaded, "nested"));
    }
  } catch (const formats::ReadError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("deep.dxf: ", 0), 0u) << e.what();
  }
}

}  // namespace
}  // namespace pphatch::hostile
