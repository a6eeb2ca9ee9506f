// DXF group code / value pairs written as text, for entities added to a file.
#pragma once

#include <string>

namespace pphatch::formats {

/// Appends pairs in the layout of ASCII DXF: the code right-aligned in three
/// columns on one line, the value on the next, each line ended by `newline`.
class DxfText {
 public:
  explicit DxfText(std::string newline = "\n") : newline_(std::move(newline)) {}

  void Add(int code, const std::string& value);
  void Add(int code, const char* value) { Add(code, std::string(value)); }
  /// A number in its shortest form that reads back to the same double.
  void Add(int code, double value);
  void Add(int code, int value) { Add(code, std::to_string(value)); }

  const std::string& Text() const { return text_; }
  const std::string& Newline() const { return newline_; }

 private:
  std::string newline_;
  std::string text_;
};

}  // namespace pphatch::formats
