// A big DXF file is split, read, placed and summed up by two threads at
// each step. Run under ThreadSanitizer by make check: the threads must share
// nothing unguarded, and the drawing must be the one a single thread makes.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "formats/dxf_emit.h"
#include "formats/dxf_parse.h"
#include "formats/dxf_reader.h"
#include "formats/dxf_text.h"
#include "memhost/snapshot.h"

namespace pphatch::formats {
namespace {

TEST(DxfHalves, ABigFileLoadsByTwoThreadsAsByOne) {
  // Lines enough to pass every step's threshold, with inserts of a block
  // that nests another, so that graphics with children move between drawings.
  std::string entities;
  for (int i = 0; i < 90000; ++i) {
    const std::string x = std::to_string(i % 1000), y = std::to_string(i / 1000);
    entities += "0 LINE 100 AcDbEntity 8 walls 6 BYLAYER 62 256 370 -1 100 AcDbLine 10 " + x + " 20 " + y + " 30 0 11 " + x + ".5 21 " + y + " 31 0 ";
    if (i % 5000 == 0) entities += "0 INSERT 2 ROOM 10 " + x + " 20 " + y + " ";
  }
  const std::string text = testing::DxfFile(
      entities, "0 BLOCK 2 DOOR 10 0 20 0 0 ARC 10 0 20 0 40 1 50 0 51 90 0 ENDBLK "
                "0 BLOCK 2 ROOM 10 0 20 0 0 LWPOLYLINE 90 3 70 1 10 0 20 0 10 4 20 0 10 4 20 3 "
                "0 INSERT 2 DOOR 10 1 20 0 0 ENDBLK");
  ASSERT_GE(text.size(), kSplitInHalvesFrom);
  ASSERT_GE(SplitDxfPairs(text, "plan.dxf").size(), kParseInHalvesFrom);

  const LoadedDrawing halves = ReadDxfText(text, "plan.dxf");
  constexpr std::size_t kOnePass = std::numeric_limits<std::size_t>::max();
  DxfDocument document = ParseDxf(SplitDxfPairs(text, "plan.dxf", kOnePass), "plan.dxf", kOnePass);
  const auto onePass = mem::MemDrawing::Create();
  EmitDxfDocument(document, onePass, document.report, "plan.dxf", kOnePass);

  EXPECT_EQ(mem::Snapshot(*halves.drawing), mem::Snapshot(*onePass));
  const LoadSummary& summary = halves.summary;
  EXPECT_EQ(summary.graphicCount, 90018);
  EXPECT_EQ(summary.graphicsAtAnyDepth, 90000 + 18 * 4);
  ASSERT_TRUE(summary.extents);
  EXPECT_EQ(summary.extents->maxX, 999.5);
  EXPECT_EQ(summary.extents->maxY, 89);
}

}  // namespace
}  // namespace pphatch::formats
