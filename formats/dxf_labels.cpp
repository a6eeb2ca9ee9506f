#include "formats/dxf_labels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "formats/dxf_line_pairs.h"
#include "formats/errors.h"

namespace pphatch::formats {

using mem::Vec2;

namespace {

// Letters are taken as this fraction of the text height wide: without the
// font, the box of a text is an estimate.
constexpr double kLetterWidth = 0.6;

// The fields of one TEXT or MTEXT as read.
struct TextEntity {
  bool mtext = false;
  bool paperSpace = false;
  std::string layer = "0", text;
  Vec2 insertion, alignment;
  bool aligned = false;
  double height = 1, rotation = 0, boxWidth = 0;
  int hJust = 0, vJust = 0, attachment = 1;
};

// MTEXT text without its formatting: paragraphs (\P) become spaces, codes
// such as \fArial|b0; or \H2.5; and grouping braces are dropped.
std::string PlainMText(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '{' || c == '}') continue;
    if (c != '\\' || i + 1 >= s.size()) {
      out += c;
      continue;
    }
    const char code = s[++i];
    if (code == 'P' || code == 'X') {
      out += ' ';
    } else if (code == '\\' || code == '{' || code == '}') {
      out += code;
    } else if (code == '~') {
      out += ' ';
    } else if (std::string("fFHWQTACpa").find(code) != std::string::npos) {
      const std::size_t end = s.find(';', i);
      i = end == std::string::npos ? s.size() : end;
    }
    // Other single-letter switches (\L, \l, \O, \o, \K, \k) are dropped.
  }
  return out;
}

// Number of lines and the letters of the longest line: MTEXT paragraphs
// (\P) are lines of their own.
void Measure(const TextEntity& t, int& lines, std::size_t& letters) {
  if (!t.mtext) {
    lines = 1;
    letters = t.text.size();
    return;
  }
  lines = 0;
  letters = 0;
  std::size_t from = 0;
  while (true) {
    const std::size_t end = t.text.find("\\P", from);
    letters = std::max(letters, PlainMText(t.text.substr(from, end - from)).size());
    ++lines;
    if (end == std::string::npos) break;
    from = end + 2;
  }
}

// The label of a text: its insertion point and the middle of its box.
DxfLabel Label(const TextEntity& t) {
  DxfLabel label;
  label.text = t.mtext ? PlainMText(t.text) : t.text;
  label.layer = t.layer;
  int lines = 1;
  std::size_t letters = 0;
  Measure(t, lines, letters);
  double width = t.boxWidth > 0 ? t.boxWidth : kLetterWidth * t.height * static_cast<double>(letters);
  double rotation = t.rotation * std::numbers::pi / 180;
  const double height = t.height * lines;
  // Offset of the insertion point from the box's lower left corner, in the
  // text's own frame.
  Vec2 offset;
  Vec2 reference = t.insertion;
  if (t.mtext) {
    const int column = (t.attachment - 1) % 3, row = (t.attachment - 1) / 3;
    offset = {width * column / 2.0, height * (2 - row) / 2.0};
  } else if (t.aligned && (t.hJust == 3 || t.hJust == 5)) {
    // Aligned and fitted texts run from the insertion point to the alignment point.
    width = Length(t.alignment - t.insertion);
    rotation = std::atan2(t.alignment.y - t.insertion.y, t.alignment.x - t.insertion.x);
  } else if (t.aligned && (t.hJust != 0 || t.vJust != 0)) {
    reference = t.alignment;
    const double h = t.hJust == 1 || t.hJust == 4 ? 0.5 : t.hJust == 2 ? 1 : 0;
    const double v = t.vJust == 2 || t.hJust == 4 ? 0.5 : t.vJust == 3 ? 1 : 0;
    offset = {width * h, height * v};
  }
  label.insertion = reference;
  label.middle = reference + mem::Rotated(Vec2{width / 2 - offset.x, height / 2 - offset.y}, rotation);
  return label;
}

double Number(const std::string& value) { return std::strtod(value.c_str(), nullptr); }

// Takes one pair of a text entity.
void Take(TextEntity& t, int code, const std::string& value) {
  switch (code) {
    case 1: t.text = t.mtext ? t.text + value : value; break;
    case 3: t.text += value; break;
    case 8: t.layer = value; break;
    case 10: t.insertion.x = Number(value); break;
    case 20: t.insertion.y = Number(value); break;
    case 11: t.alignment.x = Number(value), t.aligned = true; break;
    case 21: t.alignment.y = Number(value); break;
    case 40: t.height = Number(value); break;
    case 41: if (t.mtext) t.boxWidth = Number(value); break;
    case 50: t.rotation = Number(value); break;
    case 67: t.paperSpace = Number(value) != 0; break;
    case 71: if (t.mtext) t.attachment = std::clamp(std::atoi(value.c_str()), 1, 9); break;
    case 72: t.hJust = std::atoi(value.c_str()); break;
    case 73: t.vJust = std::atoi(value.c_str()); break;
    default: break;
  }
}

}  // namespace

std::vector<DxfLabel> ReadDxfLabels(const std::string& text, const std::string& name) {
  std::vector<DxfLabel> labels;
  PairReader reader(text);
  std::string section;
  bool sectionName = false, inText = false;
  TextEntity current;
  auto finish = [&] {
    if (inText && !current.paperSpace) labels.push_back(Label(current));
    inText = false;
  };
  while (reader.Next()) {
    if (!reader.Valid()) {
      throw ReadError(Located(name, static_cast<int>(reader.LineNumber() - 1), "not a group code"));
    }
    const int code = reader.Code();
    const std::string& value = reader.Value();
    if (code == 0) {
      finish();
      sectionName = value == "SECTION";
      if (value == "ENDSEC") section.clear();
      if (value == "EOF") break;
      if (section == "ENTITIES" && (value == "TEXT" || value == "MTEXT")) {
        current = TextEntity{};
        current.mtext = value == "MTEXT";
        inText = true;
      }
      continue;
    }
    if (sectionName && code == 2) {
      section = value;
      sectionName = false;
    } else if (inText) {
      Take(current, code, value);
    }
  }
  finish();
  return labels;
}

}  // namespace pphatch::formats
