// A file's content in memory without a copy where the system allows it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pphatch::formats {

/// The whole content of a file. A regular file is mapped into memory, its
/// pages read in at once: reading a big drawing into a string would first
/// clear, then fill, memory as large as the file. Anything else (a pipe, a
/// device, an empty file, a system that will not map it) is read as
/// ReadWholeFile reads it, with the same errors.
class FileContent {
 public:
  /// ReadError "name: cannot open: REASON" (the system's reason) or "name:
  /// is a directory" when the file cannot be read.
  explicit FileContent(const std::string& path);
  ~FileContent();
  FileContent(const FileContent&) = delete;
  FileContent& operator=(const FileContent&) = delete;

  std::string_view View() const { return mapped_ ? std::string_view(mapped_, size_) : read_; }

 private:
  const char* mapped_ = nullptr;
  std::size_t size_ = 0;
  std::string read_;
};

}  // namespace pphatch::formats
