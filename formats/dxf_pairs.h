// The group code / value pairs of a DXF file (text or binary), checked for
// structure. The pairs refer into the file's content, which must outlive them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pphatch::formats {

/// What a group code's value holds.
enum class DxfValueKind : std::uint8_t { kText, kReal, kInteger };

/// The kind of value that group codes of that number carry.
DxfValueKind ValueKindOf(int code);

/// One group: its code, its value and where its code stands in the file.
/// `value` is the text (line end removed; for numbers and code-0 names also
/// surrounding blanks) of a text file, or the string of a binary file;
/// numbers are read once, when the file is split, into `real` or `integer`
/// by the kind of the code.
struct DxfPair {
  int code = 0;
  std::string_view value;
  /// Line of the code (from 1) in a text file, byte offset of the code in a binary one.
  long long place = 0;
  double real = 0;
  long long integer = 0;
};

/// The checked pairs of one file, stored compactly (16 bytes a pair) and
/// handed out as DxfPair values.
class DxfPairs {
 public:
  /// Content of this size or more cannot be held (positions take 35 bits).
  static constexpr std::uint64_t kContentLimit = std::uint64_t{1} << 35;

  DxfPairs(std::string_view content, bool binary) : content_(content), binary_(binary) {}

  std::size_t size() const { return slots_.size(); }
  bool empty() const { return slots_.empty(); }
  /// True when the pairs come from a binary file (places are byte offsets).
  bool Binary() const { return binary_; }

  DxfPair operator[](std::size_t index) const;
  int Code(std::size_t index) const { return slots_[index].Code(); }
  std::string_view Value(std::size_t index) const;
  /// The index of the first pair after `index` that opens or ends a
  /// section or the file (code 0, "SECTION", "ENDSEC" or "EOF"), or size().
  std::size_t NextSectionMark(std::size_t index) const;

  /// Appends a pair whose value is content[offset, offset + length) (text)
  /// or a number; `codeBytes` is how far before the value its code starts.
  void AddText(int code, std::size_t offset, std::size_t length, int codeBytes);
  void AddReal(int code, std::size_t offset, std::size_t length, int codeBytes, double value);
  void AddInteger(int code, std::size_t offset, std::size_t length, int codeBytes,
                  long long value);
  /// Appends a pair whose value is written as text (a view into the
  /// content, line end removed), checked and read by the kind of its code;
  /// numbers and code-0 names lose surrounding blanks. False, with nothing
  /// added, when the value does not suit the code.
  bool AddWritten(int code, std::string_view value, int codeBytes);
  /// What is wrong with a value AddWritten refused ("group code 10 needs a
  /// finite number, found 'x'").
  static std::string WrittenProblem(int code, std::string_view value);
  /// Appends a binary file's one-byte flag, whose value reads as "0" or "1".
  void AddFlag(int code, std::size_t offset, int codeBytes, bool value);
  void Reserve(std::size_t count) {
    if (!share_) slots_.reserve(count);
  }

  /// For splitters that fill one list at once, each its own stretch of it:
  /// MakeRoom sets the list to `count` pairs, those added not yet written;
  /// Share(at, end) makes a list whose appended pairs are written to this
  /// one's pairs at, at + 1, ... (std::length_error at `end`); Reached() is
  /// where a share would write next; Keep(share) takes over the long values
  /// and section marks of a share that is done.
  void MakeRoom(std::size_t count) { slots_.resize(count); }
  DxfPairs Share(std::size_t at, std::size_t end);
  std::size_t Reached() const { return shareAt_; }
  void Keep(const DxfPairs& share);

 private:
  // One pair in 16 bytes: the number a numeric value holds, and packed into
  // one word the value's position (35 bits) and length (14 bits), the code
  // (11 bits, from -5), the kind (2 bits) and the bytes from the code to the
  // value (2 bits). A length that does not fit is kept in `longLengths_`.
  struct Slot {
    union {
      double real;
      long long integer;
    } number;
    std::uint64_t packed;

    std::uint64_t Offset() const { return packed & ((std::uint64_t{1} << 35) - 1); }
    std::uint32_t Length() const { return static_cast<std::uint32_t>((packed >> 35) & 0x3FFF); }
    int Code() const { return static_cast<int>((packed >> 49) & 0x7FF) - 5; }
    DxfValueKind Kind() const { return static_cast<DxfValueKind>((packed >> 60) & 3); }
    int CodeBytes() const { return static_cast<int>(packed >> 62); }
  };
  static_assert(sizeof(Slot) == 16);

  // Length field values with a meaning of their own: a flag, and a length
  // found in `longLengths_`.
  static constexpr std::uint32_t kFlagLength = 0x3FFE;
  static constexpr std::uint32_t kLongLength = 0x3FFF;

  // The length field for a value of that length, noting a long one.
  std::uint32_t LengthField(std::size_t length);
  void Add(int code, std::size_t offset, std::uint32_t lengthField, int codeBytes,
           DxfValueKind kind, long long integer, double real);
  std::size_t LengthOf(std::size_t index) const;

  // An allocator whose resize leaves new room unwritten, for MakeRoom.
  template <class T>
  struct RoomAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
      using other = RoomAllocator<U>;
    };
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
      ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
    template <class U>
    void construct(U* at) {
      ::new (static_cast<void*>(at)) U;
    }
  };

  // The list's own pairs, or, in a share, where it writes: slot `shareAt_`
  // (an index of the whole list) of `share_`, up to `shareEnd_`.
  std::size_t NextIndex() const { return share_ ? shareAt_ : slots_.size(); }

  std::string_view content_;
  bool binary_;
  std::vector<Slot, RoomAllocator<Slot>> slots_;
  Slot* share_ = nullptr;
  std::size_t shareAt_ = 0, shareEnd_ = 0;
  // Lengths of the values too long for a slot, by pair index, in index order.
  std::vector<std::pair<std::size_t, std::size_t>> longLengths_;
  // The pairs NextSectionMark finds, by index, in index order: noted as
  // the pairs are added, so that finding a section's end needs no pass.
  std::vector<std::size_t> sectionMarks_;
};

/// "line 12" for a place in a text file, "byte 40" in a binary one.
std::string PlaceText(long long place, bool binary);

/// "name: line 12: what" or "name: byte 40: what".
std::string LocatedAt(const std::string& name, long long place, bool binary,
                      const std::string& what);

/// Splits a DXF file's content into pairs and checks them. Text files:
/// every code line is an integer group code, every number parses and is
/// finite, the text does not end inside a pair. Binary files (after the
/// binary DXF sentinel): every group is complete and every real finite.
/// Both must end with the EOF marker. Refuses empty content and binary data
/// that is no binary DXF. Throws ReadError whose message starts with `name`
/// and the line (text) or byte offset (binary).
/// Text from `splitInHalvesFrom` bytes on is split by two threads, a half
/// each, to the same pairs and the same errors.
inline constexpr std::size_t kSplitInHalvesFrom = std::size_t{4} << 20;
DxfPairs SplitDxfPairs(std::string_view content, const std::string& name,
                       std::size_t splitInHalvesFrom = kSplitInHalvesFrom);

/// The number in a pair (integers as reals; text as far as it reads as one).
double PairReal(const DxfPair& pair);
/// The integer in a pair: integers, whole reals, text that is an integer; else 0.
long long PairInteger(const DxfPair& pair);

/// True for the group codes that exist (-5 to 1071).
bool IsGroupCode(long long code);

}  // namespace pphatch::formats
