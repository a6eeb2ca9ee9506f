#include "formats/dxf_line_pairs.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace pphatch::formats {

namespace {

std::string Trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

}  // namespace

bool PairReader::Next() {
  if (at_ >= text_.size()) return false;
  start_ = at_;
  const std::string codeLine = Trim(Line());
  valueStart_ = at_;
  value_ = Line();
  valueLength_ = value_.size();
  const auto result = std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), code_);
  valid_ = result.ec == std::errc() && result.ptr == codeLine.data() + codeLine.size();
  value_ = Trim(value_);
  return true;
}

// The line at the read position, without its ending.
std::string PairReader::Line() {
  std::size_t end = text_.find('\n', at_);
  if (end == std::string::npos) end = text_.size();
  std::size_t stop = end;
  if (stop > at_ && text_[stop - 1] == '\r') --stop;
  std::string line = text_.substr(at_, stop - at_);
  at_ = std::min(end + 1, text_.size());
  ++line_;
  return line;
}

}  // namespace pphatch::formats
