#include "memhost/fault_injector.h"

#include <utility>

#include "pphatch/host.h"

namespace pphatch::mem {

FaultRule::FaultRule(std::string operation) : operation_(std::move(operation)) {}

FaultRule& FaultRule::ForGraphic(int id) {
  graphic_ = id;
  return *this;
}

FaultRule& FaultRule::After(int successes) {
  skip_ = successes;
  return *this;
}

FaultRule& FaultRule::Times(int failures) {
  times_ = failures;
  return *this;
}

bool FaultRule::Matches(std::string_view operation, int graphicId) const {
  if (graphic_ && *graphic_ != graphicId) return false;
  if (!operation_.empty() && operation_.back() == '*') {
    const std::string_view prefix(operation_.data(), operation_.size() - 1);
    return operation.substr(0, prefix.size()) == prefix;
  }
  return operation == operation_;
}

bool FaultRule::Trip() {
  ++seen_;
  if (seen_ <= skip_) return false;
  if (times_ >= 0 && fired_ >= times_) return false;
  ++fired_;
  return true;
}

FaultRule& FaultInjector::Fail(std::string operation) {
  return rules_.emplace_back(std::move(operation));
}

void FaultInjector::ClearFaults() { rules_.clear(); }

void FaultInjector::Enter(const char* operation, int graphicId) {
  ++total_;
  RecentCall& slot = recent_[(reinterpret_cast<std::uintptr_t>(operation) >> 3) % kRecentSlots];
  if (slot.operation != operation) {
    long*& counter = byAddress_[operation];
    if (!counter) counter = &calls_.try_emplace(std::string(operation), 0).first->second;
    slot = {operation, counter};
  }
  ++*slot.counter;
  if (rules_.empty()) return;
  const std::string_view name(operation);
  bool fail = false;
  for (FaultRule& rule : rules_) {
    if (rule.Matches(name, graphicId) && rule.Trip()) fail = true;
  }
  if (fail) throw HostError("injected failure: " + std::string(name));
}

long FaultInjector::Calls(std::string_view operation) const {
  const auto it = calls_.find(operation);
  return it == calls_.end() ? 0 : it->second;
}

void FaultInjector::ResetCounts() {
  for (auto& entry : calls_) entry.second = 0;
  total_ = 0;
}

}  // namespace pphatch::mem
