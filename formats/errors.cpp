#include "formats/errors.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pphatch::formats {

std::string Located(const std::string& name, int line, const std::string& what) {
  if (line <= 0) return name + ": " + what;
  return name + ": line " + std::to_string(line) + ": " + what;
}

std::string ReadWholeFile(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw ReadError(Located(path, 0, "is a directory"));
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw ReadError(Located(path, 0, std::string("cannot open") +
                                         (errno != 0 ? ": " + std::string(std::strerror(errno)) : "")));
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw ReadError(Located(path, 0, "cannot read"));
  return content.str();
}

}  // namespace pphatch::formats
