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

void RefuseDirectory(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw ReadError(Located(path, 0, "is a directory"));
}

ReadError CannotOpen(const std::string& path) {
  std::string what = "cannot open";
  if (errno != 0) what.append(": ").append(std::strerror(errno));
  return ReadError(Located(path, 0, what));
}

std::string ReadWholeFile(const std::string& path) {
  RefuseDirectory(path);
  errno = 0;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw CannotOpen(path);
  // One read of the whole size, then whatever a growing file added since.
  const std::streamoff size = in.tellg();
  std::string content(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  in.seekg(0);
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  content.resize(static_cast<std::size_t>(in.gcount()));
  if (in.good()) {
    std::ostringstream rest;
    rest << in.rdbuf();
    content += rest.str();
  }
  if (in.bad()) throw ReadError(Located(path, 0, "cannot read"));
  return content;
}

}  // namespace pphatch::formats
