#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace pphatch::cli {

namespace {
// A batch shows its progress once it has run this long.
constexpr std::chrono::seconds kQuietTime{1};
}  // namespace

Progress::Progress(std::size_t total)
    : total_(total), terminal_(isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now()) {}

Progress::~Progress() {
  if (shown_) std::fputs("\r\033[K", stderr);
}

void Progress::Done(bool found) {
  ++done_;
  if (!found) ++failed_;
  if (!terminal_ || std::chrono::steady_clock::now() - start_ < kQuietTime) return;
  std::fprintf(stderr, "\rpphatch: %zu of %zu picks, %zu without an area\033[K", done_, total_, failed_);
  std::fflush(stderr);
  shown_ = true;
}

}  // namespace pphatch::cli
