#include "memhost/view.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "memhost/drawing.h"

namespace pphatch::mem {

namespace {

// One entry of a pick result.
class MemPick : public HostPick {
 public:
  MemPick(std::shared_ptr<MemGraphic> graphic, std::shared_ptr<FaultInjector> faults)
      : graphic_(std::move(graphic)), faults_(std::move(faults)) {}
  HostGraphicPtr Graphic() override {
    faults_->Enter("HostPick.Graphic", graphic_->Id());
    return graphic_;
  }

 private:
  std::shared_ptr<MemGraphic> graphic_;
  std::shared_ptr<FaultInjector> faults_;
};

// A pick with a non-finite position or size is refused, as a host would.
void RequireFinite(std::initializer_list<double> values) {
  for (const double v : values) {
    if (!std::isfinite(v)) throw HostError("pick position or size is not a finite number");
  }
}

// Owning pointers for the picked graphics.
std::vector<std::shared_ptr<MemGraphic>> Hold(const std::vector<MemGraphic*>& graphics) {
  std::vector<std::shared_ptr<MemGraphic>> held;
  held.reserve(graphics.size());
  for (MemGraphic* g : graphics) held.push_back(g->shared_from_this());
  return held;
}

}  // namespace

MemView::MemView(std::shared_ptr<MemDrawing> drawing, double width, double height)
    : drawing_(std::move(drawing)), width_(width), height_(height) {}

HostDrawingPtr MemView::Drawing() {
  drawing_->Faults().Enter("HostView.Drawing");
  return drawing_;
}

double MemView::ViewLeft() {
  drawing_->Faults().Enter("HostView.ViewLeft");
  return left_;
}

double MemView::ViewWidth() {
  drawing_->Faults().Enter("HostView.ViewWidth");
  return width_;
}

double MemView::ViewHeight() {
  drawing_->Faults().Enter("HostView.ViewHeight");
  return height_;
}

HostPoint3 MemView::ViewToWorld(double vx, double vy, double vz) {
  drawing_->Faults().Enter("HostView.ViewToWorld");
  const Vec2 p = ToDrawing({vx, vy});
  return {p.x, p.y, vz / zoom_};
}

HostPoint3 MemView::WorldToView(double x, double y, double z) {
  drawing_->Faults().Enter("HostView.WorldToView");
  const Vec2 v = ToView({x, y});
  return {v.x, v.y, z * zoom_};
}

HostPickResultPtr MemView::PickPoint(double x, double y, double& aperture,
                                     const std::optional<PickFlags>& /*flags*/) {
  drawing_->Faults().Enter("HostView.PickPoint");
  RequireFinite({x, y, aperture});
  const auto hits = drawing_->Index().AtPoint(ToDrawing({x, y}), std::fabs(aperture) / zoom_);
  return std::make_shared<MemPickResult>(Hold(hits), drawing_->FaultsPtr());
}

HostPickResultPtr MemView::PickWindow(double x1, double y1, double x2, double y2) {
  drawing_->Faults().Enter("HostView.PickWindow");
  RequireFinite({x1, y1, x2, y2});
  const double lx = std::min(x1, x2), hx = std::max(x1, x2);
  const double ly = std::min(y1, y2), hy = std::max(y1, y2);
  const std::vector<Vec2> window{ToDrawing({lx, ly}), ToDrawing({hx, ly}), ToDrawing({hx, hy}),
                                 ToDrawing({lx, hy})};
  const auto hits = drawing_->Index().InPolygon(window);
  return std::make_shared<MemPickResult>(Hold(hits), drawing_->FaultsPtr());
}

void MemView::SetSize(double width, double height) {
  width_ = width;
  height_ = height;
}

void MemView::SetZoom(double zoom) {
  if (!(zoom > 0)) throw HostError("zoom must be positive");
  zoom_ = zoom;
}

void MemView::FitToDrawing(double margin) {
  const auto box = drawing_->Index().Bounds();
  if (!box) return;
  centre_ = {(box->minX + box->maxX) / 2, (box->minY + box->maxY) / 2};
  // Extents of the box as the turned view sees them.
  double ex = 0, ey = 0;
  for (const Vec2 corner : {Vec2{box->minX, box->minY}, Vec2{box->maxX, box->minY},
                            Vec2{box->minX, box->maxY}, Vec2{box->maxX, box->maxY}}) {
    const Vec2 t = Rotated(Flip(corner - centre_), rotation_);
    ex = std::max(ex, 2 * std::fabs(t.x));
    ey = std::max(ey, 2 * std::fabs(t.y));
  }
  const double grow = 1 + 2 * margin;
  double zoom = 0;
  if (ex > 0) zoom = width_ / (ex * grow);
  if (ey > 0) zoom = zoom > 0 ? std::min(zoom, height_ / (ey * grow)) : height_ / (ey * grow);
  if (zoom > 0) zoom_ = zoom;
}

Vec2 MemView::ToDrawing(Vec2 view) const {
  return centre_ + Flip(Rotated((1 / zoom_) * (view - Middle()), -rotation_));
}

Vec2 MemView::ToView(Vec2 drawing) const {
  return Middle() + zoom_ * Rotated(Flip(drawing - centre_), rotation_);
}

MemPickResult::MemPickResult(std::vector<std::shared_ptr<MemGraphic>> graphics,
                             std::shared_ptr<FaultInjector> faults)
    : graphics_(std::move(graphics)), faults_(std::move(faults)) {}

int MemPickResult::Count() {
  faults_->Enter("HostPickResult.Count");
  return static_cast<int>(graphics_.size());
}

HostPickPtr MemPickResult::Item(int index) {
  faults_->Enter("HostPickResult.Item");
  if (index < 0 || index >= static_cast<int>(graphics_.size())) {
    throw HostError("pick index out of range");
  }
  return std::make_shared<MemPick>(graphics_[static_cast<std::size_t>(index)], faults_);
}

}  // namespace pphatch::mem
