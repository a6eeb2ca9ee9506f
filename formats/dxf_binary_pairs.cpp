#include "formats/dxf_binary_pairs.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "formats/errors.h"

namespace pphatch::formats {

namespace {

constexpr std::string_view kSentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

// How a binary file lays down the value of a group code.
enum class Layout { kString, kChunk, kFlag, kInt16, kInt32, kInt64, kDouble };

Layout LayoutOf(int code) {
  const auto in = [code](int lo, int hi) { return code >= lo && code <= hi; };
  if (in(10, 59) || in(110, 149) || in(210, 239) || in(460, 469) || in(1010, 1059)) {
    return Layout::kDouble;
  }
  if (in(60, 79) || in(170, 179) || in(270, 289) || in(370, 389) || in(400, 409) ||
      in(1060, 1070)) {
    return Layout::kInt16;
  }
  if (in(90, 99) || in(420, 429) || in(440, 459) || code == 1071) return Layout::kInt32;
  if (in(160, 169)) return Layout::kInt64;
  if (in(290, 299)) return Layout::kFlag;
  if (in(310, 319) || code == 1004) return Layout::kChunk;
  return Layout::kString;
}

// Bytes of a signed integer of that layout.
std::size_t IntegerBytes(Layout layout) {
  return layout == Layout::kInt16 ? 2 : layout == Layout::kInt32 ? 4 : 8;
}

// The two's-complement value of the low `bytes` bytes of `bits`.
long long Signed(std::uint64_t bits, std::size_t bytes) {
  const unsigned shift = static_cast<unsigned>(64 - 8 * bytes);
  return static_cast<long long>(bits << shift) >> shift;
}

// Walks the groups of a binary file and checks each one.
class BinarySplitter {
 public:
  BinarySplitter(std::string_view content, const std::string& name)
      : content_(content), name_(name), pairs_(content, true) {}

  DxfPairs Run() {
    at_ = kSentinel.size();
    // The first group is a code 0: two zero bytes when codes take two bytes.
    wideCodes_ = content_.size() > at_ + 1 && content_[at_ + 1] == '\0';
    pairs_.Reserve((content_.size() - at_) / 12);
    while (at_ < content_.size()) ReadGroup();
    if (pairs_.empty() || pairs_.Code(pairs_.size() - 1) != 0 ||
        pairs_.Value(pairs_.size() - 1) != "EOF") {
      Fail(static_cast<long long>(content_.size()),
           "the file ends without the EOF marker: it is truncated");
    }
    return std::move(pairs_);
  }

 private:
  // Reads one group code and its value.
  void ReadGroup() {
    const std::size_t start = at_;
    int code = 0;
    if (wideCodes_) {
      code = static_cast<std::int16_t>(Unsigned(start, 2, "a group code"));
    } else {
      code = static_cast<int>(Unsigned(start, 1, "a group code"));
      if (code == 255) code = static_cast<std::int16_t>(Unsigned(at_, 2, "a group code"));
    }
    if (!IsGroupCode(code)) {
      Fail(start, "expected a group code, found " + std::to_string(code));
    }
    const int codeBytes = static_cast<int>(at_ - start);
    const std::size_t value = at_;
    const std::string what = "the value of group code " + std::to_string(code);
    switch (LayoutOf(code)) {
      case Layout::kDouble: {
        const double real = std::bit_cast<double>(Unsigned(value, 8, what));
        if (!std::isfinite(real)) {
          Fail(start, "group code " + std::to_string(code) + " needs a finite number");
        }
        pairs_.AddReal(code, value, 8, codeBytes, real);
        return;
      }
      case Layout::kInt16:
      case Layout::kInt32:
      case Layout::kInt64: {
        const std::size_t bytes = IntegerBytes(LayoutOf(code));
        pairs_.AddInteger(code, value, bytes, codeBytes, Signed(Unsigned(value, bytes, what), bytes));
        return;
      }
      case Layout::kFlag:
        pairs_.AddFlag(code, value, codeBytes, Unsigned(value, 1, what) != 0);
        return;
      case Layout::kChunk: {
        const std::size_t length = Unsigned(value, 1, what);
        Need(at_, length, what);
        pairs_.AddText(code, at_, length, codeBytes);
        at_ += length;
        return;
      }
      case Layout::kString:
        String(code, start, codeBytes, what);
        return;
    }
  }

  // A string ended by a zero byte; numbers written as strings are checked as in text files.
  void String(int code, std::size_t start, int codeBytes, const std::string& what) {
    const std::size_t end = content_.find('\0', at_);
    if (end == std::string_view::npos) Fail(start, "the file ends inside " + what);
    const std::string_view value = content_.substr(at_, end - at_);
    if (!pairs_.AddWritten(code, value, codeBytes)) Fail(start, DxfPairs::WrittenProblem(code, value));
    at_ = end + 1;
  }

  // The little-endian unsigned number of `bytes` bytes at `offset`; moves past it.
  std::uint64_t Unsigned(std::size_t offset, std::size_t bytes, const std::string& what) {
    Need(offset, bytes, what);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
      value |= static_cast<std::uint64_t>(static_cast<unsigned char>(content_[offset + i])) << (8 * i);
    }
    at_ = offset + bytes;
    return value;
  }

  // Refuses the file when fewer than `bytes` bytes follow `offset`.
  void Need(std::size_t offset, std::size_t bytes, const std::string& what) const {
    if (content_.size() - offset < bytes) Fail(offset, "the file ends inside " + what);
  }

  [[noreturn]] void Fail(std::size_t offset, const std::string& what) const {
    throw ReadError(LocatedAt(name_, static_cast<long long>(offset), true, what));
  }

  std::string_view content_;
  const std::string& name_;
  DxfPairs pairs_;
  std::size_t at_ = 0;
  bool wideCodes_ = true;
};

}  // namespace

bool IsBinaryDxf(std::string_view content) { return content.substr(0, kSentinel.size()) == kSentinel; }

DxfPairs SplitBinaryDxfPairs(std::string_view content, const std::string& name) {
  return BinarySplitter(content, name).Run();
}

}  // namespace pphatch::formats
