// Comparing a graphic's workplane with the drawing's.
#pragma once

#include "pphatch/host.h"

namespace pphatch {

/// A plane a x + b y + c z + d = 0 with (a, b, c) of length 1.
struct PlaneEquation {
  double a = 0, b = 0, c = 0, d = 0;
};

/// The plane of a workplane, from the world images of its local (0,0,0)
/// and (0,0,1). Host failures after the free graphic is made are ignored.
PlaneEquation WorkplaneFrame(const HostDrawingPtr& drawing, const HostWorkplanePtr& workplane);

/// 1: the same workplane; 2: parallel at the same offset (within 1e-6);
/// 0: different.
int CompareWorkplanes(const HostDrawingPtr& drawing, const HostWorkplanePtr& first,
                      const HostWorkplanePtr& second);

}  // namespace pphatch
