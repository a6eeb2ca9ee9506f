// Running the component on a drawing, one request per pick point.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "formats/dxf_writer.h"
#include "memhost/drawing.h"
#include "memhost/view.h"
#include "points.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch::cli {

/// What one pick gave.
struct PickOutcome {
  DrawingPoint at;                         ///< the pick point, drawing coordinates
  bool ok = false;                         ///< an area was found
  std::vector<formats::Contour> contours;  ///< outer boundary first, then the islands
  std::string error;                       ///< the component's message when !ok
  double ms = 0;                           ///< wall time of the request, milliseconds
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
  explicit Picker(const std::shared_ptr<mem::MemDrawing>& drawing);
  /// Sets the view up for the click (ShowForClick) and runs one request, timed.
  PickOutcome Pick(DrawingPoint click);

 private:
  std::shared_ptr<mem::MemView> view_;
  PickPointHatch hatch_;
};

/// Binds one component to a view of the drawing and runs one request per
/// point, in order. Beeps are silenced. A host error that escapes a request
/// counts as a failed pick carrying the error's text.
std::vector<PickOutcome> RunPicks(const std::shared_ptr<mem::MemDrawing>& drawing,
                                  const std::vector<DrawingPoint>& points);

}  // namespace pphatch::cli
