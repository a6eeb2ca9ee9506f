// Pen-up pieces of vertex chains and arc runs of polylines.
#pragma once

#include "geometry/incidence.h"
#include "pphatch/host.h"

namespace pphatch {

/// Copies each drawn piece of the graphic's chain into a plain graphic of
/// the set. A piece starts at the pen-up vertex before a drawn move; a chain
/// with no drawn move contributes nothing. With `closeChain` the copy of the
/// chain's last vertex is put at the chain's first vertex, so that a closed
/// outline ends exactly where it starts; the graphic itself is not changed.
/// Host failures end the operation; pieces made so far stay in the set.
void SplitAtPenUps(const HostGraphicPtr& graphic, const HostGraphicSetPtr& set,
                   bool closeChain = false);

/// Puts the polyline's straight runs as plain graphics and its arc runs as
/// arcs into the set. An arc run is four vertices: start S, centre C, sense
/// point D (its side of the line C-S gives the direction) and end E; a run
/// whose start lies on its centre is dropped. Host failures end the
/// operation; pieces made so far stay in the set.
void DecomposeArcPolyline(const HostGraphicPtr& graphic, const HostGraphicSetPtr& set);

/// Middle point of the arc from S to E about C with radius r:
/// counter-clockwise for sense 1, clockwise otherwise; C itself when
/// |r| < GeomTolerance.
Point2 ArcMidpoint(double cx, double cy, double sx, double sy, double ex, double ey, double r,
                   int sense);

}  // namespace pphatch
