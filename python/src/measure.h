// Area and perimeter of a found area, from its boundary polygons.
#pragma once

#include <vector>

#include "formats/dxf_writer.h"

namespace pphatch::python {

/// Net area and perimeter of an area.
struct Measure {
  double area = 0;       ///< the outer boundary's area minus the islands'
  double perimeter = 0;  ///< the length of the outer boundary
};

/// Measures an area given as closed contours, the outer boundary first and
/// the islands after it. Each contour counts with its absolute area, so the
/// direction it runs in does not matter.
Measure MeasureContours(const std::vector<formats::Contour>& contours);

}  // namespace pphatch::python
