// One graphic of the in-memory host.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "memhost/arc_shape.h"
#include "memhost/fault_injector.h"
#include "memhost/outline.h"
#include "memhost/properties.h"
#include "memhost/workplane.h"
#include "pphatch/host.h"

namespace pphatch::mem {

class MemDrawing;
class MemGraphics;

/// How graphics made in one drawing become another's: the drawing and its
/// fault injector they now belong to, the amount their IDs move up by, and
/// the workplane of the drawing they were made in, which becomes `to`.
struct DrawingMove {
  std::weak_ptr<MemDrawing> drawing;
  std::shared_ptr<FaultInjector> faults;
  int idShift = 0;
  const MemWorkplane* from = nullptr;
  std::shared_ptr<MemWorkplane> to;
};

/// A vertex as stored: plane coordinates of the graphic's workplane, and flags.
struct VertexData {
  double x = 0, y = 0, z = 0;
  bool penDown = true;    ///< false: the move to this vertex is not drawn
  bool arcPoint = false;  ///< centre or sense point of a polyline's arc run
};

/// A graphic: type text, vertex chain, properties, children, workplane and,
/// for "CIRCLE" and "ARC", the exact shape. The interface methods count
/// calls and honour fault rules; the model methods below them (used by the
/// host itself, the builders and tests) do neither.
///
/// Coordinates: vertices are stored in plane coordinates of the graphic's
/// workplane. The drawing coordinates that the view and picking use are those
/// plane coordinates (x, y); workplanes only matter for world-mode reads and
/// writes and for comparing workplanes.
class MemGraphic : public HostGraphic, public std::enable_shared_from_this<MemGraphic> {
 public:
  MemGraphic(std::weak_ptr<MemDrawing> drawing, std::shared_ptr<FaultInjector> faults, int id,
             std::string type, std::shared_ptr<MemWorkplane> workplane);

  std::string Type() override;
  HostGraphicsPtr Graphics() override;
  HostVerticesPtr Vertices() override;
  HostPropertiesPtr Properties() override;
  bool Closed() override;
  void SetClosed(bool closed) override;
  int ID() override;
  /// Position in the list that holds it: the drawing's list for a top-level
  /// graphic, the parent's children for a child; -1 when in no list.
  int Index() override;
  std::string InfoText() override;
  bool IgnoreFlag() override;
  HostWorkplanePtr Workplane() override;
  /// Sets this graphic's workplane only; coordinates are not touched.
  void SetWorkplane(const HostWorkplanePtr& workplane) override;
  /// Sets the workplane of this graphic and all its descendants; plane
  /// coordinates stay, so world images move with the workplane.
  void ApplyWorkplane(const HostWorkplanePtr& workplane) override;
  /// For "CIRCLE" and "ARC" only; HostError otherwise.
  std::array<double, 11> GetArcData() override;
  /// Deep copy with new IDs, appended to the drawing's list.
  HostGraphicPtr Duplicate() override;
  /// "INSERT" or a group ("GRAPHIC" with children): copies of the children
  /// appended to the drawing's list and returned as a set; the graphic itself
  /// stays where it is. HostError for other graphics.
  HostGraphicSetPtr Explode() override;
  /// Takes the graphic out of the list that holds it; it stays readable.
  void Delete() override;

  // --- Model (no counting, no faults) ---
  int Id() const { return id_; }
  const std::string& TypeText() const { return type_; }
  const std::string& Info() const { return infoText_; }
  void SetInfoText(std::string text) { infoText_ = std::move(text); }
  bool Ignored() const { return ignore_; }
  void SetIgnored(bool ignore) { ignore_ = ignore; }
  bool IsClosed() const { return closed_; }
  void SetClosedFlag(bool closed);

  /// The graphic's own properties, made from the defaults of its type the
  /// first time they are asked for to be changed or handed out.
  PropertyTable& Props();
  /// The graphic's properties; the defaults of its type (shared by every
  /// graphic of the type) until Props() made its own.
  const PropertyTable& Props() const;

  const std::vector<VertexData>& VertexList() const { return vertices_; }
  /// Appends a vertex given in plane coordinates.
  void AppendVertex(const VertexData& v);
  /// Replaces vertex i (plane coordinates).
  void SetVertex(int i, const VertexData& v);
  /// Replaces the whole chain.
  void SetVertexList(std::vector<VertexData> vertices);

  /// The true curve of a circle, arc or ellipse; null for other graphics.
  const ArcShape* Shape() const { return shape_.get(); }
  /// Sets the exact shape; with `rewriteVertices` the chain becomes the
  /// shape's layout: the centre (vertex 0) for a whole shape, and for an arc
  /// the centre, the points at the start, end and middle angles (1 to 3).
  void SetShape(const ArcShape& shape, bool rewriteVertices = true);

  const std::shared_ptr<MemWorkplane>& Plane() const { return workplane_; }
  void SetPlane(std::shared_ptr<MemWorkplane> workplane) { workplane_ = std::move(workplane); }
  bool WorldMode() const { return worldMode_; }
  void SetWorldModeFlag(bool world) { worldMode_ = world; }

  /// The children list (created on first use).
  MemGraphics& Children();
  /// The children, in order (empty when there are none).
  const std::vector<std::shared_ptr<MemGraphic>>& ChildItems() const;
  /// The list that holds this graphic, or null.
  std::shared_ptr<MemGraphics> Owner() const { return owner_.lock(); }
  /// The drawing this graphic belongs to; HostError when it is gone.
  std::shared_ptr<MemDrawing> DrawingOrThrow() const;
  const std::shared_ptr<FaultInjector>& Faults() const { return faults_; }
  /// Order key among the graphics of one list (grows with every append).
  std::uint64_t Sequence() const { return sequence_; }
  /// True once Delete was called.
  bool Deleted() const { return deleted_; }

  /// The box the drawing's pick index holds this graphic under; nothing
  /// while it is not indexed. Kept here so that indexing a whole drawing
  /// needs no table of its own.
  std::optional<Box>& IndexedBox() { return indexedBox_; }

  /// Makes this graphic and its descendants belong to another drawing.
  void MoveTo(const DrawingMove& move);

  /// Tells the holder of this graphic that its geometry has changed.
  void GeometryChanged();
  /// Counts one call and applies fault rules for an operation on this graphic.
  void Enter(const char* operation) const { faults_->Enter(operation, id_); }

 private:
  friend class MemGraphics;

  std::weak_ptr<MemDrawing> drawing_;
  std::shared_ptr<FaultInjector> faults_;
  int id_;
  std::string type_;
  std::string infoText_;
  bool ignore_ = false;
  bool closed_ = false;
  bool worldMode_ = false;
  bool deleted_ = false;
  std::shared_ptr<PropertyTable> props_;  ///< null: the defaults of the type
  std::vector<VertexData> vertices_;
  std::unique_ptr<ArcShape> shape_;  ///< apart: most graphics have none
  std::shared_ptr<MemWorkplane> workplane_;
  std::shared_ptr<MemGraphics> children_;
  std::weak_ptr<MemGraphics> owner_;
  std::uint64_t sequence_ = 0;
  std::optional<Box> indexedBox_;
};

}  // namespace pphatch::mem
