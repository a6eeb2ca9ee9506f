#include "measure.h"

#include <cmath>

namespace pphatch::python {

namespace {

// The shoelace sum of a closed contour, and its length. Coordinates are
// taken relative to the first point, so that a drawing far from the origin
// loses no digits to the products.
Measure MeasureRing(const formats::Contour& ring) {
  Measure m;
  if (ring.size() < 2) return m;
  const double ox = ring[0][0], oy = ring[0][1];
  double twice = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const formats::Point2& b = ring[(i + 1) % ring.size()];  // the closing edge is 0 when repeated
    const double ax = ring[i][0] - ox, ay = ring[i][1] - oy;
    const double bx = b[0] - ox, by = b[1] - oy;
    twice += ax * by - bx * ay;
    m.perimeter += std::hypot(bx - ax, by - ay);
  }
  m.area = std::fabs(twice) / 2;
  return m;
}

}  // namespace

Measure MeasureContours(const std::vector<formats::Contour>& contours) {
  Measure total;
  for (std::size_t i = 0; i < contours.size(); ++i) {
    const Measure ring = MeasureRing(contours[i]);
    total.area += i == 0 ? ring.area : -ring.area;
    if (i == 0) total.perimeter = ring.perimeter;
  }
  return total;
}

}  // namespace pphatch::python
