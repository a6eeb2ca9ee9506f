// Space transforms and curve sampling for placing DXF entities.
#pragma once

#include <vector>

#include "memhost/vec.h"

namespace pphatch::formats {

using mem::Vec2;
using mem::Vec3;

/// An affine map of space: p -> x * cx + y * cy + z * cz + t.
struct Affine3 {
  Vec3 cx{1, 0, 0}, cy{0, 1, 0}, cz{0, 0, 1};
  Vec3 t{0, 0, 0};

  Vec3 Apply(Vec3 p) const { return p.x * cx + p.y * cy + p.z * cz + t; }
  /// Image of a direction (no translation).
  Vec3 Linear(Vec3 v) const { return v.x * cx + v.y * cy + v.z * cz; }
  /// This map followed by `after`.
  Affine3 Then(const Affine3& after) const;
};

Affine3 Translation(Vec3 offset);
Affine3 Scaling(Vec3 factors);
/// Turn by `radians` counter-clockwise about the z axis.
Affine3 RotationZ(double radians);

/// The object coordinate system of an entity with that extrusion direction
/// (the arbitrary axis rule): OCS coordinates -> world coordinates. A zero
/// direction counts as (0, 0, 1).
Affine3 OcsFrame(Vec3 extrusion);

/// The unit vector in that direction; (0, 0, 1) for a zero vector.
Vec3 Normalized(Vec3 v);
Vec3 CrossProduct(Vec3 a, Vec3 b);

/// The point seen from above: world x and y.
inline Vec2 Flat(Vec3 p) { return {p.x, p.y}; }

/// Segments used for a full turn when an arc is drawn as a chain.
inline constexpr int kSegmentsPerTurn = 64;

/// Points of the segment p -> q bent by `bulge` (tan of a quarter of the
/// included angle, positive counter-clockwise), without p, with q.
void AppendBulgeSegment(std::vector<Vec2>& out, Vec2 p, Vec2 q, double bulge);

/// Points c + cos(t) u + sin(t) v for t from `from` over `sweep` radians
/// (negative: clockwise), both ends included.
void AppendConicPoints(std::vector<Vec2>& out, Vec2 c, Vec2 u, Vec2 v, double from, double sweep);

}  // namespace pphatch::formats
