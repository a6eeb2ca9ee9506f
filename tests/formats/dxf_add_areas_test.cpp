#include "formats/dxf_add_areas.h"

#include <gtest/gtest.h>

#include <regex>

#include "formats/dxf_source_scan.h"
#include "formats/dxf_text.h"

namespace pphatch::formats {
namespace {

using testing::Pairs;

// A small R2000 file: header with a handle seed below the highest handle in
// use (as careless writers leave it), a layer table holding "pphatch_hatch"
// in lower case, the model space record, one LINE, an OBJECTS section.
std::string ModernSource() {
  return Pairs("0 SECTION 2 HEADER 9 $ACADVER 1 AC1015 9 $HANDSEED 5 20 9 $INSUNITS 70 4 0 ENDSEC") +
         Pairs("0 SECTION 2 TABLES 0 TABLE 2 LAYER 5 2 70 2 0 LAYER 5 10 330 2 2 0 70 0 "
               "0 LAYER 5 11 330 2 2 pphatch_hatch 70 0 0 ENDTAB "
               "0 TABLE 2 BLOCK_RECORD 5 1 0 BLOCK_RECORD 5 1F 2 *Model_Space 0 ENDTAB 0 ENDSEC") +
         Pairs("0 SECTION 2 ENTITIES 0 LINE 5 3A 330 1F 8 0 10 0 20 0 11 1 21 1 0 ENDSEC") +
         Pairs("0 SECTION 2 OBJECTS 0 DICTIONARY 5 C 0 ENDSEC 0 EOF");
}

// A square with a round island, as the pieces a pick gives.
PickArea SquareWithColumn() {
  PickArea area;
  area.contours = {{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, {{6, 5}, {5, 6}, {4, 5}}};
  const ContourPiece circle{.from = {6, 5}, .to = {6, 5}, .arc = true, .centre = {5, 5},
                            .u = {1, 0}, .v = {0, 1}, .t1 = 2 * 3.141592653589793};
  area.curves = {StraightContour(area.contours[0]), {circle}};
  area.seed = {2, 2};
  return area;
}

TEST(DxfAddAreas, KeepsTheSourceAndAddsHatchLayersAndHandlesAboveEveryOther) {
  std::string source = ModernSource();
  source = std::regex_replace(source, std::regex("\n"), "\r\n");
  std::vector<std::string> notes;
  const std::string out = AddAreasToDxf(source, "s.dxf", {SquareWithColumn()}, {}, notes);
  EXPECT_TRUE(notes.empty());
  // Line endings follow the source.
  EXPECT_EQ(std::regex_search(out, std::regex("[^\r]\n")), false);
  const DxfSourceMap map = ScanDxfSource(out, "out.dxf");
  // The highest source handle was 3A: new ones start above it, the seed above them.
  EXPECT_NE(out.find("\r\nHATCH\r\n  5\r\n3B\r\n330\r\n1F\r\n"), std::string::npos);
  const std::string seed = out.substr(map.handseedValue, map.handseedLength);
  EXPECT_EQ(std::stoul(seed, nullptr, 16), map.firstFreeHandle);
  // The boundary layer joins the table; the hatch layer is there already.
  EXPECT_TRUE(map.layers.count(kBoundaryLayer));
  EXPECT_EQ(out.find("\r\nPPHATCH_HATCH\r\n 70\r\n"), std::string::npos);
  // The hatch after the source's entities, before its later sections. (Its
  // loops, their flags and its seed point ezdxf reads back: dxf_readback.py.)
  EXPECT_LT(out.find("\r\nLINE\r\n"), out.find("\r\nHATCH\r\n"));
  EXPECT_LT(out.find("\r\nHATCH\r\n"), out.find("\r\nOBJECTS\r\n"));
  // Taking the additions out gives the source back, byte for byte, apart from the seed.
  std::string stripped = out;
  stripped.replace(map.handseedValue, map.handseedLength, "20");
  const std::size_t from = stripped.find("  0\r\nLAYER\r\n  5\r\n3");
  const std::size_t to = stripped.find("0\r\nENDTAB", from);
  stripped.erase(from, to - from);
  const std::size_t hatch = stripped.find("  0\r\nHATCH");
  stripped.erase(hatch, stripped.find("0\r\nENDSEC", hatch) - hatch);
  EXPECT_EQ(stripped, source);
}

TEST(DxfAddAreas, AFileOfBlocksOnlyAfterAByteOrderMarkGetsAnEntitiesSection) {
  const std::string source = "\xEF\xBB\xBF" + Pairs("0 SECTION 2 HEADER 9 $ACADVER 1 AC1015 0 ENDSEC") +
                             Pairs("0 SECTION 2 BLOCKS 0 BLOCK 5 A 2 B1 0 ENDBLK 5 B 0 ENDSEC 0 EOF");
  std::vector<std::string> notes;
  const std::string out = AddAreasToDxf(source, "s.dxf", {SquareWithColumn()}, {}, notes);
  const DxfSourceMap map = ScanDxfSource(out, "out.dxf");
  ASSERT_NE(map.entitiesStart, kNowhere);
  EXPECT_LT(map.blocksEnd, map.entitiesStart);
  EXPECT_LT(map.entitiesEnd, map.eof);
  EXPECT_NE(out.find("HATCH", map.entitiesStart), std::string::npos);
  EXPECT_EQ(out.rfind(source.substr(0, map.entitiesStart), 0), 0u);
}

}  // namespace
}  // namespace pphatch::formats
