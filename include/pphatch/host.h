// The host object model: the part of a CAD program's automation interface
// that pphatch reads the drawing through and builds its results with.
//
// Every object is held by shared ownership; dropping the last reference
// releases it. A host call that fails throws HostError. Truth values are
// bool, counts, indices (from 0) and identifiers are int, coordinates are
// doubles in drawing units unless a method says view units.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>

namespace pphatch {

/// Thrown by any host call that fails.
class HostError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// A property value: a number or a text.
using PropertyValue = std::variant<double, std::string>;

class HostView;
class HostDrawing;
class HostGraphics;
class HostGraphic;
class HostVertices;
class HostVertex;
class HostProperties;
class HostProperty;
class HostGraphicSets;
class HostGraphicSet;
class HostPickResult;
class HostPick;
class HostBoundingBox;
class HostWorkplane;

using HostViewPtr = std::shared_ptr<HostView>;
using HostDrawingPtr = std::shared_ptr<HostDrawing>;
using HostGraphicsPtr = std::shared_ptr<HostGraphics>;
using HostGraphicPtr = std::shared_ptr<HostGraphic>;
using HostVerticesPtr = std::shared_ptr<HostVertices>;
using HostVertexPtr = std::shared_ptr<HostVertex>;
using HostPropertiesPtr = std::shared_ptr<HostProperties>;
using HostPropertyPtr = std::shared_ptr<HostProperty>;
using HostGraphicSetsPtr = std::shared_ptr<HostGraphicSets>;
using HostGraphicSetPtr = std::shared_ptr<HostGraphicSet>;
using HostPickResultPtr = std::shared_ptr<HostPickResult>;
using HostPickPtr = std::shared_ptr<HostPick>;
using HostBoundingBoxPtr = std::shared_ptr<HostBoundingBox>;
using HostWorkplanePtr = std::shared_ptr<HostWorkplane>;

/// A point in three coordinates (drawing or view units).
struct HostPoint3 {
  double x = 0, y = 0, z = 0;
};

/// The six optional flags of HostView::PickPoint; their meaning is the host's.
using PickFlags = std::array<bool, 6>;

/// Kinds passed to the Add of a graphics list or a set.
enum GraphicKind : int {
  kContainerKind = 7,  ///< a graphic that holds child graphics
  kChainKind = 11,     ///< a plain graphic of one vertex chain ("GRAPHIC")
};

/// A window of the drawing on screen, in view coordinates.
class HostView {
 public:
  virtual ~HostView() = default;
  virtual HostDrawingPtr Drawing() = 0;
  virtual double ViewLeft() = 0;
  virtual double ViewWidth() = 0;
  virtual double ViewHeight() = 0;
  virtual HostPoint3 ViewToWorld(double vx, double vy, double vz) = 0;
  virtual HostPoint3 WorldToView(double x, double y, double z) = 0;
  /// Top-level graphics whose geometry passes within `aperture` (view units)
  /// of the view point, in drawing order.
  virtual HostPickResultPtr PickPoint(double x, double y, double& aperture,
                                      const std::optional<PickFlags>& flags = std::nullopt) = 0;
  /// Top-level graphics that cross or lie in the window (view coordinates).
  virtual HostPickResultPtr PickWindow(double x1, double y1, double x2, double y2) = 0;
};

/// A drawing: its graphics, sets, properties and workplane.
class HostDrawing {
 public:
  virtual ~HostDrawing() = default;
  virtual HostGraphicsPtr Graphics() = 0;
  virtual HostGraphicSetsPtr GraphicSets() = 0;
  virtual HostPropertiesPtr Properties() = 0;
  virtual HostWorkplanePtr Workplane() = 0;
  /// A new free graphic of kind 11, outside any drawing list or set.
  virtual HostGraphicPtr NewFreeGraphic() = 0;
};

/// The drawing's list of graphics, or the children of one graphic.
class HostGraphics {
 public:
  virtual ~HostGraphics() = default;
  virtual int Count() = 0;
  virtual HostGraphicPtr Item(int index) = 0;
  virtual HostGraphicPtr Add(int kind) = 0;
  /// Takes the graphic at `index` out of this list.
  virtual void Remove(int index) = 0;
  virtual HostGraphicPtr GraphicFromID(int id) = 0;
  virtual HostBoundingBoxPtr CalcBoundingBox() = 0;
  virtual HostDrawingPtr Drawing() = 0;
  /// The graphic that owns this list; throws for the drawing's own list.
  virtual HostGraphicPtr Parent() = 0;
};

/// One graphic of the drawing (or a free one).
class HostGraphic {
 public:
  virtual ~HostGraphic() = default;
  /// Type-name text, such as "GRAPHIC", "CIRCLE" or "PWW50Polyline".
  virtual std::string Type() = 0;
  virtual HostGraphicsPtr Graphics() = 0;
  virtual HostVerticesPtr Vertices() = 0;
  virtual HostPropertiesPtr Properties() = 0;
  virtual bool Closed() = 0;
  virtual void SetClosed(bool closed) = 0;
  virtual int ID() = 0;
  /// Position in the drawing's list of graphics.
  virtual int Index() = 0;
  virtual std::string InfoText() = 0;
  /// True for a graphic that never bounds an area.
  virtual bool IgnoreFlag() = 0;
  virtual HostWorkplanePtr Workplane() = 0;
  virtual void SetWorkplane(const HostWorkplanePtr& workplane) = 0;
  virtual void ApplyWorkplane(const HostWorkplanePtr& workplane) = 0;
  /// [0], [1] centre; [3], [4] end of the major axis; [6] minor/major ratio;
  /// [7], [8] start and end angle in radians. Other entries are unused.
  virtual std::array<double, 11> GetArcData() = 0;
  /// A copy of this graphic, placed in the drawing.
  virtual HostGraphicPtr Duplicate() = 0;
  /// The parts of this graphic, placed in the drawing, as a set.
  virtual HostGraphicSetPtr Explode() = 0;
  /// Discards this graphic; it leaves the drawing if it was in it.
  virtual void Delete() = 0;
};

/// The vertex chain of a graphic.
class HostVertices {
 public:
  virtual ~HostVertices() = default;
  virtual int Count() = 0;
  virtual HostVertexPtr Item(int index) = 0;
  /// Appends a vertex (pen down, not an arc point).
  virtual HostVertexPtr Add(double x, double y, double z = 0) = 0;
  /// False: vertices report plane (workplane) coordinates; true: world ones.
  virtual void SetWorldMode(bool world) = 0;
};

/// One vertex.
class HostVertex {
 public:
  virtual ~HostVertex() = default;
  virtual double X() = 0;
  virtual double Y() = 0;
  virtual double Z() = 0;
  virtual void SetX(double x) = 0;
  virtual void SetY(double y) = 0;
  /// False: the move to this vertex is not drawn; a new piece starts here.
  virtual bool PenDown() = 0;
  virtual void SetPenDown(bool down) = 0;
  /// True for the vertices of an arc run in a polyline.
  virtual bool ArcPoint() = 0;
};

/// Named properties of a graphic or drawing.
class HostProperties {
 public:
  virtual ~HostProperties() = default;
  /// The property of that name; throws HostError when there is none.
  virtual HostPropertyPtr Item(const std::string& name) = 0;
};

class HostProperty {
 public:
  virtual ~HostProperty() = default;
  virtual PropertyValue Value(int index = 0) = 0;
  virtual void SetValue(const PropertyValue& value, int index = 0) = 0;
};

/// Factory of free sets of graphics.
class HostGraphicSets {
 public:
  virtual ~HostGraphicSets() = default;
  virtual HostGraphicSetPtr Add(const std::string& name = "", bool flag = false) = 0;
};

/// A free set of graphics, not the drawing's own list.
class HostGraphicSet {
 public:
  virtual ~HostGraphicSet() = default;
  virtual int Count() = 0;
  virtual HostGraphicPtr Item(int index) = 0;
  virtual void AddGraphic(const HostGraphicPtr& graphic) = 0;
  /// A new graphic of that kind, member of this set only.
  virtual HostGraphicPtr Add(int kind) = 0;
  /// A circular arc graphic from start through middle to end, in this set.
  virtual HostGraphicPtr AddArcThroughPoints(double sx, double sy, double sz, double mx, double my,
                                             double mz, double ex, double ey, double ez) = 0;
  /// Empties the set; graphics made by the set itself are discarded.
  virtual void Clear() = 0;
};

class HostPickResult {
 public:
  virtual ~HostPickResult() = default;
  virtual int Count() = 0;
  virtual HostPickPtr Item(int index) = 0;
};

class HostPick {
 public:
  virtual ~HostPick() = default;
  virtual HostGraphicPtr Graphic() = 0;
};

class HostBoundingBox {
 public:
  virtual ~HostBoundingBox() = default;
  /// Lower-left corner.
  virtual HostVertexPtr Min() = 0;
  /// Upper-right corner.
  virtual HostVertexPtr Max() = 0;
};

class HostWorkplane {
 public:
  virtual ~HostWorkplane() = default;
  virtual bool IsEqual(const HostWorkplanePtr& other) = 0;
};

}  // namespace pphatch
