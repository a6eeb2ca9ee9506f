// Affine maps of the drawing plane, and the placement of a block insert.
#pragma once

#include <optional>

#include "memhost/vec.h"

namespace pphatch::mem {

/// An affine map of the plane: p -> (xx x + xy y, yx x + yy y) + offset.
/// The default is the identity.
struct Affine2 {
  double xx = 1, xy = 0;  ///< first row of the matrix (gives x)
  double yx = 0, yy = 1;  ///< second row of the matrix (gives y)
  Vec2 offset;            ///< the image of the origin

  /// Image of a point.
  Vec2 Apply(Vec2 p) const;
  /// Image of a direction (no translation).
  Vec2 ApplyToVector(Vec2 v) const;
  /// Determinant of the matrix: negative for a mirroring map, 0 when the
  /// map flattens the plane.
  double Determinant() const { return xx * yy - xy * yx; }
  /// True when the map keeps shapes: a rotation and a uniform scale, perhaps
  /// mirrored (the matrix's columns are perpendicular and of equal length,
  /// up to rounding of 1e-12).
  bool IsSimilarity() const;
  /// The map that undoes this one; the determinant must not be 0.
  Affine2 Inverse() const;
};

/// The map `outer` after `inner`: p -> outer(inner(p)).
Affine2 Compose(const Affine2& outer, const Affine2& inner);

/// Where and how a block insert puts the block's graphics:
///   p -> (x, y) + R(rotation) * diag(XScale(), YScale()) * p,
/// the scales taken first, about the block's origin; a negative scale
/// mirrors about that axis. Without `yscale` the scale is uniform.
struct Placement {
  double x = 0, y = 0;  ///< where the block's origin lands
  double scale = 1;     ///< x scale, and the y scale too unless `yscale` is set
  double rotation = 0;  ///< radians, counter-clockwise, turned after scaling
  std::optional<double> yscale = std::nullopt;  ///< y scale, when it differs from `scale`

  /// Scale along the block's x axis.
  double XScale() const { return scale; }
  /// Scale along the block's y axis.
  double YScale() const { return yscale.value_or(scale); }
  /// The placement as an affine map.
  Affine2 Map() const;
  /// Image of a point.
  Vec2 Apply(Vec2 p) const { return Map().Apply(p); }
  /// Image of a direction (no translation).
  Vec2 ApplyToVector(Vec2 v) const { return Map().ApplyToVector(v); }
};

/// The placement `outer` after `inner`, as nested inserts compose: the
/// inner insert's parts placed again by the outer one.
Affine2 Compose(const Placement& outer, const Placement& inner);

}  // namespace pphatch::mem
