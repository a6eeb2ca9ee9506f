// Runs one request with snapshots, a beep counter and a stopwatch around it.
#include "fuzz/checked_request.h"

#include <any>
#include <chrono>
#include <exception>

#include "component/state.h"
#include "memhost/snapshot.h"

namespace pphatch::reliability {
namespace {

// Seconds of the steady clock.
double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Installs a beep counter and, when asked, a faster clock; undoes both.
class RequestWatch {
 public:
  explicit RequestWatch(double clockScale) {
    SetBeepHandler([this] { ++beeps; });
    if (clockScale != 1.0) {
      SetClockForTesting([clockScale] { return SteadySeconds() * clockScale; });
    }
  }
  ~RequestWatch() {
    SetBeepHandler(nullptr);
    SetClockForTesting(nullptr);
  }
  RequestWatch(const RequestWatch&) = delete;
  RequestWatch& operator=(const RequestWatch&) = delete;

  int beeps = 0;
};

}  // namespace

CheckedAnswer RunCheckedRequest(const DecodedRequest& request, double clockScale) {
  const std::string before = mem::Snapshot(*request.drawing);
  PickPointHatch hatch;
  HostGraphicPtr result;
  std::string error;
  std::any reserved;
  bool ok = false;
  double seconds = 0;
  int beeps = 0;
  {
    RequestWatch watch(clockScale);
    hatch.Init(request.view);
    const double start = SteadySeconds();
    try {
      ok = hatch.CreateClosedContour(request.viewClick.x, request.viewClick.y, result, error,
                                     reserved);
    } catch (const std::exception& e) {
      return {{}, std::string("the request threw: ") + e.what()};
    }
    seconds = (SteadySeconds() - start) * clockScale;
    beeps = watch.beeps;
  }
  CheckedAnswer checked{ReadAnswer(ok, error, result), {}};
  if (seconds > kRequestBudgetSeconds + kBudgetMargin) {
    checked.problem = "the request ran " + std::to_string(seconds) + " s, past its budget";
  } else if (mem::Snapshot(*request.drawing) != before) {
    checked.problem = "the request changed the drawing";
  } else if (beeps != (ok ? 0 : 1)) {
    checked.problem = "the request beeped " + std::to_string(beeps) + " times";
  } else {
    checked.problem = AnswerProblem(checked.answer, request.click);
  }
  return checked;
}

}  // namespace pphatch::reliability
