// Hostile drawing files: blocks nested 10,000 deep. (Blocks that insert
// each other: the load digests' sampler; garbage, binary, truncated and
// empty files: the reader tests, the fuzz inputs and the CLI's
// unreadable-drawing table.)
#include <gtest/gtest.h>

#include <string>

#include "formats/dxf_text.h"

namespace pphatch::hostile {
namespace {

using formats::testing::DxfFile;

// An INSERT of the block at the origin.
std::string Insert(const std::string& block) { return " 0 INSERT 8 0 2 " + block + " 10 0 20 0 "; }

// A block definition around its entities.
std::string Block(const std::string& name, const std::string& entities) {
  return " 0 BLOCK 8 0 2 " + name + " 70 0 10 0 20 0 " + entities + " 0 ENDBLK ";
}

// The four sides of the square (0,0)-(10,10) as lines.
const std::string kSquareLines =
    " 0 LINE 8 0 10 0 20 0 11 10 21 0  0 LINE 8 0 10 10 20 0 11 10 21 10 "
    " 0 LINE 8 0 10 10 20 10 11 0 21 10  0 LINE 8 0 10 0 20 10 11 0 21 0 ";

// True when one of the report's warnings contains the text.
bool Warns(const formats::LoadedDrawing& loaded, const std::string& text) {
  for (const std::string& w : loaded.summary.report.warnings) {
    if (w.find(text) != std::string::npos) return true;
  }
  return false;
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
