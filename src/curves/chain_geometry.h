// Reading and writing chain points, distances, and straight lines through
// two points, as the circle refinement and the walks along chains use them.
#pragma once

#include "curves/chain_points.h"
#include "curves/curve_record.h"
#include "geometry/incidence.h"

namespace pphatch {

/// A straight line a x + b y = c.
struct Line {
  double a = 0, b = 0, c = 0;
};

/// Point i of the chain; raises ComputeError when i is not one of its points.
Point2 ChainPoint(const CurveRecord& chain, int i);

/// Stores p as point i of the chain; raises ComputeError when i is not one of its points.
void SetChainPoint(CurveRecord& chain, int i, Point2 p);

/// True when both coordinate differences are below GeomTolerance (a box
/// test, not a distance).
inline bool Coincide(Point2 a, Point2 b) { return PointsCoincide(a.x, a.y, b.x, b.y); }

/// Euclidean distance of two points.
double Distance(Point2 a, Point2 b);

/// The line through p and q, with a = p.y - q.y, b = q.x - p.x and
/// c = a p.x + b p.y.
Line LineThrough(Point2 p, Point2 q);

}  // namespace pphatch
