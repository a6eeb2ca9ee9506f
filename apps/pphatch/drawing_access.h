// The drawing of `pphatch view`, used by one request at a time.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <map>
#include <mutex>
#include <thread>
#include <optional>
#include <type_traits>

#include "memhost/drawing.h"
#include "picking.h"

namespace pphatch::cli {

/// Lets the server's threads take turns with the drawing: a request may
/// change the drawing while it runs (it leaves it as it found it), so picks
/// and exports run one at a time, each on the thread that received it. The
/// component keeps its binding per thread, so every thread has a Picker of
/// its own, made on first use in its turn and kept here, so that none is
/// destroyed outside a turn when the server's threads end.
class DrawingAccess {
 public:
  /// At most `maxWaiting` requests wait for their turn at once.
  DrawingAccess(std::shared_ptr<mem::MemDrawing> drawing, std::size_t maxWaiting)
      : drawing_(std::move(drawing)), maxWaiting_(maxWaiting) {}

  /// Runs `job(picker, drawing)` in turn and returns its result; nothing
  /// when too many requests wait already.
  template <typename Job>
  auto Call(Job job) -> std::optional<std::invoke_result_t<Job, Picker&, mem::MemDrawing&>> {
    if (waiting_.fetch_add(1) >= maxWaiting_) {
      waiting_.fetch_sub(1);
      return std::nullopt;
    }
    std::unique_lock lock(mutex_);
    waiting_.fetch_sub(1);
    return job(ThreadPicker(), *drawing_);
  }

 private:
  /// This thread's picker for the drawing (called in turn).
  Picker& ThreadPicker();

  std::shared_ptr<mem::MemDrawing> drawing_;
  std::map<std::thread::id, std::unique_ptr<Picker>> pickers_;
  std::size_t maxWaiting_;
  std::atomic<std::size_t> waiting_{0};
  std::mutex mutex_;
};

}  // namespace pphatch::cli
