// Builders for every kind of graphic the component meets, for tests and tools.
//
// Each builder appends one new graphic to its target (the end of the
// drawing's list, or the end of a graphic's children) and returns it.
// Coordinates are drawing coordinates; angles are radians.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "memhost/arc_shape.h"
#include "memhost/drawing.h"
#include "memhost/graphic.h"
#include "memhost/vec.h"

namespace pphatch::mem {

using GraphicPtr = std::shared_ptr<MemGraphic>;

/// Where a builder puts its graphic.
class Into {
 public:
  /// The end of the drawing's list.
  Into(const std::shared_ptr<MemDrawing>& drawing);  // NOLINT: implicit on purpose
  /// The end of a graphic's children (a group, block, wall, region, ...).
  Into(const GraphicPtr& parent);  // NOLINT: implicit on purpose

  MemDrawing& Drawing() const { return *drawing_; }
  /// A new graphic of that type, on the target's workplane, not yet placed.
  GraphicPtr Make(const std::string& type) const;
  /// Appends the graphic to the target and returns it.
  GraphicPtr Put(GraphicPtr graphic) const;

 private:
  std::shared_ptr<MemDrawing> drawing_;
  GraphicPtr parent_;
};

/// A chain vertex given by hand.
struct ChainPoint {
  double x = 0, y = 0;
  bool penDown = true;
  bool arcPoint = false;
};

/// A polyline vertex with the bulge of the segment that starts at it:
/// tan(included angle / 4), positive for a counter-clockwise arc, 0 straight.
struct BulgePoint {
  double x = 0, y = 0;
  double bulge = 0;
};

// --- Plain chains ("GRAPHIC") ---

/// A two-point line.
GraphicPtr AddLine(const Into& into, Vec2 a, Vec2 b);
/// A chain through the points; `closed` sets the Closed flag only.
GraphicPtr AddChain(const Into& into, const std::vector<Vec2>& points, bool closed = false);
/// A chain with explicit pen and arc flags.
GraphicPtr AddFlaggedChain(const Into& into, const std::vector<ChainPoint>& points,
                           bool closed = false);
/// A closed polygon: the corners, then the first corner again; Closed set.
GraphicPtr AddPolygon(const Into& into, const std::vector<Vec2>& corners);
/// An axis-parallel rectangle as a closed polygon, counter-clockwise from min.
GraphicPtr AddRectangle(const Into& into, Vec2 min, Vec2 max);
/// A chain of any type name (for kinds without a builder of their own).
GraphicPtr AddTyped(const Into& into, const std::string& type, const std::vector<Vec2>& points,
                    bool closed = false);

// --- Polylines and curves ---

/// A "PWW50Polyline"; each non-zero bulge becomes an arc run: start,
/// centre (arc point), the arc's middle point as sense point (arc point), end.
/// `closed` adds the segment back to the first point (with the last bulge)
/// and sets Closed.
GraphicPtr AddPolyline(const Into& into, const std::vector<BulgePoint>& points,
                       bool closed = false);
/// A "PWW30CURVE" drawn through the points, with "BrushStyle" `brush`. Its
/// outline is a "GRAPHIC" child: child 0 for the brushes "None" and "Solid",
/// child 1 (after a "DATA" child holding the fill) for any other brush.
GraphicPtr AddCurve(const Into& into, const std::vector<Vec2>& points,
                    const std::string& brush = "None");

// --- Circles, ellipses and arcs ---

GraphicPtr AddCircle(const Into& into, Vec2 centre, double radius);
/// A whole ellipse ("CIRCLE"): `major` runs from the centre to the end of the major axis.
GraphicPtr AddEllipse(const Into& into, Vec2 centre, Vec2 major, double ratio);
/// A circular "ARC", counter-clockwise from `start` to `end`.
GraphicPtr AddArc(const Into& into, Vec2 centre, double radius, double start, double end);
/// An elliptical "ARC" between parametric angles measured from the major axis.
GraphicPtr AddEllipticalArc(const Into& into, Vec2 centre, Vec2 major, double ratio,
                            double start, double end);
/// A "CIRCLE" (Closed) for a whole shape, an "ARC" for an arc of one.
GraphicPtr AddShape(const Into& into, const ArcShape& shape);

// --- Containers ---

/// A group: a "GRAPHIC" that holds children (add them with Into(group)).
GraphicPtr AddGroup(const Into& into);
/// A data-only "DATA" graphic.
GraphicPtr AddData(const Into& into);
/// An empty graphic of that type, to be filled with children.
GraphicPtr AddContainer(const Into& into, const std::string& type);
GraphicPtr AddWall(const Into& into);        ///< "PWW60Wall"
GraphicPtr AddDoubleLine(const Into& into);  ///< "PWW25DblLine"
GraphicPtr AddMultiline(const Into& into);   ///< "PW_Multiline"
GraphicPtr AddDrafting(const Into& into);    ///< "PWDrafting"
GraphicPtr AddRegion(const Into& into);      ///< "PWW70Region"

/// A block definition: a graphic in no list whose children are the block's
/// graphics (add them with Into(block)).
GraphicPtr NewBlock(MemDrawing& drawing);
/// An "INSERT" of the block: its children are copies of the block's graphics
/// under the placement (nested inserts are copied with their parts, so the
/// maps compose). HostError when a scale is 0.
GraphicPtr AddInsert(const Into& into, const GraphicPtr& block, const Placement& placement);
/// The same under any affine map (a composed placement, a shear); HostError
/// when its determinant is 0.
GraphicPtr AddMappedInsert(const Into& into, const GraphicPtr& block, const Affine2& map);

/// A "TEXT" with that "TextMode" and one "GRAPHIC" outline child holding the
/// letters one after another, each closed, the first vertex of every letter
/// after the first one pen-up.
GraphicPtr AddText(const Into& into, double textMode,
                   const std::vector<std::vector<Vec2>>& letters);

// --- Cosmetic outlines ---

/// A "GRAPHIC" child of `graphic` carrying the cosmetic outline: its "Info"
/// property and its info text are `info` ("Line_Width_Cosmetic" or
/// "Brush_Cosmetic").
GraphicPtr AddCosmeticChild(const GraphicPtr& graphic, const std::string& info,
                            const std::vector<Vec2>& outline, bool closed = false);
/// A "PWW50IntProp": its own chain `own`, child 0 the cosmetic outline.
GraphicPtr AddIntProp(const Into& into, const std::string& info, const std::vector<Vec2>& own,
                      const std::vector<Vec2>& outline, bool closed = false);

// --- Graphics that never bound an area ---

/// A hatch: a closed polygon with info text "Hatch" and that brush.
GraphicPtr AddHatch(const Into& into, const std::vector<Vec2>& ring,
                    const std::string& brush = "Solid");
/// A linear dimension "PWW25DimLin" between a and b, its line `offset` to
/// the left of a->b: two extension lines and the dimension line as children.
GraphicPtr AddDimension(const Into& into, Vec2 a, Vec2 b, double offset);
/// A "PWW30POINT".
GraphicPtr AddPoint(const Into& into, Vec2 p);
/// A "PWW40CUBE" standing on the rectangle (its base outline is its chain).
GraphicPtr AddSolid(const Into& into, Vec2 min, Vec2 max);
/// A "SURFACE" bounded by the ring.
GraphicPtr AddSurface(const Into& into, const std::vector<Vec2>& ring);

/// Sets (or creates) a property of a graphic.
void SetProperty(const GraphicPtr& graphic, const std::string& name, PropertyValue value);

}  // namespace pphatch::mem
