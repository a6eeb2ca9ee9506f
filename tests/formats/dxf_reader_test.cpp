#include "formats/dxf_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "dxf_text.h"
#include "formats/dxf_pairs.h"

namespace pphatch::formats {
namespace {

using testing::DxfFile;
using testing::Pairs;

std::string ErrorOf(const std::string& text) { return testing::DxfErrorOf(text); }

TEST(DxfReader, WindowsLineEndsByteOrderMarkAndCommentsAreAccepted) {
  std::string text = "\xEF\xBB\xBF" + Pairs("999 written-by-hand") +
                     DxfFile("0 LWPOLYLINE 8 0 90 3 70 1.0 10 0 20 0 10 4 20 0 10 4 20 3");
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
    text.insert(at, "\r");
  }
  const auto d = ReadDxfText(text, "drawing.dxf").drawing;
  ASSERT_EQ(d->List()->Items().size(), 1u);
  EXPECT_TRUE(d->List()->Items()[0]->IsClosed());
  EXPECT_EQ(d->List()->Items()[0]->VertexList().at(3).y, 0);
}

TEST(DxfReader, RealsReadAsTheCLibraryReadsThem) {
  // Short decimals take a quick reading; 16 digits, exponents and '+' signs the full one.
  for (const char* text : {"0.1", "-0.0", "47.875", "123456789.012345", "0.30000000000000004",
                           "9007199254740993", "1e-3", "+2.5", "7", "-.5"}) {
    const DxfPairs pairs = SplitDxfPairs(Pairs(std::string("10 ") + text + " 0 EOF"), "n.dxf");
    const double real = pairs[0].real, expected = std::strtod(text, nullptr);
    EXPECT_EQ(std::memcmp(&real, &expected, sizeof real), 0) << text;
  }
}

TEST(DxfReader, ControlBytesAreFoundAnywhereInALongLine) {
  const std::string longName(40, 'w');
  // A tab is text; the control byte two lines on is not.
  EXPECT_EQ(ErrorOf(Pairs("0 SECTION") + "2\n" + longName + "\t" + longName + "\n0\n" + longName +
                    "\x01\n"),
            "drawing.dxf: line 6: binary data: this is not a DXF text file");
  const auto d =
      ReadDxfText(DxfFile("0 LINE 8 " + longName + " 10 0 20 0 11 1 21 1"), "d.dxf").drawing;
  EXPECT_EQ(d->List()->Items().size(), 1u);
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
