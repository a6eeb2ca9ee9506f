// The frame of a circle, ellipse or arc of one, in which it is the unit circle.
#pragma once

#include <cmath>

#include "curves/curve_record.h"
#include "geometry/incidence.h"

namespace pphatch {

/// The frame of a chain's conic (CurveRecord::Conic): centred on it, the
/// major axis along x, each axis scaled to 1, so that the conic is the unit
/// circle. The radii must be positive.
struct ConicFrame {
  Point2 centre, axis;
  double a = 1, b = 1;  ///< major and minor radius

  explicit ConicFrame(const CurveRecord& conic)
      : centre{conic.CenterX, conic.CenterY},
        axis{conic.AxisX, conic.AxisY},
        a(conic.Radius),
        b(conic.MinorRadius) {}

  /// A drawing point in the frame.
  Point2 In(Point2 p) const {
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    return {(dx * axis.x + dy * axis.y) / a, (-dx * axis.y + dy * axis.x) / b};
  }
  /// A point of the frame in the drawing.
  Point2 Out(Point2 q) const {
    const double u = q.x * a, v = q.y * b;
    return {centre.x + u * axis.x - v * axis.y, centre.y + u * axis.y + v * axis.x};
  }
  /// The level of p on the conic's normalised equation: below 1 inside,
  /// 1 on the conic; it grows in proportion along every ray from the centre.
  double Level(Point2 p) const {
    const Point2 q = In(p);
    return std::hypot(q.x, q.y);
  }
  /// Distance of p from the conic: its level off 1 over the level's gradient.
  double Distance(Point2 p) const {
    const Point2 q = In(p);
    const double level = std::hypot(q.x, q.y);
    if (!(level > 0)) return a;
    const double gradient = std::hypot(q.x / a, q.y / b) / level;
    return std::fabs(level - 1) / gradient;
  }
};

/// True when the chain carries a conic with positive radii.
inline bool HasConic(const CurveRecord& chain) {
  return chain.Conic && chain.Radius > 0 && chain.MinorRadius > 0;
}

}  // namespace pphatch
