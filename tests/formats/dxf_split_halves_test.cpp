// Large DXF text is split into pairs by two threads, a half each: the pairs
// and the errors must be those of the one-pass split, wherever the halves
// meet and wherever a fault lies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <string>

#include "formats/dxf_pairs.h"
#include "formats/errors.h"

namespace pphatch::formats {
namespace {

constexpr std::size_t kOnePass = std::numeric_limits<std::size_t>::max();

// A text of `lines` LINE entities, with the given line end, ending in EOF.
std::string Drawing(int lines, const std::string& end = "\n") {
  std::string text = "0" + end + "SECTION" + end + "2" + end + "ENTITIES" + end;
  for (int i = 0; i < lines; ++i) {
    const std::string x = std::to_string(i) + ".25", y = std::to_string(i % 7);
    text += "  0" + end + "LINE" + end + "  8" + end + "walls" + end + " 10" + end + x + end +
            " 20" + end + y + end + " 11" + end + x + end + " 21" + end + "1e3" + end + " 70" +
            end + std::to_string(i % 3) + end;
  }
  return text + "0" + end + "ENDSEC" + end + "0" + end + "EOF" + end;
}

// Every pair as text ("line 7: 10 = 0.25 (0.25, 0)"), or the error message.
std::string Split(const std::string& text, std::size_t halvesFrom) {
  try {
    const DxfPairs pairs = SplitDxfPairs(text, "plan.dxf", halvesFrom);
    std::string out;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      const DxfPair p = pairs[i];
      out += "line " + std::to_string(p.place) + ": " + std::to_string(p.code) + " = " +
             std::string(p.value) + " (" + std::to_string(p.real) + ", " +
             std::to_string(p.integer) + ")\n";
    }
    return out;
  } catch (const ReadError& e) {
    return e.what();
  }
}

// The text with the line `line` (from 0) replaced by `with`.
std::string WithLine(const std::string& text, std::size_t line, const std::string& with) {
  std::size_t begin = 0;
  for (std::size_t i = 0; i < line; ++i) begin = text.find('\n', begin) + 1;
  return text.substr(0, begin) + with + text.substr(text.find('\n', begin));
}

TEST(DxfSplitHalves, GiveThePairsOfOnePassWhereverTheHalvesMeet) {
  // Entity counts move the middle over code and value lines of every kind.
  for (int lines : {1, 2, 3, 50, 51, 52, 53, 400}) {
    for (const std::string end : {"\n", "\r\n"}) {
      SCOPED_TRACE(std::to_string(lines) + " entities, line end of " + std::to_string(end.size()));
      const std::string text = Drawing(lines, end);
      const std::string onePass = Split(text, kOnePass);
      ASSERT_NE(onePass.find("line 1: 0 = SECTION"), std::string::npos) << onePass;
      EXPECT_EQ(Split(text, 0), onePass);
    }
  }
}

TEST(DxfSplitHalves, NameTheFaultOnePassNames) {
  const std::string text = Drawing(200);
  const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  const std::string tail = WithLine(text, lines - 10, "1.5x");
  const struct {
    const char* fault;
    std::string text;
  } cases[] = {
      {"a bad real in the first half", WithLine(text, 11, "x1")},
      {"a bad real in the second half", tail},
      {"a bad group code in the second half", WithLine(text, lines - 9, "ten")},
      {"bad reals in both halves", WithLine(tail, 11, "x1")},
      {"a control byte in the second half, a bad real in the first",
       WithLine(WithLine(text, 11, "x1"), lines - 20, std::string("wa\x01lls"))},
      {"no EOF marker", text.substr(0, text.rfind("0\nEOF"))},
      {"a code without its value", text.substr(0, text.rfind("EOF"))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    const std::string onePass = Split(c.text, kOnePass);
    ASSERT_EQ(onePass.rfind("plan.dxf: line ", 0), 0u) << onePass;
    EXPECT_EQ(Split(c.text, 0), onePass);
  }
  // Each fault is found at its own line, also past the middle.
  for (std::size_t line = 3; line < lines; line += 97) {
    if (line % 2 == 0) continue;  // value lines only; a code line may take any integer
    const std::string bad = WithLine(text, line, "not a number");
    if (Split(bad, kOnePass).find("needs") == std::string::npos) continue;  // a text value
    SCOPED_TRACE("a bad number on line " + std::to_string(line + 1));
    EXPECT_EQ(Split(bad, 0), Split(bad, kOnePass));
    EXPECT_NE(Split(bad, 0).find("line " + std::to_string(line + 1) + ":"), std::string::npos);
  }
}

}  // namespace
}  // namespace pphatch::formats
