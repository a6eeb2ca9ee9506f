// CurveRecord chains for tests, filled the way extraction fills them.
#pragma once

#include <vector>

#include "curves/curve_record.h"
#include "geometry/incidence.h"

namespace pphatch {

/// A "GRAPHIC" chain through the points, with bounds, coordinate sums and
/// Closed (first and last point within GeomTolerance) set as extraction sets
/// them; read GeomTolerance before calling.
CurveRecord MakeChain(const std::vector<Point2>& points);

/// A full circle as extraction samples it: "CIRCLE", 61 points at 6 degree
/// steps counter-clockwise from (cx + r, cy), the last an exact copy of the
/// first, with its centre and radius.
CurveRecord MakeCircle(double cx, double cy, double r);

/// A circular arc from angle `from` to angle `to` (radians, counter-clockwise)
/// in `steps` equal steps, filed like an extracted arc: an open "CIRCLE".
CurveRecord MakeArc(double cx, double cy, double r, double from, double to, int steps);

/// The point at `angle` (radians) on the circle about (cx, cy) of radius r.
Point2 OnCircle(double cx, double cy, double r, double angle);

/// Degrees to radians, with the angle literals the component uses.
double Degrees(double degrees);

}  // namespace pphatch
