#include "area/neighbourhood.h"

#include <algorithm>
#include <cmath>

#include "component/continue_on_error.h"
#include "component/view_convert.h"
#include "curves/extract.h"
#include "geometry/checked_math.h"
#include "scan/candidate_scan.h"

namespace pphatch {
namespace {

// A chain needs two points to bound anything.
constexpr int kMinChainPoints = 2;

template <class Ptr>
Ptr Required(Ptr object, const char* what) {
  if (!object) throw HostError(std::string("the host returned no ") + what);
  return object;
}

}  // namespace

Neighbourhood::Neighbourhood(ObjectState& state, BudgetGuard& budget)
    : state_(state), budget_(budget) {
  ModuleState& module = Module();
  state_.SearchSets = Required(Required(module.Drawing, "drawing")->GraphicSets(), "sets");
  state_.SearchSet = Required(state_.SearchSets->Add(), "set");
}

// The view window that covers the drawing box: the box's corners seen in
// the view, which may be turned or mirrored, and the window around them.
HostPickResultPtr Neighbourhood::Pick(const Box& box) const {
  double left = INFINITY, right = -INFINITY, bottom = INFINITY, top = -INFINITY;
  for (const Point2 corner : {Point2{box.minX, box.minY}, Point2{box.maxX, box.minY},
                              Point2{box.maxX, box.maxY}, Point2{box.minX, box.maxY}}) {
    const HostPoint3 v = WorldToView(corner.x, corner.y, 0);
    left = std::min(left, v.x);
    right = std::max(right, v.x);
    bottom = std::min(bottom, v.y);
    top = std::max(top, v.y);
  }
  if (!std::isfinite(left + right + bottom + top)) throw ComputeError("a window beyond the view");
  return Required(Required(Module().View, "view")->PickWindow(left, bottom, right, top), "picks");
}

int Neighbourhood::CountIn(const Box& box) const { return Pick(box)->Count(); }

void Neighbourhood::Cover(const Box& box) {
  const HostPickResultPtr picks = Pick(box);
  const HostGraphicSetPtr set = Required(state_.SearchSet, "set");
  const int count = picks->Count();
  for (int i = 0; i < count; ++i) {
    budget_.Step();
    HostGraphicPtr graphic;
    if (!Attempt([&] { graphic = Required(picks->Item(i), "pick")->Graphic(); }) || !graphic) continue;
    int id = -1;
    Attempt([&] { id = graphic->ID(); });
    if (id != -1 && !seen_.insert(id).second) continue;
    ScanPickedGraphic(state_, graphic, set);
  }
  const int made = set->Count();
  for (int k = 0; k < made; ++k) {
    budget_.Step();
    CurveRecord chain;
    HostGraphicPtr item;
    if (!Attempt([&] { item = set->Item(k); })) continue;
    if (!ExtractCurve(item, chain) || chain.PointCount < kMinChainPoints) continue;
    chains_.push_back(std::move(chain));
  }
  set->Clear();
}

int Neighbourhood::DrawingGraphicCount() const {
  return Required(Module().DrawingGraphics, "graphics")->Count();
}

std::optional<Box> Neighbourhood::DrawingBox() const {
  const HostBoundingBoxPtr box =
      Required(Required(Module().DrawingGraphics, "graphics")->CalcBoundingBox(), "bounding box");
  const HostVertexPtr low = Required(box->Min(), "corner"), high = Required(box->Max(), "corner");
  Box result{low->X(), low->Y(), high->X(), high->Y()};
  if (!std::isfinite(result.minX + result.minY + result.maxX + result.maxY)) return std::nullopt;
  if (result.minX > result.maxX || result.minY > result.maxY) return std::nullopt;
  return result;
}

std::optional<double> Neighbourhood::ViewSpan() {
  const HostViewPtr view = Required(Module().View, "view");
  const double height = view->ViewHeight();
  const HostPoint3 a = ViewToWorld(0, 0, 0), b = ViewToWorld(0, height, 0);
  const double span = std::hypot(b.x - a.x, b.y - a.y);
  if (!(span > 0) || !std::isfinite(span)) return std::nullopt;
  return span;
}

}  // namespace pphatch
