// Binary DXF files: a clear error naming the file and the byte offset for
// every cut-off or corrupted file. (That they load as the text files ezdxf
// saved them from, see data/make_binary_samples.py, the load digests show.)
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <regex>
#include <string>
#include <utility>

#include "cli/tool_run.h"
#include "formats/dxf_reader.h"
#include "formats/dxf_text.h"

namespace pphatch::formats {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = PPHATCH_SOURCE_DIR;
const std::string kSentinel("AutoCAD Binary DXF\r\n\x1a\0", 22);

// One group of a binary file with two-byte codes; the value as the code lays it down.
std::string Group(int code, const std::string& value) {
  std::string out{static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF)};
  return out + value;
}
std::string Text(int code, const std::string& text) { return Group(code, text + '\0'); }
std::string Real(int code, double value) {
  char bytes[8];
  std::memcpy(bytes, &value, 8);  // the test machines are little-endian, as the format is
  return Group(code, std::string(bytes, 8));
}

// A binary file holding one LINE from (0, 0) to (x, 1).
std::string LineFile(double x) {
  return kSentinel + Text(0, "SECTION") + Text(2, "ENTITIES") + Text(0, "LINE") + Text(8, "0") +
         Real(10, 0) + Real(20, 0) + Real(11, x) + Real(21, 1) + Text(0, "ENDSEC") + Text(0, "EOF");
}

// The reader's error for the content as the file bin.dxf, "" when it loads.
std::string ErrorOf(const std::string& content) {
  const std::string error = testing::DxfErrorOf(content, "bin.dxf");
  return error == "no error" ? "" : error;
}

TEST(BinaryDxf, MalformedGroupsNameTheByteOffset) {
  const std::string good = LineFile(5);
  const LoadedDrawing loaded = ReadDxfText(good, "bin.dxf");
  ASSERT_EQ(loaded.drawing->List()->Items().size(), 1u);
  EXPECT_EQ(loaded.drawing->List()->Items()[0]->VertexList()[1].x, 5);

  // Groups at bytes 22 (SECTION), 32 (ENTITIES), 43 (LINE), 50 (layer), 54,
  // 64, 74 and 84 (coordinates), 94 (ENDSEC) and 103 (EOF); 109 bytes in all.
  ASSERT_EQ(good.size(), 109u);
  EXPECT_EQ(ErrorOf(LineFile(std::numeric_limits<double>::quiet_NaN())),
            "bin.dxf: byte 74: group code 11 needs a finite number");
  EXPECT_EQ(ErrorOf(good.substr(0, 58)),
            "bin.dxf: byte 56: the file ends inside the value of group code 10");
  EXPECT_EQ(ErrorOf(good.substr(0, 107)),
            "bin.dxf: byte 103: the file ends inside the value of group code 0");
  EXPECT_EQ(ErrorOf(good.substr(0, 103)),
            "bin.dxf: byte 103: the file ends without the EOF marker: it is truncated");
  EXPECT_EQ(ErrorOf(kSentinel + Text(0, "SECTION") + Group(2000, "x")),
            "bin.dxf: byte 32: expected a group code, found 2000");
  EXPECT_EQ(ErrorOf(kSentinel + Text(0, "SECTION") + Text(2, "ENTITIES") + Text(0, "EOF")),
            "bin.dxf: byte 43: section ENTITIES (byte 22) ends without ENDSEC");
}

TEST(BinaryDxf, EveryCutOrCorruptedFileEndsCleanly) {
  // Cut after a byte, or a byte flipped (every byte of the file with
  // one-byte codes, every 7th of the one with two-byte codes): a drawing or
  // a ReadError naming the file and the byte, never anything else.
  const std::regex located("bin\\.dxf: byte [0-9]+: .*");
  for (const auto& [name, step] : {std::pair{"floor_plan_bin.dxf", 1}, {"sampler_2018_bin.dxf", 7}}) {
    SCOPED_TRACE(name);
    const std::string whole = cli_test::FileText(kSource / "tests/formats/data" / name);
    for (std::size_t size = kSentinel.size(); size < whole.size(); size += step) {
      const std::string error = ErrorOf(whole.substr(0, size));
      ASSERT_TRUE(std::regex_match(error, located)) << "cut at " << size << ": " << error;
    }
    int refused = 0;
    for (std::size_t at = kSentinel.size(); at < whole.size(); at += step) {
      std::string corrupted = whole;
      corrupted[at] = static_cast<char>(~corrupted[at]);
      const std::string error = ErrorOf(corrupted);
      ASSERT_TRUE(error.empty() || std::regex_match(error, located)) << "byte " << at << ": " << error;
      refused += !error.empty();
    }
    EXPECT_GT(refused, 0);
  }
}

}  // namespace
}  // namespace pphatch::formats
