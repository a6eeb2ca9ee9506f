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

TEST(DxfReader, LinesCirclesArcsAndThickness) {
  const auto d = Read(Pairs("0 SECTION 2 HEADER 9 $TILEMODE 70 1 0 ENDSEC") +
                      DxfFile("0 LINE 8 0 39 5 10 0 20 0 30 0 11 10 21 0 31 0 "
                              "0 CIRCLE 8 0 10 5 20 5 40 2 "
                              "0 ARC 8 0 10 0 20 0 40 1 50 0 51 90"));
  ASSERT_EQ(d->List()->Items().size(), 3u);
  EXPECT_EQ(Item(d, 0).TypeText(), "GRAPHIC");
  ExpectVertex(Item(d, 0), 1, 10, 0);
  EXPECT_EQ(std::get<double>(*Item(d, 0).Props().Get("Thickness")), 5);
  EXPECT_EQ(std::get<double>(*d->Props().Get("TileMode")), 1);
  const auto circle = Item(d, 1).Shape()->ArcData();
  EXPECT_EQ(Item(d, 1).TypeText(), "CIRCLE");
  EXPECT_NEAR(circle[0], 5, kEps);
  EXPECT_NEAR(circle[3], 7, kEps);
  EXPECT_EQ(circle[6], 1);
  const auto arc = Item(d, 2).Shape()->ArcData();
  EXPECT_EQ(Item(d, 2).TypeText(), "ARC");
  EXPECT_NEAR(arc[7], 0, kEps);
  EXPECT_NEAR(arc[8], kPi / 2, kEps);
}

TEST(DxfReader, BulgeOfOneIsAHalfCircleAndClosedPolylinesClose) {
  const auto d =
      Read(DxfFile("0 LWPOLYLINE 8 0 90 2 70 0 10 0 20 0 42 1 10 2 20 0 "
                   "0 POLYLINE 8 0 66 1 10 0 20 0 30 0 70 1 "
                   "0 VERTEX 8 0 10 0 20 0 0 VERTEX 8 0 10 4 20 0 0 VERTEX 8 0 10 4 20 3 "
                   "0 SEQEND 8 0"));
  const mem::MemGraphic& half = Item(d, 0);
  EXPECT_EQ(half.TypeText(), "PWW50Polyline");
  // start, centre, sense point (the arc's middle, below the chord), end
  ASSERT_EQ(half.VertexList().size(), 4u);
  ExpectVertex(half, 1, 1, 0);
  ExpectVertex(half, 2, 1, -1);
  EXPECT_TRUE(half.VertexList()[1].arcPoint);
  ExpectVertex(half, 3, 2, 0);
  const mem::MemGraphic& triangle = Item(d, 1);
  EXPECT_TRUE(triangle.IsClosed());
  ASSERT_EQ(triangle.VertexList().size(), 4u);
  ExpectVertex(triangle, 2, 4, 3);
  ExpectVertex(triangle, 3, 0, 0);
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

TEST(DxfReader, TiltedExtrusionsAreSeenFromAbove) {
  const auto d =
      Read(DxfFile("0 CIRCLE 8 0 10 0 20 0 30 0 40 2 210 0 220 0.6 230 0.8 "
                   "0 CIRCLE 8 0 10 0 20 0 30 0 40 2 210 1 220 0 230 0 "
                   "0 LWPOLYLINE 8 0 90 2 10 0 20 0 42 1 10 2 20 0 210 0 220 0.6 230 0.8"));
  // The plane is tilted by acos(0.8): the circle's extent across the tilt shrinks to 0.8.
  EXPECT_EQ(Item(d, 0).TypeText(), "CIRCLE");
  EXPECT_NEAR(mem::Length(Item(d, 0).Shape()->major), 2, kEps);
  EXPECT_NEAR(Item(d, 0).Shape()->ratio, 0.8, kEps);
  // A circle standing upright is seen edge-on: a chain along the y axis.
  const mem::MemGraphic& edgeOn = Item(d, 1);
  EXPECT_EQ(edgeOn.TypeText(), "GRAPHIC");
  double top = 0;
  for (const mem::VertexData& v : edgeOn.VertexList()) {
    EXPECT_NEAR(v.x, 0, kEps);
    top = std::max(top, v.y);
  }
  EXPECT_NEAR(top, 2, kEps);
  // A bulge on a tilted plane is no circular arc any more: sampled, no arc run.
  const auto& sampled = Item(d, 2).VertexList();
  EXPECT_GT(sampled.size(), 4u);
  for (const mem::VertexData& v : sampled) EXPECT_FALSE(v.arcPoint);
  EXPECT_NEAR(sampled.back().x, -2, kEps);
}

TEST(DxfReader, EllipticalArcEndsFollowTheMajorAxis) {
  const auto d = Read(
      DxfFile("0 ELLIPSE 8 0 10 1 20 1 30 0 11 0 21 4 31 0 40 0.5 41 0 42 1.5707963267948966 "
              "0 ELLIPSE 8 0 10 0 20 0 30 0 11 3 21 0 31 0 40 0.25 41 0 42 6.283185307179586"));
  const mem::MemGraphic& arc = Item(d, 0);
  EXPECT_EQ(arc.TypeText(), "ARC");
  EXPECT_NEAR(arc.Shape()->ratio, 0.5, kEps);
  ExpectVertex(arc, 1, 1, 5);   // t = 0: the end of the major axis
  ExpectVertex(arc, 2, -1, 1);  // t = pi/2: half the axis length, turned left
  EXPECT_EQ(Item(d, 1).TypeText(), "CIRCLE");
  EXPECT_TRUE(Item(d, 1).Shape()->full);
  EXPECT_NEAR(Item(d, 1).Shape()->ratio, 0.25, kEps);
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

TEST(DxfReader, SplinesAreSampledFromControlPointsAndWeights) {
  const auto d =
      Read(DxfFile("0 SPLINE 8 0 70 8 71 2 72 6 73 3 74 0 40 0 40 0 40 0 40 1 40 1 40 1 "
                   "10 0 20 0 30 0 10 1 20 1 30 0 10 2 20 0 30 0 "
                   "0 SPLINE 8 0 70 12 71 2 72 6 73 3 40 0 40 0 40 0 40 1 40 1 40 1 41 1 41 "
                   "0.7071067811865476 41 1 "
                   "10 1 20 0 30 0 10 1 20 1 30 0 10 0 20 1 30 0"));
  const mem::MemGraphic& bezier = Item(d, 0);
  EXPECT_EQ(bezier.TypeText(), "PWW30CURVE");
  const mem::MemGraphic& chain = *bezier.ChildItems().at(0);
  ASSERT_EQ(chain.VertexList().size(), 9u);  // 8 per span, and the end
  ExpectVertex(chain, 4, 1, 0.5);            // u = 1/2: (P0 + 2 P1 + P2) / 4
  ExpectVertex(chain, 8, 2, 0);
  // A rational quarter circle: every sample lies on the unit circle.
  for (const mem::VertexData& v : Item(d, 1).ChildItems().at(0)->VertexList()) {
    EXPECT_NEAR(std::hypot(v.x, v.y), 1, kEps);
  }
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

TEST(DxfReader, HiddenLayersPaperSpaceAndUnknownEntitiesAreCounted) {
  LoadReport report;
  const auto d = Read(
      DxfFile("0 LINE 8 Frozen 10 0 20 0 11 1 21 1 0 LINE 8 off 10 0 20 0 11 1 21 1 "
              "0 LINE 8 Walls 10 0 20 0 11 1 21 1 0 CIRCLE 8 Walls 67 1 10 0 20 0 40 1 "
              "0 MTEXT 8 Walls 10 0 20 0 1 x 0 MTEXT 8 Walls 1 y 0 TEXT 8 0 1 z",
              "", "0 LAYER 2 Frozen 70 1 62 7 0 LAYER 2 Off 70 0 62 -5 0 LAYER 2 Walls 70 0 62 1"),
      &report);
  EXPECT_EQ(d->List()->Items().size(), 1u);
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
  // TEXT of height 2 at (1,1) in a block inserted at (100,0), doubled; MTEXT with a font and a paragraph break.
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

TEST(DxfReader, EntitiesThatNeverBoundAnAreaGetExcludedKinds) {
  const auto loaded = ReadDxfText(
      DxfFile("0 HATCH 8 0 10 0 20 0 30 0 2 SOLID 70 1 71 0 91 1 92 2 72 0 73 1 93 3 "
              "10 0 20 0 10 4 20 0 10 4 20 3 97 0 75 0 76 1 98 0 "
              "0 DIMENSION 8 0 2 *D1 10 0 20 2 70 1 13 0 23 0 14 4 24 0 "
              "0 POINT 8 0 10 3 20 4 0 SOLID 8 0 10 0 20 0 11 1 21 0 12 0 22 1 13 1 23 1 "
              "0 3DSOLID 8 0 1 acis "
              "0 HATCH 8 0 10 0 20 0 30 0 2 ANSI31 70 0 91 1 92 1 93 2 72 1 10 0 20 0 11 2 21 0 "
              "72 2 10 1 20 0 40 1 50 0 51 180 73 1 97 0 75 0"),
      "drawing.dxf");
  const auto& d = loaded.drawing;
  const std::vector<std::string> types{"GRAPHIC",   "PWW25DimLin",    "PWW30POINT",
                                       "PWW40CUBE", "PWW60ACISSOLID", "GRAPHIC"};
  ASSERT_EQ(d->List()->Items().size(), types.size());
  for (std::size_t i = 0; i < types.size(); ++i) EXPECT_EQ(Item(d, i).TypeText(), types[i]);
  EXPECT_EQ(Item(d, 0).Info(), "Hatch");
  EXPECT_EQ(Item(d, 0).Props().Text("BrushStyle"), "Solid");
  ExpectVertex(Item(d, 0), 2, 4, 3);
  // The dimension line lies 2 to the left of (0,0) -> (4,0).
  ExpectVertex(*Item(d, 1).ChildItems().at(2), 0, 0, 2);
  // SOLID corners come in the order 1, 2, 4, 3.
  ExpectVertex(Item(d, 3), 2, 1, 1);
  // An edge loop: the line, then the half circle over it back to the start,
  // 32 segments, its top (1,1) halfway, the joint at (2,0) not repeated.
  const mem::MemGraphic& edges = Item(d, 5);
  EXPECT_EQ(edges.Props().Text("BrushStyle"), "ANSI31");
  ASSERT_EQ(edges.VertexList().size(), 34u);
  ExpectVertex(edges, 1, 2, 0);
  ExpectVertex(edges, 17, 1, 1);
  ExpectVertex(edges, 33, 0, 0);
  EXPECT_EQ(loaded.summary.graphicsByType.at("PWW40CUBE"), 1);
  EXPECT_NEAR(loaded.summary.extents->maxX, 4, kEps);
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
  EXPECT_THROW(
      {
        try {
          ReadDxfFile("/nonexistent/plan.dxf");
        } catch (const ReadError& e) {
          EXPECT_STREQ(e.what(), "/nonexistent/plan.dxf: cannot open: No such file or directory");
          throw;
        }
      },
      ReadError);
}

}  // namespace
}  // namespace pphatch::formats
