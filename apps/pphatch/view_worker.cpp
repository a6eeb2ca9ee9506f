#include "view_worker.h"

namespace pphatch::cli {

DrawingWorker::DrawingWorker(std::shared_ptr<mem::MemDrawing> drawing, std::size_t maxQueued)
    : drawing_(std::move(drawing)), maxQueued_(maxQueued), thread_([this] { Loop(); }) {}

DrawingWorker::~DrawingWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();  // their callers get a broken promise
  }
  wake_.notify_one();
  thread_.join();
}

bool DrawingWorker::Post(Job job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ || jobs_.size() >= maxQueued_) return false;
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
  return true;
}

void DrawingWorker::Loop() {
  // Made here: the component binds to the thread that initialises it.
  Picker picker(drawing_);
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job(picker, *drawing_);
  }
}

}  // namespace pphatch::cli
