#include "formats/dxf_pairs.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "formats/errors.h"

namespace pphatch::formats {

namespace {

constexpr std::string_view kBinaryDxfSentinel = "AutoCAD Binary DXF";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Group codes run from -5 (reactor chains) to 1071 (extended data).
constexpr int kLowestCode = -5;
constexpr int kHighestCode = 1071;

// Removes blanks (spaces and tabs) at both ends.
std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// True when the text is a whole decimal integer (sign allowed).
bool ParseInteger(std::string_view s, long long& out) {
  if (s.empty()) return false;
  const std::string text(s);
  char* end = nullptr;
  errno = 0;
  out = std::strtoll(text.c_str(), &end, 10);
  return errno == 0 && end == text.c_str() + text.size();
}

// True when the text is a whole finite real number in C notation.
bool ParseReal(std::string_view s, double& out) {
  if (s.empty()) return false;
  const std::string text(s);
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(out);
}

// True when the text is an integer, written plainly or as a whole real
// ("2.0", "1e3") within the range of long long; some writers put integer
// group codes that way. A real beyond that range is no integer we can hold.
bool ParseIntegerValue(std::string_view s, long long& out) {
  if (ParseInteger(s, out)) return true;
  double real = 0;
  // 2^63 is the first double past the range; every double below it fits.
  constexpr double kBeyond = 9223372036854775808.0;
  if (!ParseReal(s, real) || real != std::trunc(real) || !(std::fabs(real) < kBeyond)) {
    return false;
  }
  out = static_cast<long long>(real);
  return true;
}

// The text cut into lines; a final line end does not start another line.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// The line of the first control byte that no text file holds, or 0.
int FirstBinaryLine(std::string_view text) {
  int line = 1;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\n') ++line;
    if (byte < 0x20 && byte != '\n' && byte != '\r' && byte != '\t') return line;
  }
  return 0;
}

}  // namespace

DxfValueKind ValueKindOf(int code) {
  const auto in = [code](int lo, int hi) { return code >= lo && code <= hi; };
  if (in(10, 59) || in(110, 149) || in(210, 239) || in(460, 469) || in(1010, 1059)) {
    return DxfValueKind::kReal;
  }
  if (in(60, 99) || in(160, 179) || in(270, 289) || in(370, 389) || in(400, 409) || in(420, 429) ||
      in(440, 459) || in(1060, 1071)) {
    return DxfValueKind::kInteger;
  }
  return DxfValueKind::kText;
}

std::vector<DxfPair> SplitDxfPairs(const std::string& text, const std::string& name) {
  std::string_view body = text;
  if (body.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    body.remove_prefix(kByteOrderMark.size());
  if (body.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    throw ReadError(Located(name, 0, "the file is empty"));
  }
  if (body.substr(0, kBinaryDxfSentinel.size()) == kBinaryDxfSentinel) {
    throw ReadError(Located(name, 0, "binary DXF is not supported; save the drawing as ASCII DXF"));
  }
  if (const int line = FirstBinaryLine(body)) {
    throw ReadError(Located(name, line, "binary data: this is not a DXF text file"));
  }
  const std::vector<std::string_view> lines = Lines(body);
  std::vector<DxfPair> pairs;
  pairs.reserve(lines.size() / 2);
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    const int lineNo = static_cast<int>(i) + 1;
    const std::string_view codeText = Trimmed(lines[i]);
    long long code = 0;
    if (!ParseInteger(codeText, code) || code < kLowestCode || code > kHighestCode) {
      throw ReadError(
          Located(name, lineNo,
                  "expected a group code, found '" + std::string(codeText.substr(0, 40)) + "'"));
    }
    if (i + 1 >= lines.size()) {
      throw ReadError(
          Located(name, lineNo,
                  "the file ends after group code " + std::to_string(code) + ", before its value"));
    }
    DxfPair pair{static_cast<int>(code), std::string(lines[i + 1]), lineNo};
    const DxfValueKind kind = ValueKindOf(pair.code);
    if (kind != DxfValueKind::kText || pair.code == 0)
      pair.value = std::string(Trimmed(pair.value));
    double real = 0;
    long long integer = 0;
    if (kind == DxfValueKind::kReal && !ParseReal(pair.value, real)) {
      throw ReadError(Located(name, lineNo + 1,
                              "group code " + std::to_string(code) +
                                  " needs a finite number, found '" + pair.value.substr(0, 40) +
                                  "'"));
    }
    // Some writers put reals where integers belong; accept those that are whole.
    if (kind == DxfValueKind::kInteger && !ParseIntegerValue(pair.value, integer)) {
      throw ReadError(Located(name, lineNo + 1,
                              "group code " + std::to_string(code) + " needs an integer, found '" +
                                  pair.value.substr(0, 40) + "'"));
    }
    pairs.push_back(std::move(pair));
  }
  if (pairs.empty() || pairs.back().code != 0 || pairs.back().value != "EOF") {
    throw ReadError(Located(name, static_cast<int>(lines.size()),
                            "the file ends without the EOF marker: it is truncated"));
  }
  return pairs;
}

double PairReal(const DxfPair& pair) { return std::strtod(pair.value.c_str(), nullptr); }

long long PairInteger(const DxfPair& pair) {
  long long value = 0;
  return ParseIntegerValue(pair.value, value) ? value : 0;
}

}  // namespace pphatch::formats
