// The point-on-segment test and line intersection, measured
// against GeomTolerance (E): end points match within a box of half-width E,
// the band around a segment's line is 10 E wide on each side.
#pragma once

#include <optional>

namespace pphatch {

struct Point2 {
  double x = 0, y = 0;
};

/// 1 when P lies on the closed segment (x1,y1)-(x2,y2), else 0.
int PointOnSegment(double x1, double y1, double x2, double y2, double px, double py);

/// Euclidean distance of p from the closed segment a-b (from a when the
/// segment has no length). No tolerance.
double DistanceToSegment(Point2 p, Point2 a, Point2 b);

/// Solves a1 x + b1 y = c1, a2 x + b2 y = c2; nothing when the determinant
/// is zero or the result is not finite. No tolerance: nearly parallel lines
/// give a far point.
std::optional<Point2> IntersectLines(double a1, double b1, double c1, double a2, double b2,
                                     double c2);

}  // namespace pphatch
