// A drawing with a view on it, and pick helpers, for the in-memory host tests.
#pragma once

#include <memory>
#include <vector>

#include "memhost/builders.h"
#include "memhost/drawing.h"
#include "memhost/view.h"

namespace pphatch::mem {

/// A drawing and an unturned 1000 x 1000 view of it, zoom 1, centred on (0, 0):
/// view point (500 + x, 500 + y) shows drawing point (x, y).
struct HostFixture {
  std::shared_ptr<MemDrawing> drawing = MemDrawing::Create();
  std::shared_ptr<MemView> view = std::make_shared<MemView>(drawing, 1000, 1000);

  /// IDs of the graphics picked within `radius` drawing units of (x, y).
  std::vector<int> PickAt(double x, double y, double radius) {
    const Vec2 v = view->ToView({x, y});
    double aperture = radius * view->Zoom();
    return Ids(view->PickPoint(v.x, v.y, aperture));
  }

  /// IDs of the graphics picked by the window with drawing corners a and b.
  std::vector<int> PickWindowAt(Vec2 a, Vec2 b) {
    const Vec2 va = view->ToView(a), vb = view->ToView(b);
    return Ids(view->PickWindow(va.x, va.y, vb.x, vb.y));
  }

  /// The IDs of a pick result, in its order.
  static std::vector<int> Ids(const HostPickResultPtr& result) {
    std::vector<int> ids;
    for (int i = 0; i < result->Count(); ++i) ids.push_back(result->Item(i)->Graphic()->ID());
    return ids;
  }
};

/// X and Y of vertex i, read through the host interface.
inline Vec2 VertexAt(const HostGraphicPtr& g, int i) {
  const auto v = g->Vertices()->Item(i);
  return {v->X(), v->Y()};
}

}  // namespace pphatch::mem
