// The container graphic handed to the host.
#include "driver/result_graphic.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "component/continue_on_error.h"
#include "curves/chain_points.h"
#include "geometry/checked_math.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Raises ComputeError unless contours 0..last exist and hold their points.
void RequireContours(const std::vector<CurveRecord>& contours, int last) {
  if (last >= 0 && static_cast<std::size_t>(last) >= contours.size()) {
    throw ComputeError("contour index beyond the list");
  }
  for (int r = 0; r <= last; ++r) RequireChainPoints(contours[r]);
}

}  // namespace

// One container outside the drawing with a closed child per contour, in the
// order of the list, every point at z = 0, the drawing's workplane applied.
// Should building fail, the container and the working set are discarded
// before the error goes on, so that nothing of it stays in the drawing.
HostGraphicPtr BuildResultGraphic(ObjectState& state, const std::vector<CurveRecord>& contours,
                                  int contourCount) {
  RequireContours(contours, contourCount);
  ModuleState& module = Module();
  if (!module.DrawingGraphics) throw HostError("no drawing graphics");
  const HostDrawingPtr drawing = module.DrawingGraphics->Drawing();
  if (!drawing) throw HostError("no drawing");
  const HostGraphicSetsPtr sets = drawing->GraphicSets();
  if (!sets) throw HostError("no graphic sets");
  const HostGraphicSetPtr set = sets->Add("LocalSet", false);
  if (!set) throw HostError("no graphic set");

  HostGraphicPtr container;
  try {
    container = set->Add(kContainerKind);
    if (!container) throw HostError("no container graphic");
    for (int r = 0; r <= contourCount; ++r) {
      const HostGraphicsPtr children = container->Graphics();
      if (!children) throw HostError("no child graphics");
      const HostGraphicPtr child = children->Add(kChainKind);
      if (!child) throw HostError("no child graphic");
      const HostVerticesPtr vertices = child->Vertices();
      if (!vertices) throw HostError("no vertices");
      const CurveRecord& contour = contours[r];
      for (int j = 0; j < contour.PointCount; ++j) vertices->Add(contour.X[j], contour.Y[j], 0);
      child->SetClosed(true);
    }
    const HostGraphicsPtr children = container->Graphics();
    if (!children) throw HostError("no child graphics");
    module.CurrentGraphic = children->Parent();
    if (!module.CurrentGraphic) throw HostError("no container graphic");
    container->Delete();
  } catch (...) {
    if (container) Attempt([&] { container->Delete(); });
    Attempt([&] { set->Clear(); });
    throw;
  }

  const HostGraphicPtr result = module.CurrentGraphic;
  Attempt([&] { result->ApplyWorkplane(state.Workplane); });
  Attempt([&] { set->Clear(); });
  return result;
}

}  // namespace pphatch
