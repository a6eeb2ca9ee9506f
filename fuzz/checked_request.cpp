// Runs one request with snapshots, a beep counter and a watched clock around it.
#include "fuzz/checked_request.h"

#include <any>
#include <chrono>
#include <exception>
#include <memory>

#include "component/state.h"
#include "memhost/snapshot.h"

namespace pphatch::reliability {
namespace {

// Seconds of the steady clock.
double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Installs a beep counter, the request clock and the host call limit; undoes
// all three.
class RequestWatch {
 public:
  RequestWatch(const RequestClock& clock, const std::shared_ptr<mem::FaultInjector>& faults)
      : clock_(clock), faults_(faults), realStart_(SteadySeconds()), callStart_(faults->TotalCalls()) {
    SetBeepHandler([this] { ++beeps; });
    if (!clock_.IsSteady()) SetClockForTesting([this] { return Now(); });
    if (clock_.hostCallLimit > 0) faults_->Fail("*").After(clock_.hostCallLimit);
  }
  ~RequestWatch() {
    SetBeepHandler(nullptr);
    if (!clock_.IsSteady()) SetClockForTesting(nullptr);
    if (clock_.hostCallLimit > 0) faults_->ClearFaults();
  }
  RequestWatch(const RequestWatch&) = delete;
  RequestWatch& operator=(const RequestWatch&) = delete;

  // The request's clock, in seconds.
  double Now() const {
    const double real = SteadySeconds() - realStart_;
    const double calls = static_cast<double>(faults_->TotalCalls() - callStart_);
    return real * clock_.realScale + calls * clock_.secondsPerHostCall;
  }

  int beeps = 0;

 private:
  RequestClock clock_;
  std::shared_ptr<mem::FaultInjector> faults_;
  double realStart_;
  long callStart_;
};

}  // namespace

// Snapshot, request under watch, snapshot again, then the checks in order.
CheckedAnswer RunCheckedRequest(const DecodedRequest& request, const RequestClock& clock) {
  const std::string before = mem::Snapshot(*request.drawing);
  PickPointHatch hatch;
  HostGraphicPtr result;
  std::string error;
  std::any reserved;
  bool ok = false;
  int beeps = 0;
  double seconds = 0;
  {
    RequestWatch watch(clock, request.drawing->FaultsPtr());
    hatch.Init(request.view);
    hatch.SetGapTolerance(request.gap);
    const double start = watch.Now();
    try {
      ok = hatch.CreateClosedContour(request.viewClick.x, request.viewClick.y, result, error,
                                     reserved);
    } catch (const std::exception& e) {
      return {{}, std::string("the request threw: ") + e.what(), watch.Now() - start};
    }
    seconds = watch.Now() - start;
    beeps = watch.beeps;
  }
  CheckedAnswer checked{ReadAnswer(ok, error, result), {}, seconds};
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
