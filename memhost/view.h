// A view of an in-memory drawing: pan, zoom, rotation, mirror, and picking.
#pragma once

#include <memory>
#include <vector>

#include "memhost/fault_injector.h"
#include "memhost/vec.h"
#include "pphatch/host.h"

namespace pphatch::mem {

class MemDrawing;
class MemGraphic;

/// A window of the drawing. The visible area is [left, left + width] x
/// [0, height] in view units; the drawing point `centre` shows at the
/// middle of it:
///   view = zoom * R(rotation) * F * (drawing - centre) + (left + width/2, height/2)
/// with F = diag(-1, 1) in a mirrored view (drawing x reversed before the
/// turn) and the identity otherwise; view z = zoom * drawing z. ViewToWorld
/// and WorldToView are exact inverses of each other (up to rounding).
class MemView : public HostView {
 public:
  explicit MemView(std::shared_ptr<MemDrawing> drawing, double width = 1000, double height = 750);

  HostDrawingPtr Drawing() override;
  double ViewLeft() override;
  double ViewWidth() override;
  double ViewHeight() override;
  HostPoint3 ViewToWorld(double vx, double vy, double vz) override;
  HostPoint3 WorldToView(double x, double y, double z) override;
  /// Top-level graphics whose geometry passes within aperture / zoom drawing
  /// units (Euclidean) of the view point, or whose filled closed area holds
  /// it; in drawing order. The flags are ignored; `aperture` is not changed.
  /// HostError for a non-finite position or aperture.
  HostPickResultPtr PickPoint(double x, double y, double& aperture,
                              const std::optional<PickFlags>& flags = std::nullopt) override;
  /// Top-level graphics whose geometry crosses or lies inside the window
  /// (view coordinates; the window is turned with the view); in drawing order.
  HostPickResultPtr PickWindow(double x1, double y1, double x2, double y2) override;

  // --- Model ---
  void SetSize(double width, double height);
  void SetLeft(double left) { left_ = left; }
  void SetCentre(Vec2 centre) { centre_ = centre; }
  /// View units per drawing unit; must be positive.
  void SetZoom(double zoom);
  void SetRotation(double radians) { rotation_ = radians; }
  /// Shows the drawing mirrored (its x reversed before the rotation).
  void SetMirrored(bool mirrored) { mirrored_ = mirrored; }
  /// Centres the drawing's extents and zooms so that they fill the view,
  /// leaving `margin` (a fraction of the extents) on each side. The rotation
  /// and the mirror stay. Nothing happens for a drawing without geometry.
  void FitToDrawing(double margin = 0.05);

  /// The drawing shown, its size in view units (no host call counted).
  const std::shared_ptr<MemDrawing>& DrawingModel() const { return drawing_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  Vec2 Centre() const { return centre_; }
  double Zoom() const { return zoom_; }
  double Rotation() const { return rotation_; }
  bool Mirrored() const { return mirrored_; }
  /// Drawing point of a view point (no host call counted).
  Vec2 ToDrawing(Vec2 view) const;
  /// View point of a drawing point (no host call counted).
  Vec2 ToView(Vec2 drawing) const;

 private:
  Vec2 Middle() const { return {left_ + width_ / 2, height_ / 2}; }
  /// The view's mirror F applied to a vector (F is its own inverse).
  Vec2 Flip(Vec2 v) const { return mirrored_ ? Vec2{-v.x, v.y} : v; }

  std::shared_ptr<MemDrawing> drawing_;
  double width_, height_;
  double left_ = 0;
  Vec2 centre_;
  double zoom_ = 1;
  double rotation_ = 0;
  bool mirrored_ = false;
};

/// The graphics of a pick, in order.
class MemPickResult : public HostPickResult {
 public:
  MemPickResult(std::vector<std::shared_ptr<MemGraphic>> graphics,
                std::shared_ptr<FaultInjector> faults);
  int Count() override;
  HostPickPtr Item(int index) override;
  const std::vector<std::shared_ptr<MemGraphic>>& Graphics() const { return graphics_; }

 private:
  std::vector<std::shared_ptr<MemGraphic>> graphics_;
  std::shared_ptr<FaultInjector> faults_;
};

}  // namespace pphatch::mem
