// A DXF file's content as read, before it becomes graphics: layers, blocks
// and entities with their own coordinates (each entity's OCS or world
// coordinates, as the DXF format defines them for that entity).
#pragma once

#include <cstddef>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "formats/load_summary.h"
#include "memhost/vec.h"

namespace pphatch::formats {

using mem::Vec2;
using mem::Vec3;

/// LINE: world coordinates.
struct DxfLine {
  Vec3 a, b;
};

/// CIRCLE or ARC: centre in the entity's OCS; an arc runs counter-clockwise
/// (about the extrusion direction) from `start` to `end`, degrees.
struct DxfCircle {
  Vec3 centre;
  double radius = 0;
  bool arc = false;
  double start = 0, end = 0;
};

/// ELLIPSE: world coordinates; the minor axis is ratio * (extrusion x major);
/// parameters in radians from the major axis.
struct DxfEllipse {
  Vec3 centre, major;
  double ratio = 1;
  double start = 0, end = 0;
};

/// One polyline vertex with the bulge of the segment that starts at it.
struct DxfVertex {
  Vec3 at;
  double bulge = 0;
};

/// LWPOLYLINE and POLYLINE. 2D polylines are in the OCS at `elevation`;
/// 3D polylines in world coordinates.
struct DxfPolyline {
  std::vector<DxfVertex> vertices;
  bool closed = false;
  bool threeD = false;
  double elevation = 0;
};

/// SPLINE: world coordinates; knots, weights (empty: all 1) and control
/// points, or only fit points.
struct DxfSpline {
  int degree = 3;
  bool closed = false;
  std::vector<double> knots;
  std::vector<double> weights;
  std::vector<Vec3> control;
  std::vector<Vec3> fit;
};

/// INSERT (with rows and columns): insertion point in the OCS, rotation in degrees.
struct DxfInsert {
  std::string block;
  Vec3 at;
  Vec3 scale{1, 1, 1};
  double rotation = 0;
  int columns = 1, rows = 1;
  double columnSpacing = 0, rowSpacing = 0;
};

/// HATCH: boundary loops as rings of OCS points at `elevation`.
struct DxfHatch {
  std::vector<std::vector<Vec2>> loops;
  double elevation = 0;
  bool solid = false;
  std::string pattern;
};

/// DIMENSION: its kind (code 70, low bits) and definition points, world coordinates.
struct DxfDimension {
  int kind = 0;
  Vec3 p10, p13, p14, p15;
};

/// A chain that never bounds an area, kept for display: POINT (one point,
/// world), SOLID and TRACE (corners in the OCS), 3DFACE (corners, world),
/// LEADER (vertices, world), or a body without readable geometry (no points).
struct DxfMarker {
  std::string hostType;  ///< "PWW30POINT", "PWW40CUBE", "PWW25DimLead", ...
  std::vector<Vec3> points;
  bool ocs = false;     ///< points are in the entity's OCS
  bool closed = false;  ///< the chain returns to its first point
};

/// An entity that is not understood (TEXT, MTEXT, ATTRIB, meshes, ...): it
/// is counted by name wherever it would have been placed. TEXT and MTEXT
/// keep their insertion point (OCS for TEXT, world for MTEXT), height and
/// words, to be shown beside the drawing.
struct DxfIgnored {
  std::string text;
  Vec3 at;
  double height = 0;
  bool ocs = false;
};

/// A shape kept on the heap: the large shapes that are rare in big drawings
/// (inserts, splines, dimensions) would otherwise widen every entity.
template <class Shape>
class Boxed {
 public:
  Boxed(Shape shape) : shape_(std::make_unique<Shape>(std::move(shape))) {}  // NOLINT: implicit
  Boxed(const Boxed& other) : shape_(std::make_unique<Shape>(*other.shape_)) {}
  Boxed(Boxed&&) noexcept = default;
  Boxed& operator=(Boxed other) noexcept {
    shape_ = std::move(other.shape_);
    return *this;
  }
  const Shape& operator*() const { return *shape_; }
  const Shape* operator->() const { return shape_.get(); }

 private:
  std::unique_ptr<Shape> shape_;
};

/// The shape itself, boxed or not.
template <class Shape>
const Shape& Unboxed(const Shape& shape) {
  return shape;
}
template <class Shape>
const Shape& Unboxed(const Boxed<Shape>& shape) {
  return *shape;
}

using DxfShape = std::variant<DxfLine, DxfCircle, DxfEllipse, DxfPolyline, Boxed<DxfSpline>,
                              Boxed<DxfInsert>, DxfHatch, Boxed<DxfDimension>, DxfMarker, DxfIgnored>;

/// The shape if it is a boxed one of that kind, else null.
template <class Shape>
const Shape* BoxedIf(const DxfShape& shape) {
  const auto* boxed = std::get_if<Boxed<Shape>>(&shape);
  return boxed ? &**boxed : nullptr;
}

/// One entity: what every entity has, and its shape.
struct DxfEntity {
  std::string name;  ///< entity name as in the file ("LWPOLYLINE")
  std::string layer = "0";
  Vec3 extrusion{0, 0, 1};
  double thickness = 0;
  bool paperSpace = false;
  /// Where the entity's first group code is: its line, or its byte offset in a binary file.
  long long place = 0;
  DxfShape shape;
};

struct DxfBlock {
  std::string name;
  Vec3 base;
  std::vector<DxfEntity> entities;
};

/// A layer of the LAYER table as the file names it, with its states.
struct DxfLayer {
  std::string name;
  bool off = false;     ///< negative colour
  bool frozen = false;  ///< flag bit 1
};

/// The content of a DXF file. Layer and block names are keyed in upper
/// case, since DXF names are not case-sensitive.
/// Entities in file order, held in runs of at most kRun: a list read in
/// parts (by two threads, say) is joined without moving an entity, and
/// never needs room for all of them in one piece. A run takes less than
/// 128 KiB, the size up to which the C library serves memory from its heap
/// instead of mapping it apart: a run let go leaves its pages to the
/// allocations after it.
class DxfEntityRuns {
 public:
  static constexpr std::size_t kRun = 512;
  using Runs = std::vector<std::vector<DxfEntity>>;

  DxfEntityRuns() = default;
  /// The entities of `run`, in runs of any length.
  explicit DxfEntityRuns(std::vector<DxfEntity> run);

  /// The run to append the next entity to: the last, or a new one when it is full.
  std::vector<DxfEntity>& RoomForOne();
  /// Appends the runs of `later` (left empty) after these.
  void Append(DxfEntityRuns&& later);
  std::size_t size() const;
  bool empty() const { return size() == 0; }
  const Runs& AllRuns() const { return runs_; }
  Runs& AllRuns() { return runs_; }

  /// Iteration over every entity in order.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = DxfEntity;
    using difference_type = std::ptrdiff_t;
    using pointer = const DxfEntity*;
    using reference = const DxfEntity&;
    const_iterator(const Runs* runs, std::size_t run, std::size_t at);
    reference operator*() const { return (*runs_)[run_][at_]; }
    pointer operator->() const { return &**this; }
    const_iterator& operator++();
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const const_iterator& other) const {
      return run_ == other.run_ && at_ == other.at_;
    }

   private:
    // Moves past empty runs.
    void Settle();
    const Runs* runs_;
    std::size_t run_, at_;
  };
  const_iterator begin() const { return {&runs_, 0, 0}; }
  const_iterator end() const { return {&runs_, runs_.size(), 0}; }

 private:
  Runs runs_;
};
static_assert(DxfEntityRuns::kRun * sizeof(DxfEntity) < (std::size_t{128} << 10),
              "a run must come from the C library's heap");

struct DxfDocument {
  /// True for each layer that is off (negative colour) or frozen (flag 1).
  std::map<std::string, bool> hiddenLayers;
  /// The entries of the LAYER table.
  std::map<std::string, DxfLayer> layers;
  std::map<std::string, DxfBlock> blocks;
  /// The entities of the ENTITIES section.
  DxfEntityRuns entities;
  /// True when read from a binary file (places are byte offsets).
  bool binary = false;
  /// $TILEMODE of the header, when given.
  std::optional<int> tileMode;
  /// $INSUNITS of the header (drawing units), when given.
  std::optional<int> insUnits;
  /// The file has an ENTITIES section.
  bool hasEntitiesSection = false;
  LoadReport report;
};

/// A DXF name in the case used for keys.
std::string NameKey(const std::string& name);

}  // namespace pphatch::formats
