// Moving left in the drawing, in view coordinates.
#include "driver/leftward.h"

#include <algorithm>
#include <cmath>

#include "component/state.h"
#include "driver/view_convert.h"

namespace pphatch {

LeftwardDirection::LeftwardDirection(double ax, double ay)
    : ax_(ax), ay_(ay), alongY_(std::fabs(ay) > std::fabs(ax)) {
  sense_ = (alongY_ ? ay : ax) < 0 ? -1 : 1;
}

LeftwardDirection LeftwardDirection::AtDrawingPoint(double x, double y) {
  const HostPoint3 v = WorldToView(x, y, 0);
  const HostPoint3 right = WorldToView(x + 1, y, 0);
  return LeftwardDirection(right.x - v.x, right.y - v.y);
}

Point2 LeftwardDirection::Step(Point2 from, double h) const {
  const double along = alongY_ ? std::fabs(ay_) : std::fabs(ax_);
  return {from.x - h * ax_ / along, from.y - h * ay_ / along};
}

Point2 LeftwardDirection::OnLineAt(Point2 through, double c) const {
  if (alongY_) return {(c - through.y) * ax_ / ay_ + through.x, c};
  return {c, (c - through.x) * ay_ / ax_ + through.y};
}

double LeftwardDirection::Limit(double wy) const {
  ModuleState& module = Module();
  if (!module.View || !module.DrawingGraphics) throw HostError("no view is bound");
  const HostBoundingBoxPtr box = module.DrawingGraphics->CalcBoundingBox();
  const HostVertexPtr corner = box ? box->Min() : nullptr;
  if (!corner) throw HostError("no bounding box");
  if (alongY_) return WorldToView(corner->X(), wy, 0).y;
  const double cornerX = WorldToView(corner->X(), corner->Y(), corner->Z()).x;
  const double left = module.View->ViewLeft();
  if (sense_ > 0) return std::min(left, cornerX);
  return std::max(left + module.View->ViewWidth(), cornerX);
}

}  // namespace pphatch
