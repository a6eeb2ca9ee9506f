// Small host reads shared by the drawing scan. Each one raises HostError
// when the host call fails or when the object it is asked about is nothing,
// so that a read in continue-on-error mode simply leaves its variable as it was.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "component/continue_on_error.h"
#include "pphatch/host.h"

namespace pphatch {

/// p itself; raises HostError when p is nothing. Returned by value, so a
/// host object handed out by a call stays alive while it is used.
template <class T>
std::shared_ptr<T> Must(std::shared_ptr<T> p) {
  if (!p) throw HostError("object not set");
  return p;
}

/// The value a read returns, or `fallback` when the read fails: one
/// continue-on-error statement that assigns a fresh variable.
template <class T, class Read>
T ReadOr(T fallback, Read&& read) {
  Attempt([&] { fallback = read(); });
  return fallback;
}

/// Switch of one scan call between plain mode, where a failing statement
/// raises to the caller, and continue-on-error mode, where it is skipped.
/// Once entered, the mode lasts as long as the switch.
class ErrorMode {
 public:
  /// From now on failing statements are skipped.
  void Enter() { continuing_ = true; }

  /// Runs one statement under the current mode; false when it failed and was skipped.
  template <class Statement>
  bool operator()(Statement&& statement) {
    if (continuing_) return Attempt(std::forward<Statement>(statement));
    statement();
    return true;
  }

 private:
  bool continuing_ = false;
};

/// The graphic's type-name text.
std::string TypeOf(const HostGraphicPtr& graphic);

/// Number of child graphics.
int ChildCount(const HostGraphicPtr& graphic);

/// Child graphic at `index`.
HostGraphicPtr ChildAt(const HostGraphicPtr& graphic, int index);

/// Number of vertices of the graphic's chain.
int VertexCount(const HostGraphicPtr& graphic);

/// The named property as a text; a number never equals a text compared
/// against it, so it is given in its decimal spelling.
std::string PropertyText(const HostGraphicPtr& graphic, const std::string& name);

/// The named property as a number (a text must spell one).
double PropertyNumberOf(const HostGraphicPtr& graphic, const std::string& name);

}  // namespace pphatch
