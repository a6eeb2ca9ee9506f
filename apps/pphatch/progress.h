// A progress line on standard error for long batches of picks.
#pragma once

#include <chrono>
#include <cstddef>

namespace pphatch::cli {

/// Counts finished picks and, once a batch has run for more than a second
/// and only when standard error is a terminal, keeps one line there up to
/// date ("pphatch: 120 of 400 picks, 3 without an area"); the line is
/// cleared when the batch ends.
class Progress {
 public:
  explicit Progress(std::size_t total);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  /// One pick has ended.
  void Done(bool found);

 private:
  std::size_t total_, done_ = 0, failed_ = 0;
  bool terminal_, shown_ = false;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace pphatch::cli
