#include "formats/dxf_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "dxf_text.h"

namespace pphatch::formats {
namespace {

using testing::DxfFile;
using testing::Pairs;
constexpr double kPi = std::numbers::pi;
constexpr double kEps = 1e-9;

std::shared_ptr<mem::MemDrawing> Read(const std::string& text, LoadReport* report = nullptr) {
  LoadedDrawing loaded = ReadDxfText(text, "drawing.dxf");
  if (report) *report = loaded.summary.report;
  return loaded.drawing;
}

const mem::MemGraphic& Item(const std::shared_ptr<mem::MemDrawing>& d, std::size_t i) {
  return *d->List()->Items().at(i);
}

void ExpectVertex(const mem::MemGraphic& g, std::size_t i, double x, double y) {
  ASSERT_LT(i, g.VertexList().size());
  EXPECT_NEAR(g.VertexList()[i].x, x, kEps) << "vertex " << i;
  EXPECT_NEAR(g.VertexList()[i].y, y, kEps) << "vertex " << i;
}

TEST(DxfReader, UnknownAndRecursiveBlocksAreReportedNotFollowed) {
  LoadReport report;
  // WRAP holds a line and an insert of ONE, which inserts TWO, which inserts ONE.
  const auto d = Read(DxfFile("0 INSERT 8 0 2 NOPE 10 0 20 0 0 INSERT 8 0 2 WRAP 10 0 20 0",
                              "0 BLOCK 2 WRAP 10 0 20 0 0 INSERT 8 0 2 ONE 10 1 20 0 "
                              "0 LINE 8 0 10 0 20 0 11 1 21 0 0 ENDBLK "
                              "0 BLOCK 2 ONE 10 0 20 0 0 INSERT 8 0 2 TWO 10 1 20 0 0 ENDBLK "
                              "0 BLOCK 2 TWO 10 0 20 0 0 INSERT 8 0 2 ONE 10 1 20 0 0 ENDBLK"),
                      &report);
  ASSERT_EQ(d->List()->Items().size(), 1u);
  ASSERT_EQ(Item(d, 0).ChildItems().size(), 1u);
  EXPECT_EQ(Item(d, 0).ChildItems()[0]->TypeText(), "GRAPHIC");
  ASSERT_EQ(report.warnings.size(), 2u);
  EXPECT_EQ(report.warnings[0], "line 83: INSERT of unknown block 'NOPE' left out");
  EXPECT_NE(report.warnings[1].find("block 'ONE' inserts itself"), std::string::npos);
}

TEST(DxfReader, BlocksNestedTooDeepAreCutOffWithAWarning) {
  std::string blocks;
  for (int k = 1; k <= 70; ++k) {
    blocks += "0 BLOCK 2 N" + std::to_string(k) + " 10 0 20 0 0 INSERT 8 0 2 N" +
              std::to_string(k + 1) + " 10 1 20 0 0 ENDBLK ";
  }
  LoadReport report;
  const auto d = Read(DxfFile("0 INSERT 8 0 2 N1 10 0 20 0", blocks), &report);
  int depth = 0;
  for (const mem::MemGraphic* g = &Item(d, 0); !g->ChildItems().empty();
       g = g->ChildItems()[0].get())
    ++depth;
  EXPECT_EQ(depth, 63);  // 64 inserts in all: the top one and 63 inside it
  ASSERT_EQ(report.warnings.size(), 1u);
  EXPECT_NE(report.warnings[0].find("blocks nested more than 64 deep; the inner INSERT of 'N65'"),
            std::string::npos);
}

TEST(DxfReader, TextsAreKeptPlacedForPicturesWithoutFormatting) {
  LoadReport report;
  // TEXT of height 2 at (1,1) in a block inserted at (100,0), doubled; MTEXT
  // with a font and a paragraph break.
  Read(DxfFile("0 INSERT 8 0 2 LABEL 10 100 20 0 41 2 42 2 "
               "0 MTEXT 8 0 10 5 20 6 40 3 1 {\\fArial|b1;Room}\\PNorth",
               "0 BLOCK 2 LABEL 10 0 20 0 0 TEXT 8 0 10 1 20 1 40 2 1 A 0 ENDBLK"),
       &report);
  ASSERT_EQ(report.texts.size(), 2u);
  EXPECT_EQ(report.texts[0].text, "A");
  EXPECT_NEAR(report.texts[0].x, 102, kEps);
  EXPECT_NEAR(report.texts[0].y, 2, kEps);
  EXPECT_NEAR(report.texts[0].height, 4, kEps);
  EXPECT_EQ(report.texts[1].text, "Room North");
  EXPECT_NEAR(report.texts[1].x, 5, kEps);
  EXPECT_NEAR(report.texts[1].height, 3, kEps);
  EXPECT_EQ(report.ignored["TEXT"], 1);
  EXPECT_EQ(report.ignored["MTEXT"], 1);
}

std::string ErrorOf(const std::string& text) { return testing::DxfErrorOf(text); }

TEST(DxfReader, WindowsLineEndsByteOrderMarkAndCommentsAreAccepted) {
  std::string text = "\xEF\xBB\xBF" + Pairs("999 written-by-hand") +
                     DxfFile("0 LWPOLYLINE 8 0 90 3 70 1.0 10 0 20 0 10 4 20 0 10 4 20 3");
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
    text.insert(at, "\r");
  }
  const auto d = Read(text);
  ASSERT_EQ(d->List()->Items().size(), 1u);
  EXPECT_TRUE(Item(d, 0).IsClosed());
  ExpectVertex(Item(d, 0), 3, 0, 0);
}

TEST(DxfReader, MalformedFilesAreRefusedWithFileAndLine) {
  const std::string good = DxfFile("0 LINE 8 0 10 0 20 0 11 1 21 1");
  EXPECT_EQ(ErrorOf(good.substr(0, good.size() - 4)),
            "drawing.dxf: line 19: the file ends after group code 0, before its value");
  EXPECT_EQ(ErrorOf(good.substr(0, good.find("ENDSEC") + 7)),
            "drawing.dxf: line 18: the file ends without the EOF marker: it is truncated");
  EXPECT_EQ(ErrorOf("hello\nworld\n"), "drawing.dxf: line 1: expected a group code, found 'hello'");
  EXPECT_EQ(ErrorOf(Pairs("0 SECTION 2 ENTITIES 0 LINE 10 abc 0 ENDSEC 0 EOF")),
            "drawing.dxf: line 8: group code 10 needs a finite number, found 'abc'");
  EXPECT_EQ(ErrorOf(Pairs("0 SECTION 2 ENTITIES 0 LINE 0 EOF")),
            "drawing.dxf: line 7: section ENTITIES (line 1) ends without ENDSEC");
  EXPECT_EQ(ErrorOf(std::string("  0\nSECTION\n\x01\x02\x03")),
            "drawing.dxf: line 3: binary data: this is not a DXF text file");
  EXPECT_EQ(ErrorOf(" \r\n\n"), "drawing.dxf: the file is empty");
  EXPECT_EQ(ErrorOf(DxfFile("0 INSERT 8 0 2 B 70 1000 71 2000", "0 BLOCK 2 B 0 ENDBLK")),
            "drawing.dxf: the drawing expands to more than 1000000 graphics (inserts of blocks, "
            "rows and columns)");
  EXPECT_EQ(testing::ReadErrorOf([] { ReadDxfFile("/nonexistent/plan.dxf"); }),
            "/nonexistent/plan.dxf: cannot open: No such file or directory");
}

}  // namespace
}  // namespace pphatch::formats
