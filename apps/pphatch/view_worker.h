// The one thread of `pphatch view` that touches the drawing.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>

#include "memhost/drawing.h"
#include "picking.h"

namespace pphatch::cli {

/// Runs jobs on the drawing one after the other on a thread of its own. The
/// component keeps its binding per thread and a request may change the
/// drawing while it runs (it leaves it as it found it), so every pick and
/// every export goes through here while the server's threads only talk.
class DrawingWorker {
 public:
  /// Starts the thread; at most `maxQueued` jobs wait at once.
  DrawingWorker(std::shared_ptr<mem::MemDrawing> drawing, std::size_t maxQueued);
  /// Finishes the job that runs, drops those that wait, joins the thread.
  ~DrawingWorker();
  DrawingWorker(const DrawingWorker&) = delete;
  DrawingWorker& operator=(const DrawingWorker&) = delete;

  /// Runs `job(picker, drawing)` on the worker and waits for its result;
  /// nothing when too many jobs wait already. An exception of the job
  /// reaches the caller.
  template <typename Job>
  auto Call(Job job) -> std::optional<std::invoke_result_t<Job, Picker&, mem::MemDrawing&>> {
    using Result = std::invoke_result_t<Job, Picker&, mem::MemDrawing&>;
    auto task = std::make_shared<std::packaged_task<Result(Picker&, mem::MemDrawing&)>>(
        std::move(job));
    std::future<Result> result = task->get_future();
    if (!Post([task](Picker& p, mem::MemDrawing& d) { (*task)(p, d); })) return std::nullopt;
    return result.get();
  }

 private:
  using Job = std::function<void(Picker&, mem::MemDrawing&)>;
  bool Post(Job job);
  void Loop();

  std::shared_ptr<mem::MemDrawing> drawing_;
  std::size_t maxQueued_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace pphatch::cli
