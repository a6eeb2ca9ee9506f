// Conversion between view and drawing coordinates through this thread's view.
#pragma once

#include "pphatch/host.h"

namespace pphatch {

/// A view point in drawing coordinates (the view's own conversion).
HostPoint3 ViewToWorld(double vx, double vy, double vz);

/// A drawing point in view coordinates (the view's own conversion).
HostPoint3 WorldToView(double x, double y, double z);

/// -1, 0 or 1, with |v| < 1e-6 counted as 0.
int TolerantSign(double v);

}  // namespace pphatch
