// Circles, ellipses and their arcs given by two conjugate half-diameters,
// as they come out of an affine map, turned into the host's shapes.
#pragma once

#include "memhost/builders.h"

namespace pphatch::formats {

/// The curve p(t) = centre + cos(t) u + sin(t) v, for t from `start` to
/// `end` (end > start), or for every t when `whole`. u and v need not be
/// perpendicular or of equal length, and (u, v) may turn clockwise.
struct ConicArc {
  mem::Vec2 centre, u, v;
  double start = 0, end = 0;
  bool whole = true;
};

/// Adds the curve as the host stores it: a "CIRCLE" (circle or ellipse) or
/// an "ARC" running counter-clockwise; the parameters are re-measured from
/// the major axis. A curve seen edge-on (u and v parallel) becomes a
/// "GRAPHIC" chain of sampled points.
mem::GraphicPtr AddConicArc(const mem::Into& into, const ConicArc& arc);

}  // namespace pphatch::formats
