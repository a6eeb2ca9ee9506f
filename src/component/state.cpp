// Per-thread module state, the request clock and the request budget.
#include "component/state.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <utility>

#include "pphatch/pick_point_hatch.h"

namespace pphatch {
namespace {

// The clock tests install in place of the steady clock; shared by all threads.
struct TestClock {
  std::mutex mutex;
  std::function<double()> clock;
};

TestClock& Clock() {
  static TestClock instance;
  return instance;
}

// Seconds of the monotonic clock; unaffected by changes of the wall time.
double SteadySeconds() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(since).count();
}

}  // namespace

// This thread's module-wide state.
ModuleState& Module() {
  thread_local ModuleState state;
  return state;
}

// Installs (or, with nullptr, removes) the test clock.
void SetClockForTesting(std::function<double()> clock) {
  TestClock& c = Clock();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.clock = std::move(clock);
}

// The test clock when one is set, else the steady clock, in seconds.
double ClockSeconds() {
  std::function<double()> clock;
  {
    TestClock& c = Clock();
    std::lock_guard<std::mutex> lock(c.mutex);
    clock = c.clock;
  }
  return clock ? clock() : SteadySeconds();
}

// True when more than the budget has passed since the request started.
bool BudgetExceeded(const ObjectState& state) {
  return ClockSeconds() - state.StartTime > kRequestBudgetSeconds;
}

}  // namespace pphatch
