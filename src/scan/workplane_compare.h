// Comparing a graphic's workplane with the drawing's.
#pragma once

#include "component/state.h"
#include "pphatch/host.h"
#include "scan/graphic_reads.h"

namespace pphatch {

/// A plane a x + b y + c z + d = 0 with (a, b, c) of length 1.
struct PlaneEquation {
  double a = 0, b = 0, c = 0, d = 0;
};

/// The plane of a workplane, from the world images of its local (0,0,0)
/// and (0,0,1) placed by the host in a free graphic of the drawing. Failures
/// making the free graphic raise; later host failures are ignored and leave
/// the values not computed at 0. A normal shorter than 1e-8 is returned
/// unnormalised with d = 0.
PlaneEquation WorkplaneFrame(const HostDrawingPtr& drawing, const HostWorkplanePtr& workplane);

/// 1: the same workplane (the host says so); 2: parallel (normals within
/// GeomTolerance, either way round) at the same offset (within 1e-6);
/// 0: different.
int CompareWorkplanes(const HostDrawingPtr& drawing, const HostWorkplanePtr& first,
                      const HostWorkplanePtr& second);

/// The scan's workplane step for a graphic: with TileMode 1, false when the
/// graphic lies on a foreign workplane; a graphic on the drawing's
/// workplane or on a parallel one at the same offset passes and is left as
/// it is. Statements run under `mode`, which is in continue-on-error mode
/// afterwards; a graphic whose workplane cannot be read or compared counts
/// as foreign.
bool PassesWorkplaneStep(ObjectState& state, const HostGraphicPtr& graphic, ErrorMode& mode);

}  // namespace pphatch
