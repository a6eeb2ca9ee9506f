// The lines of a line hatch clipped to an area, for files whose format has
// no HATCH entity.
#pragma once

#include <utility>
#include <vector>

#include "formats/true_contour.h"

namespace pphatch::formats {

/// A straight line from first to second.
using LineSegment = std::pair<mem::Vec2, mem::Vec2>;

/// Parallel lines at `angle` (radians) through the origin and every
/// multiple of `spacing` beside it, cut to the area that the contours
/// enclose by the even-odd rule (islands left open). Arcs are followed to
/// within a thousandth of the spacing. Nothing when the spacing is not positive.
std::vector<LineSegment> PatternLines(const std::vector<TrueContour>& contours, double angle,
                                      double spacing);

}  // namespace pphatch::formats
