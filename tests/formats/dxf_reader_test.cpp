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

TEST(DxfReader, NegativeExtrusionMirrorsArcsAndPolylines) {
  const auto d =
      Read(DxfFile("0 ARC 8 0 10 5 20 0 30 0 40 2 50 0 51 90 210 0 220 0 230 -1 "
                   "0 LWPOLYLINE 8 0 90 2 70 0 10 0 20 0 42 1 10 2 20 0 210 0 220 0 230 -1 "
                   "0 ELLIPSE 8 0 10 0 20 0 30 0 11 4 21 0 31 0 40 0.5 41 0 42 1.5707963267948966 "
                   "210 0 220 0 230 -1"));
  // The arc runs clockwise in the world: centre x negated, angles pi - angle, swapped.
  const auto arc = Item(d, 0).Shape()->ArcData();
  EXPECT_NEAR(arc[0], -5, kEps);
  EXPECT_NEAR(arc[7], kPi / 2, kEps);
  EXPECT_NEAR(arc[8], kPi, kEps);
  ExpectVertex(Item(d, 0), 1, -5, 2);
  ExpectVertex(Item(d, 0), 2, -7, 0);
  // The half circle from (0,0) to (-2,0) now bulges downwards through (-1,-1).
  ExpectVertex(Item(d, 1), 2, -1, -1);
  ExpectVertex(Item(d, 1), 3, -2, 0);
  // The quarter ellipse runs clockwise from (4,0) to (0,-2): stored from (0,-2) to (4,0).
  EXPECT_EQ(Item(d, 2).TypeText(), "ARC");
  ExpectVertex(Item(d, 2), 1, 0, -2);
  ExpectVertex(Item(d, 2), 2, 4, 0);
}

TEST(DxfReader, InsertsArePlacedByScaleRotationAndBasePoint) {
  const std::string blocks =
      "0 BLOCK 8 0 2 B1 70 0 10 1 20 2 30 0 0 LINE 8 0 10 1 20 2 11 3 21 2 0 ENDBLK 8 0 "
      "0 BLOCK 8 0 2 INNER 70 0 10 0 20 0 30 0 0 CIRCLE 8 0 10 1 20 0 40 1 0 ENDBLK 8 0 "
      "0 BLOCK 8 0 2 OUTER 70 0 10 0 20 0 30 0 0 INSERT 8 0 2 INNER 10 5 20 0 50 90 0 ENDBLK 8 0";
  const auto d =
      Read(DxfFile("0 INSERT 8 0 2 B1 10 10 20 10 41 0.5 42 0.5 50 30 "
                   "0 INSERT 8 0 2 OUTER 10 0 20 10 41 2 42 2 "
                   "0 INSERT 8 0 2 INNER 10 0 20 0 41 2 42 1 "
                   "0 INSERT 8 0 2 B1 10 0 20 0 70 2 44 10",
                   blocks));
  ASSERT_EQ(d->List()->Items().size(), 5u);
  const mem::MemGraphic& rotated = Item(d, 0);
  EXPECT_EQ(rotated.TypeText(), "INSERT");
  ASSERT_EQ(rotated.ChildItems().size(), 1u);
  // (1,2)-(3,2) less the base (1,2), halved, turned 30 degrees, moved to (10,10).
  ExpectVertex(*rotated.ChildItems()[0], 0, 10, 10);
  ExpectVertex(*rotated.ChildItems()[0], 1, 10 + std::cos(kPi / 6), 10.5);
  // INNER's circle at (1,0) turned 90 degrees to (5,1) in OUTER, then doubled and moved.
  const mem::MemGraphic& nested = *Item(d, 1).ChildItems().at(0);
  EXPECT_EQ(nested.TypeText(), "INSERT");
  const mem::ArcShape circle = *nested.ChildItems().at(0)->Shape();
  EXPECT_NEAR(circle.centre.x, 10, kEps);
  EXPECT_NEAR(circle.centre.y, 12, kEps);
  EXPECT_NEAR(circle.major.x, 2, kEps);
  // Scaled twice as wide as high, the circle becomes an ellipse.
  const mem::ArcShape wide = *Item(d, 2).ChildItems().at(0)->Shape();
  EXPECT_NEAR(wide.centre.x, 2, kEps);
  EXPECT_NEAR(std::fabs(wide.major.x), 2, kEps);
  EXPECT_NEAR(wide.ratio, 0.5, kEps);
  // Two columns ten apart: the second copy of the line starts at (10,0).
  ExpectVertex(*Item(d, 4).ChildItems().at(0), 0, 10, 0);
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

TEST(DxfReader, SplinesWithoutUsableKnotsFallBackToFitOrControlPoints) {
  LoadReport report;
  const auto d =
      Read(DxfFile("0 SPLINE 8 0 70 0 71 3 74 3 11 0 21 0 11 1 21 1 11 2 21 0 "
                   "0 SPLINE 8 0 70 0 71 2 72 2 40 0 40 1 10 0 20 0 10 1 20 1 10 2 20 0"),
           &report);
  ASSERT_EQ(d->List()->Items().size(), 2u);
  EXPECT_EQ(Item(d, 0).ChildItems().at(0)->VertexList().size(), 3u);
  ExpectVertex(*Item(d, 0).ChildItems().at(0), 1, 1, 1);
  ExpectVertex(*Item(d, 1).ChildItems().at(0), 1, 1, 1);
  ASSERT_EQ(report.warnings.size(), 1u);
  EXPECT_EQ(report.warnings[0],
            "line 27: SPLINE with inconsistent knots drawn along its control points");
}

TEST(DxfReader, HiddenLayersPaperSpaceAndUnknownEntitiesAreCountedAndPropertiesKept) {
  LoadReport report;
  const auto d = Read(
      Pairs("0 SECTION 2 HEADER 9 $TILEMODE 70 1 0 ENDSEC") +
      DxfFile("0 LINE 8 Frozen 10 0 20 0 11 1 21 1 0 LINE 8 off 10 0 20 0 11 1 21 1 "
              "0 LINE 8 Walls 39 5 10 0 20 0 11 1 21 1 0 CIRCLE 8 Walls 67 1 10 0 20 0 40 1 "
              "0 MTEXT 8 Walls 10 0 20 0 1 x 0 MTEXT 8 Walls 1 y 0 TEXT 8 0 1 z",
              "", "0 LAYER 2 Frozen 70 1 62 7 0 LAYER 2 Off 70 0 62 -5 0 LAYER 2 Walls 70 0 62 1"),
      &report);
  ASSERT_EQ(d->List()->Items().size(), 1u);
  EXPECT_EQ(std::get<double>(*Item(d, 0).Props().Get("Thickness")), 5);
  EXPECT_EQ(std::get<double>(*d->Props().Get("TileMode")), 1);
  EXPECT_EQ(report.hiddenEntities, 2);
  EXPECT_EQ(report.paperSpaceEntities, 1);
  EXPECT_EQ(report.ignored.at("MTEXT"), 2);
  const auto lines = report.Lines();
  EXPECT_EQ(lines.at(0), "2 MTEXT entities ignored");
  EXPECT_EQ(lines.at(1), "1 TEXT entity ignored");
  EXPECT_EQ(lines.at(2), "2 entities on layers that are off or frozen not loaded");
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
