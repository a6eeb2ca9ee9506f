// Areas and lengths of true contours, in drawing units.
#pragma once

#include <vector>

#include "formats/true_contour.h"

namespace pphatch::formats {

/// The area enclosed by the closed contour, positive when it runs
/// counter-clockwise; arcs count with their true curve.
double SignedArea(const TrueContour& contour);

/// The length of the contour along its lines and true arcs.
double ContourLength(const TrueContour& contour);

/// The measures of one found area: the outer contour first, then the islands.
struct AreaMeasures {
  double area = 0;       ///< outer area minus the areas of the islands
  double perimeter = 0;  ///< length of the outer contour
  std::vector<double> contourAreas;    ///< unsigned area of each contour, in order
  std::vector<double> contourLengths;  ///< length of each contour, in order
};

/// The measures of an area given as its outer contour followed by its islands.
AreaMeasures MeasureArea(const std::vector<TrueContour>& contours);

}  // namespace pphatch::formats
