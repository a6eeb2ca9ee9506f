// Keeps long computations of a request inside its time budget.
#pragma once

#include <stdexcept>

#include "component/state.h"

namespace pphatch {

/// Raised when a request's budget runs out in the middle of a computation;
/// the request driver turns it into the failure message.
class BudgetSpent : public std::runtime_error {
 public:
  BudgetSpent() : std::runtime_error("the request's time budget is spent") {}
};

/// Reads the clock every few thousand steps of a loop and raises BudgetSpent
/// once the request's budget is spent. Without a request (a null state) it
/// never raises.
class BudgetGuard {
 public:
  explicit BudgetGuard(const ObjectState* state) : state_(state) {}

  /// Counts one step of work; checks the clock every kStepsPerCheck steps.
  void Step() {
    if (++steps_ % kStepsPerCheck == 0) Check();
  }
  /// Checks the clock now.
  void Check() const {
    if (state_ && BudgetExceeded(*state_)) throw BudgetSpent();
  }

 private:
  static constexpr unsigned kStepsPerCheck = 4096;
  const ObjectState* state_;
  unsigned steps_ = 0;
};

}  // namespace pphatch
