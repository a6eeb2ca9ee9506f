// Circles, ellipses and their arcs as the in-memory host stores them.
#pragma once

#include <array>
#include <numbers>
#include <optional>
#include <vector>

#include "memhost/affine.h"
#include "memhost/vec.h"

namespace pphatch::mem {

inline constexpr double kFullTurn = 2 * std::numbers::pi;

/// A circle, an ellipse or an arc of one. Points are
///   centre + cos(t) * major + sin(t) * ratio * perp(major),
/// perp turning by +90 degrees; an arc runs counter-clockwise in t from
/// `start` to `end` (radians, both in [0, 2 pi); end < start wraps through 0).
/// Circular shapes keep their major axis along +x, so their angles are
/// plain directions seen from the centre.
struct ArcShape {
  Vec2 centre;
  Vec2 major{1, 0};    ///< centre to the end of the major axis
  double ratio = 1;    ///< minor / major
  double start = 0;    ///< arc only
  double end = 0;      ///< arc only
  bool full = true;    ///< a whole circle or ellipse

  /// The point at parameter t.
  Vec2 PointAt(double t) const;
  /// Length of the parameter range, in (0, 2 pi].
  double Sweep() const;
  /// True for a circle or circular arc (equal radii).
  bool Circular() const { return ratio == 1; }
  /// GetArcData layout: [0],[1] centre; [3],[4] end of the major axis;
  /// [6] ratio; [7],[8] start and end (0 and 2 pi for a whole shape).
  std::array<double, 11> ArcData() const;
  /// The points of the vertex layout: the centre, and for an arc the points
  /// at the start, end and middle angles.
  std::vector<Vec2> Layout() const;
};

/// A circle.
ArcShape CircleShape(Vec2 centre, double radius);
/// A whole ellipse.
ArcShape EllipseShape(Vec2 centre, Vec2 major, double ratio);
/// A circular arc, counter-clockwise from `start` to `end` (radians).
ArcShape CircularArcShape(Vec2 centre, double radius, double start, double end);
/// An elliptical arc between parametric angles measured from the major axis.
ArcShape EllipticalArcShape(Vec2 centre, Vec2 major, double ratio, double start, double end);

/// The circular arc from s through m to e; `reversed` is true when that
/// path runs clockwise, so that the arc's start is e and its end s.
struct ArcThroughResult {
  ArcShape shape;
  bool reversed = false;
};
/// Nothing when the points coincide or lie on one line.
std::optional<ArcThroughResult> ArcThroughPoints(Vec2 s, Vec2 m, Vec2 e);

/// The curve centre + cos(t) u + sin(t) v, t running from `start` to `end`
/// (end > start; ignored when `whole`), as a shape. u and v are any two
/// conjugate half-diameters (the images of two perpendicular radii under an
/// affine map), not parallel; (u, v) may turn clockwise. The major axis lies
/// at the parameter t0 where |p(t) - centre| is largest, and the range is
/// re-measured from it; a clockwise (u, v) reverses the sense, so the range
/// is mirrored and its ends swap. Half-diameters equal and perpendicular to
/// within 1e-9 give a circular shape (major axis along +x).
ArcShape ConjugateArcShape(Vec2 centre, Vec2 u, Vec2 v, double start, double end, bool whole);

/// The shape under an affine map. A similarity keeps circles circular (they
/// are turned back to a major axis along +x with their angles moved
/// accordingly); any other map makes them ellipses. A mirroring map
/// reverses an arc's sense, so its start and end swap.
ArcShape Transformed(const ArcShape& shape, const Affine2& map);
/// The shape under a placement.
ArcShape Transformed(const ArcShape& shape, const Placement& placement);

/// An angle brought into [0, 2 pi).
double NormalizeAngle(double angle);

}  // namespace pphatch::mem
