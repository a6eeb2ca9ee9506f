#include "files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cli_error.h"

namespace pphatch::cli {

namespace {

namespace fs = std::filesystem;

// The text in lower case.
std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::string SystemReason() { return std::strerror(errno); }

std::string OutputFormat(const std::string& formatOption, const std::string& output,
                         const std::vector<std::string>& formats) {
  std::string format = Lower(formatOption);
  if (format.empty() && output != kStandardStream) {
    format = Lower(fs::path(output).extension().string());
    if (!format.empty()) format.erase(0, 1);
  }
  if (format == "jsonl") format = "json";
  if (std::find(formats.begin(), formats.end(), format) != formats.end()) return format;
  return formats.front();
}

void RefuseToOverwrite(const std::string& output, const std::string& input, const std::string& what) {
  if (output.empty() || output == kStandardStream || input.empty() || input == kStandardStream) return;
  std::error_code error;
  bool same = fs::equivalent(output, input, error);
  if (!same) {
    const fs::path a = fs::weakly_canonical(output, error);
    const fs::path b = fs::weakly_canonical(input, error);
    same = !a.empty() && a == b;
  }
  if (same) throw CliError(output + ": refusing to overwrite " + what + "; choose another -o");
}

std::ofstream OpenForWriting(const std::string& path) {
  errno = 0;
  std::ofstream file(path, std::ios::binary);
  if (!file) {
    const std::string reason = errno != 0 ? SystemReason() : "unknown reason";
    throw CliError(path + ": cannot open for writing: " + reason);
  }
  return file;
}

}  // namespace pphatch::cli
