#include "bench/pphatch_run.h"

#include <any>
#include <chrono>
#include <cmath>
#include <ctime>
#include <string>

#include "bench/alloc_meter.h"
#include "memhost/view_setup.h"

namespace pphatch::bench {

namespace {

// Area enclosed by a closed chain (either orientation).
double Area(const std::vector<Vec2>& chain) {
  double twice = 0;
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) twice += mem::Cross(chain[i], chain[i + 1]);
  if (!chain.empty()) twice += mem::Cross(chain.back(), chain.front());
  return std::fabs(twice) / 2;
}

// The children of a result graphic as point chains, in order.
std::vector<std::vector<Vec2>> ReadContours(const HostGraphicPtr& result) {
  std::vector<std::vector<Vec2>> contours;
  const HostGraphicsPtr children = result->Graphics();
  const int count = children->Count();
  for (int i = 0; i < count; ++i) {
    const HostVerticesPtr vertices = children->Item(i)->Vertices();
    const int n = vertices->Count();
    std::vector<Vec2> chain;
    for (int k = 0; k < n; ++k) {
      const HostVertexPtr v = vertices->Item(k);
      chain.push_back({v->X(), v->Y()});
    }
    contours.push_back(std::move(chain));
  }
  return contours;
}

// CPU time of the calling thread, in seconds. On a machine shared with
// other work the wall clock also counts the time others had the processor.
double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

}  // namespace

double NetArea(const std::vector<std::vector<Vec2>>& contours) {
  double area = 0;
  for (std::size_t i = 0; i < contours.size(); ++i) {
    area += (i == 0 ? 1 : -1) * Area(contours[i]);
  }
  return area;
}

PphatchClicker::PphatchClicker(std::shared_ptr<mem::MemDrawing> drawing, ViewChoice view)
    : drawing_(std::move(drawing)), view_(std::make_shared<mem::MemView>(drawing_)), choice_(view) {
  SetBeepHandler([] {});
  hatch_.Init(view_);
}

PphatchClicker::~PphatchClicker() { SetBeepHandler(nullptr); }

ClickOutcome PphatchClicker::Click(Vec2 at) {
  if (choice_ == ViewChoice::kAroundClick) {
    mem::ShowAroundClick(*view_, at);
  } else {
    view_->FitToDrawing();
  }
  const Vec2 v = view_->ToView(at);
  ClickOutcome outcome;
  HostGraphicPtr result;
  std::string error;
  std::any reserved;
  {
    const PeakHeap heap;
    const double cpuStart = ThreadCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    outcome.ok = hatch_.CreateClosedContour(v.x, v.y, result, error, reserved);
    const auto stop = std::chrono::steady_clock::now();
    outcome.cpuSeconds = ThreadCpuSeconds() - cpuStart;
    outcome.seconds = std::chrono::duration<double>(stop - start).count();
    outcome.peakBytes = heap.Peak();
  }
  if (outcome.ok && result) {
    outcome.contours = ReadContours(result);
    outcome.area = NetArea(outcome.contours);
  } else {
    outcome.ok = false;
  }
  return outcome;
}

}  // namespace pphatch::bench
