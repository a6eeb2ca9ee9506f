// One record of a DXF file (a code-0 pair and the pairs up to the next
// code-0 pair) and a cursor for reading groups in their order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/dxf_pairs.h"
#include "memhost/vec.h"

namespace pphatch::formats {

/// Index of the first code-0 pair after `index`, or `end` when there is none before it.
std::size_t NextRecordStart(const DxfPairs& pairs, std::size_t index, std::size_t end);

/// The pairs [begin, end) of a checked pair list; pair `begin` has code 0.
class DxfRecord {
 public:
  DxfRecord(const DxfPairs& pairs, std::size_t begin, std::size_t end)
      : pairs_(&pairs), begin_(begin), end_(end) {
    for (std::size_t i = begin + 1; i < end; ++i) codes_ |= CodeBit(pairs.Code(i));
  }

  std::string_view Name() const { return pairs_->Value(begin_); }
  /// Where the record starts (see DxfPair::place).
  long long Place() const { return (*pairs_)[begin_].place; }
  /// True when the record comes from a binary file.
  bool Binary() const { return pairs_->Binary(); }
  std::size_t Begin() const { return begin_; }
  std::size_t End() const { return end_; }
  DxfPair Pair(std::size_t index) const { return (*pairs_)[index]; }
  int CodeAt(std::size_t index) const { return pairs_->Code(index); }

  /// The first pair of that code after the name, if any.
  std::optional<DxfPair> Find(int code) const;
  double Real(int code, double fallback = 0) const;
  long long Integer(int code, long long fallback = 0) const;
  std::string Text(int code, const std::string& fallback = "") const;
  /// The point of codes x, x + 10, x + 20 (missing coordinates from `fallback`).
  mem::Vec3 Point(int xCode, mem::Vec3 fallback = {}) const;
  /// Every value of that code, in order.
  std::vector<double> Reals(int code) const;
  /// Every point that starts with code x: a new point at each x, whose
  /// y (x + 10) and z (x + 20) follow it.
  std::vector<mem::Vec3> Points(int xCode) const;

 private:
  // The bit that stands for a group code in `codes_`; codes 64 apart share one.
  static std::uint64_t CodeBit(int code) {
    return std::uint64_t{1} << (static_cast<unsigned>(code) & 63);
  }
  // True when some pair after the name may have that code: most entities
  // lack most of the optional codes asked for, and this answers without a look.
  bool MayHold(int code) const { return (codes_ & CodeBit(code)) != 0; }

  const DxfPairs* pairs_;
  std::size_t begin_, end_;
  std::uint64_t codes_ = 0;  // CodeBit of every code after the name
};

/// A group that a cursor needed but did not find.
struct DxfLayoutError {
  long long place;
  std::string what;
};

/// Reads the groups of a record one after another, in the order the format
/// lays them down. Take throws DxfLayoutError when the next group has
/// another code.
class DxfCursor {
 public:
  DxfCursor(const DxfRecord& record, std::size_t position) : record_(record), at_(position) {}

  /// True when the next group has that code.
  bool At(int code) const;
  /// The code of the group after the next one, or -999 at the end.
  int PeekCodeAfterNext() const;
  double TakeReal(int code);
  long long TakeInteger(int code);
  /// Skips the next group, whatever it is.
  void Skip();
  bool Done() const { return at_ >= record_.End(); }
  long long Place() const;

 private:
  DxfPair Take(int code);

  const DxfRecord& record_;
  std::size_t at_;
};

}  // namespace pphatch::formats
