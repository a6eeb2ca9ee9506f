#include "formats/dxf_pair_text.h"

#include <charconv>
#include <cstdio>

namespace pphatch::formats {

void DxfText::Add(int code, const std::string& value) {
  char head[16];
  std::snprintf(head, sizeof head, "%3d", code);
  text_ += head;
  text_ += newline_;
  text_ += value;
  text_ += newline_;
}

void DxfText::Add(int code, double value) {
  if (value == 0) value = 0;  // no "-0"
  char digits[32];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  std::string text(digits, end);
  // Readers that expect a real number want a point or an exponent in it.
  if (text.find_first_of(".eEn") == std::string::npos) text += ".0";
  Add(code, text);
}

}  // namespace pphatch::formats
