// Pen-up pieces of vertex chains and arc runs of polylines.
#pragma once

#include "geometry/incidence.h"
#include "pphatch/host.h"

namespace pphatch {

/// Copies each drawn piece of the graphic's chain into a plain graphic of
/// the set.
void SplitAtPenUps(const HostGraphicPtr& graphic, const HostGraphicSetPtr& set);

/// Puts the polyline's straight runs as plain graphics and its arc runs as
/// arcs into the set.
void DecomposeArcPolyline(const HostGraphicPtr& graphic, const HostGraphicSetPtr& set);

/// Middle point of the arc from S to E about C: counter-clockwise for
/// sense 1, clockwise otherwise.
Point2 ArcMidpoint(double cx, double cy, double sx, double sy, double ex, double ey, double r,
                   int sense);

}  // namespace pphatch
