#include "formats/dxf_document.h"

#include <utility>

namespace pphatch::formats {

DxfEntityRuns::DxfEntityRuns(std::vector<DxfEntity> run) {
  if (!run.empty()) runs_.push_back(std::move(run));
}

std::vector<DxfEntity>& DxfEntityRuns::RoomForOne() {
  if (runs_.empty() || runs_.back().size() >= kRun) runs_.emplace_back().reserve(kRun);
  return runs_.back();
}

void DxfEntityRuns::Append(DxfEntityRuns&& later) {
  for (std::vector<DxfEntity>& run : later.runs_) runs_.push_back(std::move(run));
  later.runs_.clear();
}

std::size_t DxfEntityRuns::size() const {
  std::size_t size = 0;
  for (const std::vector<DxfEntity>& run : runs_) size += run.size();
  return size;
}

DxfEntityRuns::const_iterator::const_iterator(const Runs* runs, std::size_t run, std::size_t at)
    : runs_(runs), run_(run), at_(at) {
  Settle();
}

DxfEntityRuns::const_iterator& DxfEntityRuns::const_iterator::operator++() {
  ++at_;
  Settle();
  return *this;
}

void DxfEntityRuns::const_iterator::Settle() {
  while (run_ < runs_->size() && at_ >= (*runs_)[run_].size()) {
    ++run_;
    at_ = 0;
  }
}

}  // namespace pphatch::formats
