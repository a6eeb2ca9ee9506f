// The drawn geometry of a graphic, as picking sees it.
#pragma once

#include <optional>
#include <vector>

#include "memhost/vec.h"

namespace pphatch::mem {

class MemGraphic;

/// An axis-parallel box in drawing coordinates.
struct Box {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

/// The smallest box holding both (either may be missing).
std::optional<Box> Union(const std::optional<Box>& a, const std::optional<Box>& b);

/// A circular arc: counter-clockwise from `start` over `sweep` radians
/// (0 < sweep <= 2 pi; 2 pi is a whole circle).
struct ArcPiece {
  Vec2 centre;
  double radius = 0;
  double start = 0;
  double sweep = 0;
};

/// A polyline arc run (start s, centre c, sense point d, end e) read as the
/// circular arc that is drawn for it: radius |s - c|, from the direction of
/// s to that of e, counter-clockwise when d lies left of c->s.
struct ArcRun {
  Vec2 centre;
  double radius = 0;
  double from = 0;   ///< direction of the start seen from the centre
  double to = 0;     ///< direction of the end seen from the centre
  double sweep = 0;  ///< signed (positive counter-clockwise); 0: a straight move to e

  /// The point of the run's circle in direction a.
  Vec2 PointAt(double a) const;
};

/// The arc of an arc run. A run without a radius or a sweep (or with
/// non-finite points) gets sweep 0.
ArcRun ReadArcRun(Vec2 s, Vec2 c, Vec2 d, Vec2 e);

/// Straight segments, circular arcs and isolated points of a graphic and all
/// its descendants, in drawing coordinates, plus the closed rings that bound
/// areas (arcs and ellipses sampled finely) for area picks of filled graphics.
struct Outline {
  struct Segment {
    Vec2 a, b;
  };
  std::vector<Segment> segments;
  std::vector<ArcPiece> arcs;
  std::vector<Vec2> points;
  std::vector<std::vector<Vec2>> rings;

  /// Box of all drawn geometry; nothing when the outline is empty.
  std::optional<Box> Bounds() const;
};

/// The outline of a graphic:
/// - "CIRCLE" and "ARC": the exact shape (circles and circular arcs as arcs,
///   ellipses sampled with 720 segments per turn); their vertices are not drawn;
/// - "INSERT": nothing of its own;
/// - every other type: its vertex chain, with no segment into a pen-up vertex,
///   a closing segment when it is Closed, and polyline arc runs (start,
///   centre, sense point, end) as true arcs; a lone vertex of a "PWW30POINT"
///   is a point;
/// - plus the outlines of all children, recursively.
Outline BuildOutline(const MemGraphic& graphic);

/// The box of the graphic's outline; nothing when it has no geometry. Cheaper
/// than BuildOutline(graphic).Bounds(): a full circle's ring of samples, which
/// lies inside its arc's box, is not made.
std::optional<Box> BoundsOf(const MemGraphic& graphic);

/// True when some geometry lies within `radius` (Euclidean) of p.
bool PassesWithin(const Outline& outline, Vec2 p, double radius);

/// True when p lies inside the rings (even-odd rule).
bool InsideRings(const Outline& outline, Vec2 p);

/// True when some geometry crosses or lies inside the convex quadrilateral
/// (corners in order, either orientation).
bool MeetsQuad(const Outline& outline, const std::vector<Vec2>& quad);

}  // namespace pphatch::mem
