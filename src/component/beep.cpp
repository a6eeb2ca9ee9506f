// The replaceable beep, so that tests and tools can observe or silence it.
#include "component/beep.h"

#include <cstdio>
#include <functional>
#include <mutex>
#include <utility>

#include "pphatch/pick_point_hatch.h"

namespace pphatch {
namespace {

// The installed handler; empty means the default beep. Shared by all threads.
struct BeepSlot {
  std::mutex mutex;
  std::function<void()> handler;
};

BeepSlot& Slot() {
  static BeepSlot slot;
  return slot;
}

}  // namespace

// Installs a beep handler; nullptr restores the default.
void SetBeepHandler(std::function<void()> handler) {
  BeepSlot& slot = Slot();
  std::lock_guard<std::mutex> lock(slot.mutex);
  slot.handler = std::move(handler);
}

// Calls the handler outside the lock, so a handler may replace itself.
void Beep() {
  std::function<void()> handler;
  {
    BeepSlot& slot = Slot();
    std::lock_guard<std::mutex> lock(slot.mutex);
    handler = slot.handler;
  }
  try {
    if (handler) {
      handler();
    } else {
      std::fputc('\a', stderr);
      std::fflush(stderr);
    }
  } catch (...) {
    // The beep only accompanies a failure report; it must not replace it.
  }
}

}  // namespace pphatch
