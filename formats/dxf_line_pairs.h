// Reading an ASCII DXF text as group code / value pairs that know where
// they lie in the text.
#pragma once

#include <cstddef>
#include <string>

namespace pphatch::formats {

/// Reads the text line by line, two lines a pair: the code line, then the
/// value line. Values are trimmed of surrounding white space.
class PairReader {
 public:
  /// Reads `text`, which must outlive the reader; a UTF-8 byte order mark
  /// at its start is skipped.
  explicit PairReader(const std::string& text)
      : text_(text), at_(text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0) {}

  /// Moves to the next pair; false at the end of the text.
  bool Next();
  /// The code line held an integer.
  bool Valid() const { return valid_; }
  int Code() const { return code_; }
  const std::string& Value() const { return value_; }
  /// Offset of the pair's code line in the text.
  std::size_t Start() const { return start_; }
  /// Offset and length (without the line ending) of the value line.
  std::size_t ValueStart() const { return valueStart_; }
  std::size_t ValueLength() const { return valueLength_; }
  /// Number of the value line, counted from 1.
  std::size_t LineNumber() const { return line_; }

 private:
  std::string Line();

  const std::string& text_;
  std::size_t at_, start_ = 0, valueStart_ = 0, valueLength_ = 0, line_ = 0;
  int code_ = 0;
  bool valid_ = false;
  std::string value_;
};

}  // namespace pphatch::formats
