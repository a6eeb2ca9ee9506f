// Clicks through the component, as the command-line tool makes them: one
// bound PickPointHatch, the view set up for each click, the request timed.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "bench/plan.h"
#include "memhost/drawing.h"
#include "memhost/view.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch::bench {

/// How the view is set up before each click.
enum class ViewChoice {
  kAroundClick,  ///< ShowAroundClick: the neighbourhood of the click
  kWholeDrawing  ///< FitToDrawing: the whole drawing
};

/// What one click gave.
struct ClickOutcome {
  bool ok = false;
  double seconds = 0;         ///< CreateClosedContour alone, wall clock
  double cpuSeconds = 0;      ///< the same, CPU time of the thread
  std::size_t peakBytes = 0;  ///< most heap the request held above its start
  double area = 0;            ///< outer boundary minus islands, when ok
  /// The result's contours (outer first), when ok.
  std::vector<std::vector<Vec2>> contours;
};

/// A component bound to a view of one drawing.
class PphatchClicker {
 public:
  PphatchClicker(std::shared_ptr<mem::MemDrawing> drawing, ViewChoice view);
  ~PphatchClicker();
  PphatchClicker(const PphatchClicker&) = delete;
  PphatchClicker& operator=(const PphatchClicker&) = delete;

  /// Sets the view up for the drawing point and runs one request there.
  ClickOutcome Click(Vec2 at);

 private:
  std::shared_ptr<mem::MemDrawing> drawing_;
  std::shared_ptr<mem::MemView> view_;
  ViewChoice choice_;
  PickPointHatch hatch_;
};

/// Net area of contours: the first (outer) minus the others (islands).
double NetArea(const std::vector<std::vector<Vec2>>& contours);

}  // namespace pphatch::bench
