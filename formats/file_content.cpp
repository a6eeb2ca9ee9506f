#include "formats/file_content.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "formats/errors.h"

namespace pphatch::formats {

FileContent::FileContent(const std::string& path) {
  RefuseDirectory(path);
  errno = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw CannotOpen(path);
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    const auto size = static_cast<std::size_t>(info.st_size);
    void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (at != MAP_FAILED) {
      mapped_ = static_cast<const char*>(at);
      size_ = size;
    }
  }
  ::close(fd);
  if (!mapped_) read_ = ReadWholeFile(path);
}

FileContent::~FileContent() {
  if (mapped_) ::munmap(const_cast<char*>(mapped_), size_);
}

}  // namespace pphatch::formats
