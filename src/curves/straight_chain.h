// A chain of straight segments made from points, for the chains the search
// adds of its own (gap bridges, tile frames).
#pragma once

#include <string>
#include <vector>

#include "curves/curve_record.h"
#include "geometry/incidence.h"

namespace pphatch {

/// The chain through `points` with its bounds, of the given type name;
/// closed when it returns exactly to its first point.
CurveRecord StraightChain(const std::vector<Point2>& points, const std::string& type);

}  // namespace pphatch
