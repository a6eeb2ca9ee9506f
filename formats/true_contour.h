// Contours read back onto the curves of the drawing they follow.
//
// A found area's contours are chains of points: straight stretches of the
// drawing keep their end points, and circles, arcs, ellipses and polyline
// arc runs are followed by short chords. A true contour replaces each run of
// chords that lies on one curve of the drawing by that curve's arc, so that
// writers can draw true arcs and measures are those of the curves.
#pragma once

#include <array>
#include <vector>

#include "memhost/vec.h"

namespace pphatch::mem {
class MemDrawing;
}

namespace pphatch::formats {

/// A point in drawing coordinates.
using Point2 = std::array<double, 2>;
/// A closed boundary: its points in order; the last may repeat the first.
using Contour = std::vector<Point2>;

/// One stretch of a true contour: a straight line from `from` to `to`, or
/// the arc of the conic centre + cos(t) u + sin(t) v for t from t0 to t1
/// (t1 < t0: the arc runs against the conic's sense). For a circle u and v
/// are (r, 0) and (0, r), so t is the direction seen from the centre; for an
/// ellipse u is the major half-axis and v the minor one, turned +90 degrees
/// from u. `from` and `to` are the contour's own points at the ends.
struct ContourPiece {
  mem::Vec2 from, to;
  bool arc = false;
  mem::Vec2 centre, u, v;
  double t0 = 0, t1 = 0;

  /// True when u and v have one length (a circle).
  bool Circular() const;
  /// The conic's point at parameter t.
  mem::Vec2 At(double t) const;
};

/// A closed contour as pieces, each starting where the one before ended.
using TrueContour = std::vector<ContourPiece>;

/// Points lie on a curve when their distance to it is within this fraction
/// of the curve's size plus the largest coordinate of the contour (both in
/// drawing units). The component puts the points it samples exactly on the
/// curves, so only rounding separates them.
inline constexpr double kOnCurveTolerance = 1e-9;

/// A chord longer than this turn of its curve is never taken for part of
/// the curve: the component follows curves with chords of at most about
/// 6 degrees, so a longer chord is a straight line of the drawing.
inline constexpr double kMaxChordTurn = 0.2;  // radians, about 11.5 degrees

/// The contour (closed; the last point may repeat the first) with each run
/// of chords that lies on one circle, circular arc, ellipse or polyline arc
/// run of the drawing replaced by an arc of that curve. A chord that lies on
/// a straight line of the drawing stays straight. The curves are looked up
/// in the drawing's pick index around the contour, never in the whole
/// drawing. An empty contour gives no pieces.
TrueContour FollowCurves(mem::MemDrawing& drawing, const Contour& contour);

/// The pieces of a contour taken as it is (straight lines only).
TrueContour StraightContour(const Contour& contour);

}  // namespace pphatch::formats
