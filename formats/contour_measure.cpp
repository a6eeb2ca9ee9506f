#include "formats/contour_measure.h"

#include <array>
#include <algorithm>
#include <cmath>

namespace pphatch::formats {

using mem::Vec2;

namespace {

// Nodes and weights of 5-point Gauss-Legendre quadrature on [-1, 1].
constexpr std::array<double, 5> kNodes = {0.0, -0.5384693101056831, 0.5384693101056831,
                                          -0.9061798459386640, 0.9061798459386640};
constexpr std::array<double, 5> kWeights = {0.5688888888888889, 0.4786286704993665,
                                            0.4786286704993665, 0.2369268850561891,
                                            0.2369268850561891};
// An elliptic arc is integrated in panels of at most this turn, which keeps
// the quadrature error far below a part in 1e12 for any axis ratio above 1e-3.
constexpr double kPanelTurn = 0.05;

// The length of an elliptic arc: the integral of |p'(t)| over its range.
double EllipticLength(const ContourPiece& p) {
  const double span = p.t1 - p.t0;
  const int panels = std::max(1, static_cast<int>(std::ceil(std::fabs(span) / kPanelTurn)));
  const double h = span / panels;
  double sum = 0;
  for (int k = 0; k < panels; ++k) {
    const double mid = p.t0 + (k + 0.5) * h;
    for (std::size_t i = 0; i < kNodes.size(); ++i) {
      const double t = mid + kNodes[i] * h / 2;
      sum += kWeights[i] * Length(-std::sin(t) * p.u + std::cos(t) * p.v);
    }
  }
  return std::fabs(sum * h / 2);
}

// Twice the signed area the piece sweeps seen from o: the integral of
// (p - o) x p' along it. For a conic p(t) = c + cos t u + sin t v this is
// (c - o) x (p(t1) - p(t0)) + (u x v)(t1 - t0). Measuring from a point of
// the contour keeps the sums small where coordinates are large.
double SweptTwice(const ContourPiece& p, Vec2 o) {
  if (!p.arc) return Cross(p.from - o, p.to - o);
  return Cross(p.centre - o, p.At(p.t1) - p.At(p.t0)) + Cross(p.u, p.v) * (p.t1 - p.t0);
}

}  // namespace

double SignedArea(const TrueContour& contour) {
  if (contour.empty()) return 0;
  const Vec2 o = contour.front().from;
  double twice = 0;
  for (const ContourPiece& p : contour) twice += SweptTwice(p, o);
  return twice / 2;
}

double ContourLength(const TrueContour& contour) {
  double length = 0;
  for (const ContourPiece& p : contour) {
    if (!p.arc) {
      length += Length(p.to - p.from);
    } else if (p.Circular()) {
      length += Length(p.u) * std::fabs(p.t1 - p.t0);
    } else {
      length += EllipticLength(p);
    }
  }
  return length;
}

AreaMeasures MeasureArea(const std::vector<TrueContour>& contours) {
  AreaMeasures m;
  for (std::size_t i = 0; i < contours.size(); ++i) {
    const double area = std::fabs(SignedArea(contours[i]));
    const double length = ContourLength(contours[i]);
    m.contourAreas.push_back(area);
    m.contourLengths.push_back(length);
    m.area += i == 0 ? area : -area;
    if (i == 0) m.perimeter = length;
  }
  return m;
}

}  // namespace pphatch::formats
