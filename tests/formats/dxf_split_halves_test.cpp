// Large DXF text is split into pairs by two threads, a half each: the pairs
// and the errors must be those of the one-pass split, wherever the halves
// meet and wherever a fault lies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <regex>
#include <string>

#include "formats/dxf_pairs.h"
#include "formats/errors.h"

namespace pphatch::formats {
namespace {

constexpr std::size_t kOnePass = std::numeric_limits<std::size_t>::max();

// A text of `lines` LINE entities, with the given line end, ending in EOF.
std::string Drawing(int lines, const std::string& end = "\n") {
  std::string text = "0\nSECTION\n2\nENTITIES\n";
  for (int i = 0; i < lines; ++i) {
    const std::string x = std::to_string(i) + ".25";
    text += "  0\nLINE\n  8\nwalls\n 10\n" + x + "\n 20\n" + std::to_string(i % 7) + "\n 11\n" + x +
            "\n 21\n1e3\n 70\n" + std::to_string(i % 3) + "\n";
  }
  text += "0\nENDSEC\n0\nEOF\n";
  return end == "\n" ? text : std::regex_replace(text, std::regex("\n"), end);
}

// Every pair as text ("line 7: 10 = 0.25 (0.25, 0), next section mark 12"),
// or the error message.
std::string Split(const std::string& text, std::size_t halvesFrom) {
  try {
    const DxfPairs pairs = SplitDxfPairs(text, "plan.dxf", halvesFrom);
    std::string out;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      const DxfPair p = pairs[i];
      out += "line " + std::to_string(p.place) + ": " + std::to_string(p.code) + " = " +
             std::string(p.value) + " (" + std::to_string(p.real) + ", " +
             std::to_string(p.integer) + "), next section mark " +
             std::to_string(pairs.NextSectionMark(i)) + "\n";
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

TEST(DxfSplitHalves, KeepValuesTooLongForAPairsOwnLengthField) {
  // Layer names of 20,000 characters in entity 0 and entity 50, one in each half.
  const std::string name(20000, 'w');
  const std::string text = WithLine(WithLine(Drawing(60), 4 + 3, name), 4 + 14 * 50 + 3, name + "x");
  const std::string onePass = Split(text, kOnePass);
  EXPECT_NE(onePass.find("line 7: 8 = " + name + " ("), std::string::npos);
  EXPECT_NE(onePass.find("line 707: 8 = " + name + "x ("), std::string::npos);
  EXPECT_EQ(Split(text, 0), onePass);
}

TEST(DxfSplitHalves, NameTheFaultOnePassNames) {
  const std::string text = Drawing(200);
  const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  const std::string tail = WithLine(text, lines - 10, "1.5x");
  std::vector<std::pair<std::string, std::string>> cases = {
      {"a bad real in the first half", WithLine(text, 11, "x1")},
      {"a bad real in the second half", tail},
      {"a bad group code in the second half", WithLine(text, lines - 9, "ten")},
      {"bad reals in both halves", WithLine(tail, 11, "x1")},
      {"a control byte in the second half, a bad real in the first",
       WithLine(WithLine(text, 11, "x1"), lines - 20, std::string("wa\x01lls"))},
      {"no EOF marker", text.substr(0, text.rfind("0\nEOF"))},
      {"a code without its value", text.substr(0, text.rfind("EOF"))},
  };
  // A bad number on each kind of number line of entities all through the text
  // (an entity takes 14 lines from line 4; its numbers are on lines 5, 7, ..., 13 of it).
  for (std::size_t k = 0; k < 200; k += 23) {
    const std::size_t line = 4 + 14 * k + 5 + 2 * (k % 5);
    cases.emplace_back("line " + std::to_string(line + 1) + ":", WithLine(text, line, "not a number"));
  }
  for (const auto& [fault, bad] : cases) {
    SCOPED_TRACE(fault);
    const std::string onePass = Split(bad, kOnePass);
    ASSERT_EQ(onePass.rfind("plan.dxf: line ", 0), 0u) << onePass;
    if (fault.rfind("line ", 0) == 0) {
      EXPECT_NE(onePass.find(fault), std::string::npos) << onePass;
    }
    EXPECT_EQ(Split(bad, 0), onePass);
  }
}

}  // namespace
}  // namespace pphatch::formats
