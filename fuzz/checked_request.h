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

/// How the request's clock runs. By default it is the steady clock. A test
/// clock can run faster than real time, and can also move on with every
/// host call the request makes, so that a request doing endless host work
/// reaches its budget in a short real time whatever the machine's speed.
struct RequestClock {
  /// Request seconds per real second.
  double realScale = 1.0;
  /// Request seconds added by each host call.
  double secondsPerHostCall = 0.0;
  /// After this many host calls every further call fails, ending a request
  /// that overran its budget; 0 for no such limit.
  long hostCallLimit = 0;

  bool IsSteady() const { return realScale == 1.0 && secondsPerHostCall == 0.0; }
};

/// The clock of the request fuzz target, and of the fuzz inputs replayed as
/// tests: ten times real time plus 0.1 ms per host call, so that a request
/// that makes the search long reaches its budget (200,000 host calls at
/// most) within fuzzing time; 400,000 host calls end any request that went
/// on past it.
inline constexpr RequestClock kFuzzClock{10.0, 1e-4, 400000};

/// A request's answer and the first rule it broke.
struct CheckedAnswer {
  Answer answer;
  /// The broken rule in words; empty when the request kept every rule.
  std::string problem;
  /// Request seconds from start to end, on the request's clock.
  double seconds = 0;
};

/// Binds a fresh PickPointHatch to the request's view, clicks and checks
/// everything. Not for use on several threads at once: it installs the
/// process-wide beep handler and test clock for the length of the request.
CheckedAnswer RunCheckedRequest(const DecodedRequest& request, const RequestClock& clock = {});

}  // namespace pphatch::reliability
