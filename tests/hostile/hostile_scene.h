// A drawing and a view for requests on hostile drawings; every click runs
// under the rules of fuzz/checked_request.h.
#pragma once

#include <memory>

#include "fuzz/checked_request.h"
#include "memhost/builders.h"
#include "memhost/drawing.h"
#include "memhost/view.h"
#include "support/request_fixture.h"

namespace pphatch::hostile {

/// An empty drawing with a 1000 x 750 view.
struct HostileScene {
  std::shared_ptr<mem::MemDrawing> drawing = mem::MemDrawing::Create();
  std::shared_ptr<mem::MemView> view = std::make_shared<mem::MemView>(drawing);

  /// Centres the view on the drawing point at that zoom.
  void Look(mem::Vec2 centre, double zoom) {
    view->SetCentre(centre);
    view->SetZoom(zoom);
  }

  /// Clicks at the drawing point (the view stays as it is) and checks the request.
  reliability::CheckedAnswer ClickAt(double x, double y) {
    const mem::Vec2 v = view->ToView({x, y});
    return ClickView(v.x, v.y, {x, y});
  }

  /// Clicks at the drawing point with the view centred there, at that zoom.
  reliability::CheckedAnswer Click(double x, double y, double zoom = 1) {
    Look({x, y}, zoom);
    return ClickAt(x, y);
  }

  /// Clicks at a view point as given; `click` is its drawing point.
  reliability::CheckedAnswer ClickView(double vx, double vy, Point2 click) {
    return reliability::RunCheckedRequest({drawing, view, click, {vx, vy}});
  }
};

/// Net hatched area of a successful answer: outer boundary less islands.
inline double NetArea(const reliability::Answer& answer) {
  return PickOutcome{true, "", answer.contours}.NetArea();
}

}  // namespace pphatch::hostile
