// Two pieces of work at once, for the readers that split a big file in halves.
#pragma once

#include <exception>
#include <thread>
#include <utility>

namespace pphatch::formats {

/// Runs `first` on this thread and `second` on a thread of its own, at
/// once, and returns when both are done. When either throws, its fault is
/// raised then, the first's before the second's, as running them one after
/// the other would raise it.
template <class First, class Second>
void RunSideBySide(First&& first, Second&& second) {
  std::exception_ptr firstFault, secondFault;
  std::thread thread([&second, &secondFault] {
    try {
      std::forward<Second>(second)();
    } catch (...) {
      secondFault = std::current_exception();
    }
  });
  try {
    std::forward<First>(first)();
  } catch (...) {
    firstFault = std::current_exception();
  }
  thread.join();
  if (firstFault) std::rethrow_exception(firstFault);
  if (secondFault) std::rethrow_exception(secondFault);
}

}  // namespace pphatch::formats
