#include "formats/dxf_pairs.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "formats/dxf_binary_pairs.h"
#include "formats/errors.h"
#include "formats/side_by_side.h"

namespace pphatch::formats {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// 2^63, the first double past the range of long long; every double below it fits.
constexpr double kBeyondLongLong = 9223372036854775808.0;

// True when the real is a whole number that a long long holds.
bool WholeInRange(double real) {
  return real == std::trunc(real) && std::fabs(real) < kBeyondLongLong;
}

// Removes blanks (spaces and tabs) at both ends.
std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Reads the integer of a line written the common way: an optional minus
// and at most 18 digits, with blanks around. False for anything else, which
// the full reading below then takes.
bool QuickInteger(std::string_view s, long long& out) {
  const char* at = s.data();
  const char* const end = at + s.size();
  while (at != end && (*at == ' ' || *at == '\t')) ++at;
  const bool negative = at != end && *at == '-';
  if (negative) ++at;
  const char* const digits = at;
  long long value = 0;
  while (at != end && at - digits < 18 && static_cast<unsigned char>(*at - '0') < 10) {
    value = value * 10 + (*at - '0');
    ++at;
  }
  if (at == digits) return false;
  while (at != end && (*at == ' ' || *at == '\t')) ++at;
  if (at != end) return false;
  out = negative ? -value : value;
  return true;
}

// True when the text is a whole decimal integer (sign allowed). The quick
// reading takes plain digits; anything else (a '+' sign, say) is left to strtoll.
bool ParseInteger(std::string_view s, long long& out) {
  if (s.empty()) return false;
  if (QuickInteger(s, out)) return true;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), out);
  if (error == std::errc() && end == s.data() + s.size()) return true;
  const std::string text(s);
  char* stop = nullptr;
  errno = 0;
  out = std::strtoll(text.c_str(), &stop, 10);
  return errno == 0 && stop == text.c_str() + text.size();
}

// Powers of ten up to the largest that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Reads a real written the common way, "[-]digits[.digits]" with at most 15
// digits in all. Those digits make an integer below 2^53 and the divisor is
// an exact power of ten, so the one rounding of the division gives the
// nearest double, as the full reading does. False for anything else, which
// the full reading then takes.
bool QuickReal(std::string_view s, double& out) {
  const char* at = s.data();
  const char* const end = at + s.size();
  const bool negative = at != end && *at == '-';
  if (negative) ++at;
  std::uint64_t digits = 0;
  const char* const first = at;
  const auto readDigits = [&] {
    while (at != end && static_cast<unsigned char>(*at - '0') < 10) {
      digits = digits * 10 + static_cast<unsigned>(*at++ - '0');
    }
  };
  readDigits();
  const char* const point = at;
  if (point == first) return false;
  if (at != end && *at == '.') {
    ++at;
    readDigits();
    if (at == point + 1) return false;
  }
  const std::ptrdiff_t fraction = at == point ? 0 : at - point - 1;
  if (at != end || (point - first) + fraction > 15) return false;
  const double value = static_cast<double>(digits) / kExactPowersOfTen[fraction];
  out = negative ? -value : value;
  return true;
}

// True when the text is a whole finite real number in C notation.
bool ParseRealText(std::string_view s, double& out) {
  if (QuickReal(s, out)) return true;
  if (s.empty()) return false;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), out);
  if (error == std::errc() && end == s.data() + s.size()) return std::isfinite(out);
  // What the quick reading does not take ('+' signs, hexadecimal, values
  // that underflow) is read as the C library reads it.
  const std::string text(s);
  char* stop = nullptr;
  out = std::strtod(text.c_str(), &stop);
  return stop == text.c_str() + text.size() && std::isfinite(out);
}

// True when the text is an integer, written plainly or as a whole real
// ("2.0", "1e3") within the range of long long; some writers put integer
// group codes that way.
bool ParseIntegerText(std::string_view s, long long& out) {
  if (ParseInteger(s, out)) return true;
  double real = 0;
  if (!ParseRealText(s, real) || !WholeInRange(real)) return false;
  out = static_cast<long long>(real);
  return true;
}

// The line of the first control byte that no text file holds, or 0.
long long FirstBinaryLine(std::string_view text) {
  long long line = 1;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\n') ++line;
    if (byte < 0x20 && byte != '\n' && byte != '\r' && byte != '\t') return line;
  }
  return 0;
}

// Text bytes a pair takes at the least in the files of common writers
// (a code line, a short value line and two line ends); the pair list
// reserves room by it.
constexpr std::size_t kBytesPerPair = 10;

// True when the last pair is the EOF marker.
bool EndsWithEof(const DxfPairs& pairs) {
  return !pairs.empty() && pairs.Code(pairs.size() - 1) == 0 && pairs.Value(pairs.size() - 1) == "EOF";
}

// Splits DXF text into pairs in one pass over its bytes, checking each pair
// as it goes. A file with a control byte anywhere is refused as binary data
// before any other fault is named. A splitter may take a stretch of the
// text that starts on a code line: `firstLine` is that line's number less one.
class TextSplitter {
 public:
  TextSplitter(std::string_view body, const std::string& name, std::size_t begin = 0,
               std::size_t end = std::string_view::npos, long long firstLine = 0)
      : TextSplitter(body, name, begin, end, firstLine, DxfPairs(body, false)) {}
  // A splitter that appends to `pairs` (a share of a list, say).
  TextSplitter(std::string_view body, const std::string& name, std::size_t begin,
               std::size_t end, long long firstLine, DxfPairs pairs)
      : body_(body), name_(name), pairs_(std::move(pairs)), at_(begin),
        end_(std::min(end, body.size())), line_(firstLine) {}

  // The pairs of the whole text, which must end with the EOF marker.
  DxfPairs Run() {
    DxfPairs pairs = SplitStretch(body_.size());
    CheckEnd(pairs);
    return pairs;
  }

  // The pairs of the stretch, unchecked for the EOF marker, in a list with
  // room for the pairs of `reserveFor` bytes of text.
  DxfPairs SplitStretch(std::size_t reserveFor) {
    pairs_.Reserve(reserveFor / kBytesPerPair);
    std::string_view codeLine, value;
    while (NextLine(codeLine)) {
      const long long codeLineNo = line_;
      long long code = 0;
      if (!(QuickInteger(codeLine, code) || ParseInteger(Trimmed(codeLine), code)) ||
          !IsGroupCode(code)) {
        const std::string_view codeText = Trimmed(codeLine);
        Fail(codeLineNo, "expected a group code, found '" + std::string(codeText.substr(0, 40)) + "'");
      }
      if (!NextLine(value)) {
        Fail(codeLineNo, "the file ends after group code " + std::to_string(code) + ", before its value");
      }
      Add(static_cast<int>(code), value);
    }
    return std::move(pairs_);
  }

  // Refuses pairs that do not end with the EOF marker.
  void CheckEnd(const DxfPairs& pairs) const {
    if (!EndsWithEof(pairs)) Fail(line_, "the file ends without the EOF marker: it is truncated");
  }

 private:
  // The next line of the stretch without its line end; false at its end.
  bool NextLine(std::string_view& line) {
    if (at_ >= end_) return false;
    ++line_;
    // One look at the bytes finds the line end and any control byte (tabs
    // and carriage returns are text) on the way.
    const auto* data = reinterpret_cast<const unsigned char*>(body_.data());
    std::size_t end = ControlByteFrom(at_);
    while (end < end_ && data[end] != '\n') {
      if (data[end] != '\r' && data[end] != '\t') {
        throw ReadError(Located(name_, line_, "binary data: this is not a DXF text file"));
      }
      end = ControlByteFrom(end + 1);
    }
    line = body_.substr(at_, end - at_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at_ = end + 1;
    return true;
  }

  // The position of the first byte below 0x20 from `at` on, or the end of
  // the stretch. Sixteen bytes at a time where the processor allows: most
  // lines are shorter, so this is one step a line.
  std::size_t ControlByteFrom(std::size_t at) const {
    const auto* data = reinterpret_cast<const unsigned char*>(body_.data());
#ifdef __SSE2__
    const __m128i highestControl = _mm_set1_epi8(0x1F);
    for (; at + 16 <= end_; at += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
      // A byte is a control byte when the smaller of it and 0x1F is itself.
      const int controls =
          _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(bytes, highestControl), bytes));
      if (controls != 0) {
        return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(controls)));
      }
    }
#endif
    while (at < end_ && data[at] >= 0x20) ++at;
    return at;
  }

  // Checks the value of a group by the kind of its code and keeps the pair.
  void Add(int code, std::string_view value) {
    if (!pairs_.AddWritten(code, value, 0)) Fail(line_, DxfPairs::WrittenProblem(code, value));
  }

  // Refuses the file: as binary data when it holds a control byte anywhere,
  // else for `what` at `line`.
  [[noreturn]] void Fail(long long line, const std::string& what) const {
    if (const long long binaryLine = FirstBinaryLine(body_)) {
      throw ReadError(Located(name_, binaryLine, "binary data: this is not a DXF text file"));
    }
    throw ReadError(Located(name_, line, what));
  }

  std::string_view body_;
  const std::string& name_;
  DxfPairs pairs_;
  std::size_t at_, end_;
  long long line_;
};

// The offset just past the line end that ends an even number of lines,
// about halfway through the text, so that the second half starts on a code
// line; 0 when there is none. `lines` receives the lines before it.
std::size_t HalfwayCodeLine(std::string_view body, long long& lines) {
  std::size_t cut = body.find('\n', body.size() / 2);
  if (cut == std::string_view::npos) return 0;
  lines = std::count(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(cut) + 1, '\n');
  if (lines % 2 != 0) {
    cut = body.find('\n', cut + 1);
    if (cut == std::string_view::npos) return 0;
    ++lines;
  }
  return cut + 1;
}

// The pairs of a large text, each half split by a thread of its own into
// its own stretch of one list (so that no half is copied after); empty when
// either half holds a fault, which the one-pass splitter then names exactly
// as it would alone.
std::optional<DxfPairs> SplitInHalves(std::string_view body, const std::string& name) {
  long long linesBefore = 0;
  const std::size_t cut = HalfwayCodeLine(body, linesBefore);
  if (cut == 0) return std::nullopt;
  // The head holds a pair for every two of its lines; the tail at most one
  // for every two bytes (a line takes a byte at the least, and the last
  // may lack its line end). Room that is never written takes no memory.
  const auto headPairs = static_cast<std::size_t>(linesBefore / 2);
  DxfPairs pairs(body, false);
  try {
    pairs.MakeRoom(headPairs + (body.size() - cut) / 2 + 1);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  const auto split = [&](TextSplitter splitter, DxfPairs& share) {
    try {
      share = splitter.SplitStretch(0);
      return true;
    } catch (const ReadError&) {
      return false;
    } catch (const std::length_error&) {
      return false;
    }
  };
  DxfPairs head = pairs.Share(0, headPairs);
  DxfPairs tail = pairs.Share(headPairs, std::string_view::npos);
  bool headSplit = false, tailSplit = false;
  RunSideBySide(
      [&] { headSplit = split(TextSplitter(body, name, 0, cut, 0, std::move(head)), head); },
      [&] {
        tailSplit = split(TextSplitter(body, name, cut, body.size(), linesBefore, std::move(tail)), tail);
      });
  if (!headSplit || !tailSplit || head.Reached() != headPairs) return std::nullopt;
  pairs.Keep(head);
  pairs.Keep(tail);
  pairs.MakeRoom(tail.Reached());
  return pairs;
}

}  // namespace

bool IsGroupCode(long long code) {
  // Group codes run from -5 (reactor chains) to 1071 (extended data).
  return code >= -5 && code <= 1071;
}

namespace {

// The kind of value of each group code, by its range.
constexpr DxfValueKind KindByRange(int code) {
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

constexpr int kFirstGroupCode = -5, kLastGroupCode = 1071;

// KindByRange of every group code, looked up once a pair.
constexpr std::array<DxfValueKind, kLastGroupCode - kFirstGroupCode + 1> kKinds = [] {
  std::array<DxfValueKind, kLastGroupCode - kFirstGroupCode + 1> kinds{};
  for (int code = kFirstGroupCode; code <= kLastGroupCode; ++code) {
    kinds[static_cast<std::size_t>(code - kFirstGroupCode)] = KindByRange(code);
  }
  return kinds;
}();

}  // namespace

DxfValueKind ValueKindOf(int code) {
  if (!IsGroupCode(code)) return KindByRange(code);
  return kKinds[static_cast<std::size_t>(code - kFirstGroupCode)];
}

std::uint32_t DxfPairs::LengthField(std::size_t length) {
  if (length < kFlagLength) return static_cast<std::uint32_t>(length);
  longLengths_.emplace_back(NextIndex(), length);
  return kLongLength;
}

void DxfPairs::Add(int code, std::size_t offset, std::uint32_t lengthField, int codeBytes,
                   DxfValueKind kind, long long integer, double real) {
  Slot slot{};
  slot.packed = static_cast<std::uint64_t>(offset) | static_cast<std::uint64_t>(lengthField) << 35 |
                static_cast<std::uint64_t>(code + 5) << 49 |
                static_cast<std::uint64_t>(kind) << 60 |
                static_cast<std::uint64_t>(codeBytes) << 62;
  if (kind == DxfValueKind::kReal) {
    slot.number.real = real;
  } else {
    slot.number.integer = integer;
  }
  if (!share_) {
    slots_.push_back(slot);
    return;
  }
  if (shareAt_ == shareEnd_) throw std::length_error("the pairs overrun their share of the list");
  share_[shareAt_++] = slot;
}

DxfPairs DxfPairs::Share(std::size_t at, std::size_t end) {
  DxfPairs share(content_, binary_);
  share.share_ = slots_.data();
  share.shareAt_ = at;
  share.shareEnd_ = std::min(end, slots_.size());
  return share;
}

void DxfPairs::Keep(const DxfPairs& share) {
  longLengths_.insert(longLengths_.end(), share.longLengths_.begin(), share.longLengths_.end());
  sectionMarks_.insert(sectionMarks_.end(), share.sectionMarks_.begin(), share.sectionMarks_.end());
}

std::size_t DxfPairs::NextSectionMark(std::size_t index) const {
  const auto it = std::upper_bound(sectionMarks_.begin(), sectionMarks_.end(), index);
  return it == sectionMarks_.end() ? size() : *it;
}

std::size_t DxfPairs::LengthOf(std::size_t index) const {
  const std::uint32_t length = slots_[index].Length();
  if (length != kLongLength) return length;
  const auto it = std::lower_bound(longLengths_.begin(), longLengths_.end(),
                                   std::pair<std::size_t, std::size_t>(index, 0));
  return it->second;
}

void DxfPairs::AddText(int code, std::size_t offset, std::size_t length, int codeBytes) {
  if (code == 0) {
    const std::string_view name = content_.substr(offset, length);
    if (name == "SECTION" || name == "ENDSEC" || name == "EOF") sectionMarks_.push_back(NextIndex());
  }
  Add(code, offset, LengthField(length), codeBytes, DxfValueKind::kText, 0, 0);
}

void DxfPairs::AddReal(int code, std::size_t offset, std::size_t length, int codeBytes,
                       double value) {
  Add(code, offset, LengthField(length), codeBytes, DxfValueKind::kReal, 0, value);
}

void DxfPairs::AddInteger(int code, std::size_t offset, std::size_t length, int codeBytes,
                          long long value) {
  Add(code, offset, LengthField(length), codeBytes, DxfValueKind::kInteger, value, 0);
}

void DxfPairs::AddFlag(int code, std::size_t offset, int codeBytes, bool value) {
  Add(code, offset, kFlagLength, codeBytes, DxfValueKind::kText, value ? 1 : 0, 0);
}

bool DxfPairs::AddWritten(int code, std::string_view value, int codeBytes) {
  const DxfValueKind kind = ValueKindOf(code);
  if (kind != DxfValueKind::kText || code == 0) value = Trimmed(value);
  const auto offset = static_cast<std::size_t>(value.data() - content_.data());
  if (kind == DxfValueKind::kReal) {
    double real = 0;
    if (!ParseRealText(value, real)) return false;
    AddReal(code, offset, value.size(), codeBytes, real);
  } else if (kind == DxfValueKind::kInteger) {
    long long integer = 0;
    if (!ParseIntegerText(value, integer)) return false;
    AddInteger(code, offset, value.size(), codeBytes, integer);
  } else {
    AddText(code, offset, value.size(), codeBytes);
  }
  return true;
}

std::string DxfPairs::WrittenProblem(int code, std::string_view value) {
  const bool real = ValueKindOf(code) == DxfValueKind::kReal;
  return "group code " + std::to_string(code) + (real ? " needs a finite number" : " needs an integer") +
         ", found '" + std::string(Trimmed(value).substr(0, 40)) + "'";
}

std::string_view DxfPairs::Value(std::size_t index) const {
  const Slot& slot = slots_[index];
  if (slot.Length() == kFlagLength) return slot.number.integer != 0 ? "1" : "0";
  return content_.substr(slot.Offset(), LengthOf(index));
}

DxfPair DxfPairs::operator[](std::size_t index) const {
  const Slot& slot = slots_[index];
  DxfPair pair;
  pair.code = slot.Code();
  pair.value = Value(index);
  // In a text file pair i has its code on line 2i + 1.
  pair.place = binary_ ? static_cast<long long>(slot.Offset()) - slot.CodeBytes()
                       : 2 * static_cast<long long>(index) + 1;
  if (slot.Kind() == DxfValueKind::kReal) pair.real = slot.number.real;
  if (slot.Kind() == DxfValueKind::kInteger) {
    pair.integer = slot.number.integer;
    pair.real = static_cast<double>(pair.integer);
  }
  return pair;
}

std::string PlaceText(long long place, bool binary) {
  return (binary ? "byte " : "line ") + std::to_string(place);
}

std::string LocatedAt(const std::string& name, long long place, bool binary,
                      const std::string& what) {
  if (!binary) return Located(name, static_cast<int>(place), what);
  return name + ": " + PlaceText(place, true) + ": " + what;
}

DxfPairs SplitDxfPairs(std::string_view content, const std::string& name,
                       std::size_t splitInHalvesFrom) {
  if (content.size() >= DxfPairs::kContentLimit) {
    throw ReadError(Located(name, 0, "the file is too large: 32 GiB at the most"));
  }
  if (IsBinaryDxf(content)) return SplitBinaryDxfPairs(content, name);
  std::string_view body = content;
  if (body.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    body.remove_prefix(kByteOrderMark.size());
  if (body.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    throw ReadError(Located(name, 0, "the file is empty"));
  }
  if (body.size() >= splitInHalvesFrom) {
    std::optional<DxfPairs> pairs = SplitInHalves(body, name);
    if (pairs && EndsWithEof(*pairs)) return std::move(*pairs);
  }
  return TextSplitter(body, name).Run();
}

double PairReal(const DxfPair& pair) {
  if (ValueKindOf(pair.code) != DxfValueKind::kText) return pair.real;
  return std::strtod(std::string(pair.value).c_str(), nullptr);
}

long long PairInteger(const DxfPair& pair) {
  switch (ValueKindOf(pair.code)) {
    case DxfValueKind::kInteger:
      return pair.integer;
    case DxfValueKind::kReal:
      return WholeInRange(pair.real) ? static_cast<long long>(pair.real) : 0;
    default: {
      long long value = 0;
      return ParseIntegerText(pair.value, value) ? value : 0;
    }
  }
}

}  // namespace pphatch::formats
