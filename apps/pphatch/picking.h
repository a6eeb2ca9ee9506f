// Running the component on a drawing, one request per pick point.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "formats/contour_measure.h"
#include "formats/dxf_writer.h"
#include "formats/true_contour.h"
#include "memhost/drawing.h"
#include "memhost/view.h"
#include "points.h"
#include "pphatch/pick_diagnosis.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch::cli {

/// What one pick gave.
struct PickOutcome {
  int index = 0;                           ///< the pick's number, from 1 in the order given
  DrawingPoint at;                         ///< the pick point, drawing coordinates
  bool ok = false;                         ///< an area was found
  std::vector<formats::Contour> contours;  ///< outer boundary first, then the islands
  std::vector<formats::TrueContour> curves;  ///< the contours on the drawing's curves
  formats::AreaMeasures measures;          ///< measured on `curves`
  std::string error;                       ///< the component's message when !ok
  std::string code;                        ///< the failure's code when !ok (see FailureCode)
  double ms = 0;                           ///< wall time of the request, milliseconds
  PickDiagnosis diagnosis;                 ///< why it failed, or the gaps its area bridges
};

/// Sets the view up for a request at `click` as a user would: centred on
/// the click and zoomed in on its neighbourhood, or the whole drawing when
/// the drawing is small. Window picks along a boundary are sized from the
/// view, so on a huge drawing a view of the neighbourhood keeps each pick
/// small; the march and the picks still reach beyond what is in sight.
void ShowForClick(mem::MemView& view, DrawingPoint click);

/// One component bound to a view of the drawing, for requests made one after
/// the other. The component keeps its binding per thread: make and use a
/// Picker on one thread. Beeps are silenced. A host error that escapes a
/// request counts as a failed pick carrying the error's text.
class Picker {
 public:
  /// Gaps up to `gap` drawing units are bridged.
  explicit Picker(const std::shared_ptr<mem::MemDrawing>& drawing, double gap = 0);
  /// Sets the view up for the click (ShowForClick) and runs one request,
  /// timed; a found area is read back onto the drawing's curves and measured.
  PickOutcome Pick(DrawingPoint click);
  /// The gap tolerance of the requests from now on.
  void SetGap(double gap) { hatch_.SetGapTolerance(gap); }

 private:
  std::shared_ptr<mem::MemDrawing> drawing_;
  std::shared_ptr<mem::MemView> view_;
  PickPointHatch hatch_;
};

/// Binds one component to a view of the drawing and runs one request per
/// point, in order. Beeps are silenced. A host error that escapes a request
/// counts as a failed pick carrying the error's text. `done`, when given,
/// is called with each outcome as soon as its pick ends. Gaps up to `gap`
/// drawing units are bridged.
std::vector<PickOutcome> RunPicks(const std::shared_ptr<mem::MemDrawing>& drawing,
                                  const std::vector<DrawingPoint>& points,
                                  const std::function<void(const PickOutcome&)>& done = {},
                                  double gap = 0);

}  // namespace pphatch::cli
