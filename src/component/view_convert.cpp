// Conversion between view and drawing coordinates through this thread's view.
#include "component/view_convert.h"

#include <cmath>

#include "component/state.h"

namespace pphatch {
namespace {

// Half-width of the dead band of TolerantSign: a fixed value, independent of
// GeomTolerance, because callers compare view-scale quantities with it.
constexpr double kSignBand = 1e-6;

// This thread's view; without one (no Init, or the object was destroyed) the
// conversion fails like a host call on a released view.
HostView& BoundView() {
  const HostViewPtr& view = Module().View;
  if (!view) throw HostError("no view is bound");
  return *view;
}

}  // namespace

// The view's own conversion from view to drawing coordinates.
HostPoint3 ViewToWorld(double vx, double vy, double vz) {
  return BoundView().ViewToWorld(vx, vy, vz);
}

// The view's own conversion from drawing to view coordinates.
HostPoint3 WorldToView(double x, double y, double z) {
  return BoundView().WorldToView(x, y, z);
}

// Sign of v with |v| < 1e-6 counted as zero; exactly +-1e-6 has a sign.
int TolerantSign(double v) {
  if (!(std::fabs(v) >= kSignBand)) return 0;
  return v < 0 ? -1 : 1;
}

}  // namespace pphatch
