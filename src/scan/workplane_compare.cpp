// Comparing a graphic's workplane with the drawing's.
#include "scan/workplane_compare.h"

#include <cmath>

#include "component/continue_on_error.h"
#include "geometry/tolerance.h"
#include "scan/graphic_reads.h"

namespace pphatch {
namespace {

// Two planes whose offsets differ by more than this (drawing units) are
// different planes, whatever the current GeomTolerance.
constexpr double kOffsetTolerance = 1e-6;

// A normal shorter than this is not normalised; the frame keeps the raw
// differences and leaves d at 0.
constexpr double kDegenerateNormal = 1e-8;

}  // namespace

// The plane of a workplane: the host places local (0,0,0) and (0,0,1) on it
// in a free graphic, and the normal is their world difference.
PlaneEquation WorkplaneFrame(const HostDrawingPtr& drawing, const HostWorkplanePtr& workplane) {
  PlaneEquation plane;
  const HostGraphicPtr probe = Must(drawing)->NewFreeGraphic();
  const HostVerticesPtr setup = Must(Must(probe)->Vertices());
  setup->SetWorldMode(true);
  setup->Add(0, 0, 0);
  setup->Add(0, 0, 1);

  // From here on host failures are ignored; values never read stay 0.
  Attempt([&] { probe->ApplyWorkplane(workplane); });
  HostVerticesPtr vertices;
  Attempt([&] { vertices = probe->Vertices(); });
  Attempt([&] { Must(vertices)->SetWorldMode(true); });
  HostPoint3 p0, p1;
  HostVertexPtr v0, v1;
  Attempt([&] { v0 = Must(vertices)->Item(0); });
  Attempt([&] { p0.x = Must(v0)->X(); });
  Attempt([&] { p0.y = Must(v0)->Y(); });
  Attempt([&] { p0.z = Must(v0)->Z(); });
  Attempt([&] { v1 = Must(vertices)->Item(1); });
  Attempt([&] { p1.x = Must(v1)->X(); });
  Attempt([&] { p1.y = Must(v1)->Y(); });
  Attempt([&] { p1.z = Must(v1)->Z(); });
  plane.a = p0.x - p1.x;
  plane.b = p0.y - p1.y;
  plane.c = p0.z - p1.z;

  const double len = std::sqrt(plane.a * plane.a + plane.b * plane.b + plane.c * plane.c);
  if (len >= kDegenerateNormal) {
    plane.a /= len;
    plane.b /= len;
    plane.c /= len;
    plane.d = -(p0.x * plane.a + p0.y * plane.b + p0.z * plane.c);
  }
  Attempt([&] { probe->Delete(); });
  return plane;
}

// 1 for the same workplane, 2 for a parallel one at the same offset, else 0.
// Antiparallel normals count as parallel; the offsets must still agree.
int CompareWorkplanes(const HostDrawingPtr& drawing, const HostWorkplanePtr& first,
                      const HostWorkplanePtr& second) {
  Must(second);
  if (Must(first)->IsEqual(second)) return 1;
  const PlaneEquation p = WorkplaneFrame(drawing, first);
  const PlaneEquation q = WorkplaneFrame(drawing, second);
  if (std::fabs(p.d - q.d) > kOffsetTolerance) return 0;
  const double cx = p.b * q.c - p.c * q.b;
  const double cy = p.c * q.a - p.a * q.c;
  const double cz = p.a * q.b - p.b * q.a;
  return std::sqrt(cx * cx + cy * cy + cz * cz) <= GeomTolerance() ? 2 : 0;
}

}  // namespace pphatch

namespace pphatch {

// With TileMode 1: keep graphics on the drawing's workplane or a parallel
// one at the same offset. The latter lie in the drawing's plane already, so
// their plane coordinates are read as they are; putting them onto the
// drawing's workplane would move their world position in the user's drawing.
bool PassesWorkplaneStep(ObjectState& state, const HostGraphicPtr& graphic, ErrorMode& mode) {
  if (state.TileMode != 1) return true;
  HostWorkplanePtr own;
  mode([&] { own = Must(graphic)->Workplane(); });
  int r = 0;
  mode([&] { r = CompareWorkplanes(Module().Drawing, state.Workplane, own); });
  mode.Enter();
  return r != 0;
}

}  // namespace pphatch
