// Continue-on-error mode: a failing statement is skipped and the work goes on.
#pragma once

#include <exception>
#include <utility>

namespace pphatch {

/// Runs one statement; a run-time error it raises is swallowed, so whatever
/// result variable the statement would have written keeps its old value.
/// Returns false when the statement failed.
template <class Statement>
bool Attempt(Statement&& statement) {
  try {
    std::forward<Statement>(statement)();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace pphatch
