// Setting a view up for one request, as a user would before clicking.
#pragma once

#include <cstddef>

#include "memhost/vec.h"
#include "memhost/view.h"

namespace pphatch::mem {

/// About this many graphics are in sight in a view set up for a click.
inline constexpr std::size_t kGraphicsInViewForClick = 200;

/// Sets the view up for a request at the drawing point `click`, the way a
/// user zooms in on the area before clicking into it: centred on the click
/// and zoomed so that the square of the view's height around it meets about
/// `graphics` graphics. A drawing that has no more than that within reach of
/// the click is shown whole instead (exactly as FitToDrawing shows it). The
/// view's size and rotation stay.
///
/// The component sizes the windows it picks along a boundary from the view's
/// height, and its steps past islands from the view's width, so the view
/// decides how much of the drawing every window pick returns and how finely
/// the driver steps: in a view fitted to a huge drawing each window holds
/// thousands of graphics and a step can jump over a wall; in a view of the
/// neighbourhood a window holds a handful. The view need not hold the area:
/// the march and every pick reach beyond its visible part when they need to.
void ShowAroundClick(MemView& view, Vec2 click, std::size_t graphics = kGraphicsInViewForClick);

}  // namespace pphatch::mem
