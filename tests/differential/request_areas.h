// What the comparisons read from a request's result, which drawings they
// compare and where they click.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "differential/drawing_chords.h"
#include "support/request_fixture.h"

namespace pphatch::differential {

/// Clicks closer than this to a line (or to a true curve, beyond its chord
/// error) are left out: there the face holding the click is a matter of
/// rounding.
inline constexpr double kClearance = 1e-3;
/// Allowed relative difference between two areas that sum the same chords:
/// only rounding remains.
inline constexpr double kRelative = 1e-9;
/// How far a point may lie off a true curve or another chain and still be
/// on it, for the oracle: 1e-9 of the random drawings' size. Points meant to
/// be on something are off by rounding only (some 1e-14); the component
/// joins within 1e-7 of its search window, which is no smaller than the face.
inline constexpr double kOnCurve = 1e-9 * 100;
/// A boundary closes when its last point lies within this of its first in
/// x and y: the loops close within ten times the tolerance of views like
/// these (1e-6), so the two ends may differ by rounding.
inline constexpr double kClosingGap = 1e-5;

/// Draws the graphics the text lists, separated by ';': "R x0 y0 x1 y1" a
/// rectangle, "P x y x y ..." a closed polygon, "C x y x y ..." an open chain
/// (a line with two points), "O x y r" a circle, "E x y mx my ratio" an
/// ellipse round (x, y) whose major axis runs to (x + mx, y + my).
inline void Draw(const mem::Into& into, const std::string& text) {
  std::istringstream graphics(text);
  for (std::string graphic; std::getline(graphics, graphic, ';');) {
    std::istringstream in(graphic);
    char kind = 0;
    in >> kind;
    std::vector<double> v;
    for (double x; in >> x;) v.push_back(x);
    std::vector<Vec2> points;
    for (size_t i = 0; i + 1 < v.size(); i += 2) points.push_back({v[i], v[i + 1]});
    if (kind == 'R') mem::AddRectangle(into, points.at(0), points.at(1));
    if (kind == 'P') mem::AddPolygon(into, points);
    if (kind == 'C') mem::AddChain(into, points);
    if (kind == 'O') mem::AddCircle(into, points.at(0), v.at(2));
    if (kind == 'E') mem::AddEllipse(into, points.at(0), points.at(1), v.at(4));
  }
}

/// Draws the random drawing of that seed in the fixture and looks at the
/// middle of its square with that zoom, turned and mirrored as it says.
inline RandomDrawing ViewRandom(uint32_t seed, RequestFixture& f, double zoom) {
  const RandomDrawing made = DrawingMaker(seed, f.drawing).Make();
  f.view->SetMirrored(made.viewMirrored);
  f.Look({50, 50}, zoom, made.viewRotation);
  return made;
}

/// Length of all boundaries of the result.
inline double BoundaryLength(const PickOutcome& out) {
  double length = 0;
  for (const std::vector<Point2>& c : out.contours) {
    for (size_t i = 0; i + 1 < c.size(); ++i)
      length += std::hypot(c[i + 1].x - c[i].x, c[i + 1].y - c[i].y);
  }
  return length;
}

/// True when every boundary of the result ends within `gap` of where it
/// starts, in x and in y.
inline bool AllClosed(const PickOutcome& out, double gap) {
  for (const std::vector<Point2>& c : out.contours) {
    if (c.empty() || std::fabs(c.front().x - c.back().x) > gap ||
        std::fabs(c.front().y - c.back().y) > gap) {
      return false;
    }
  }
  return true;
}

/// `count` clicks at seeded random points of [0, 100] x [0, 100] lying at
/// least `clearance` from every chain, and from every true curve (a curve's
/// chord error farther): closer in, the face holding the click is a matter
/// of rounding, or of how the curve is sampled.
inline std::vector<Vec2> RandomClicks(uint32_t seed, const DrawingChords& chords, double clearance,
                                      int count) {
  std::mt19937 rng(seed * 7919u + 17u);
  const auto coordinate = [&rng] { return 100.0 * (rng() / 4294967296.0); };
  std::vector<Vec2> clicks;
  while (clicks.size() < static_cast<size_t>(count)) {
    const double x = coordinate();
    const Vec2 click{x, coordinate()};
    if (chords.Clearance(click) >= clearance) clicks.push_back(click);
  }
  return clicks;
}

/// The chains' point lists, for GEOS.
inline std::vector<std::vector<Vec2>> ChainPoints(const DrawingChords& chords) {
  std::vector<std::vector<Vec2>> points;
  for (const Chain& c : chords.Chains()) points.push_back(c.points);
  return points;
}

}  // namespace pphatch::differential
