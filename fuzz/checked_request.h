// One request run under watch: the drawing must come out unchanged, the
// answer must keep the rules, and the request must end within its budget.
#pragma once

#include <string>

#include "fuzz/drawing_decoder.h"
#include "fuzz/outcome_check.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch::reliability {

/// Seconds a request may run past its budget before it counts as overrun:
/// the work between two budget checks, on a slow, sanitized build.
inline constexpr double kBudgetMargin = 10.0;

/// A request's answer and the first rule it broke.
struct CheckedAnswer {
  Answer answer;
  /// The broken rule in words; empty when the request kept every rule.
  std::string problem;
};

/// Binds a fresh PickPointHatch to the request's view, clicks and checks
/// everything. `clockScale` is how much faster than real time the request's
/// clock runs (its budget then lasts budget / clockScale real seconds); 1
/// leaves the steady clock in place.
CheckedAnswer RunCheckedRequest(const DecodedRequest& request, double clockScale = 1.0);

}  // namespace pphatch::reliability
