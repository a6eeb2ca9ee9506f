// Points along B-splines and NURBS curves (de Boor's algorithm).
#pragma once

#include <vector>

#include "memhost/vec.h"

namespace pphatch::formats {

/// Samples per knot span when a spline becomes a chain of points.
inline constexpr int kSplineSamplesPerSpan = 8;

/// Highest degree evaluated (CAD programs stop at 11); the work per point
/// grows with the square of the degree.
inline constexpr int kMaxSplineDegree = 32;

/// Points along the spline of that degree over its whole domain
/// [knots[degree], knots[control count]]: `perSpan` points in each knot span
/// of non-zero length, and the domain's end. Rational when `weights` holds
/// one weight per control point (all positive); otherwise all weights are 1.
/// Empty when the data make no spline: degree below 1 or above
/// kMaxSplineDegree, fewer than
/// degree + 1 control points, a knot count other than control count +
/// degree + 1, decreasing knots, or an empty domain.
std::vector<mem::Vec3> SampleSpline(int degree, const std::vector<double>& knots,
                                    const std::vector<double>& weights,
                                    const std::vector<mem::Vec3>& control,
                                    int perSpan = kSplineSamplesPerSpan);

/// Knots of a clamped spline with evenly spaced inner knots over [0, 1].
std::vector<double> ClampedUniformKnots(int degree, int controlCount);

}  // namespace pphatch::formats
