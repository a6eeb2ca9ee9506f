#include "formats/spline.h"

#include <algorithm>
#include <array>

namespace pphatch::formats {

namespace {

// A control point in homogeneous coordinates: (w x, w y, w z, w).
using Homogeneous = std::array<double, 4>;

// The curve point at u in knot span k (knots[k] <= u <= knots[k + 1]).
mem::Vec3 DeBoor(int degree, const std::vector<double>& knots, const std::vector<Homogeneous>& cps,
                 int k, double u) {
  std::vector<Homogeneous> d(cps.begin() + (k - degree), cps.begin() + (k + 1));
  for (int r = 1; r <= degree; ++r) {
    for (int j = degree; j >= r; --j) {
      const double lo = knots[j + k - degree];
      const double hi = knots[j + 1 + k - r];
      const double alpha = hi > lo ? (u - lo) / (hi - lo) : 0;
      for (int c = 0; c < 4; ++c) d[j][c] = (1 - alpha) * d[j - 1][c] + alpha * d[j][c];
    }
  }
  const Homogeneous& p = d[degree];
  return {p[0] / p[3], p[1] / p[3], p[2] / p[3]};
}

}  // namespace

std::vector<mem::Vec3> SampleSpline(int degree, const std::vector<double>& knots,
                                    const std::vector<double>& weights,
                                    const std::vector<mem::Vec3>& control, int perSpan) {
  const int n = static_cast<int>(control.size());
  if (degree < 1 || degree > kMaxSplineDegree || n < degree + 1 ||
      static_cast<int>(knots.size()) != n + degree + 1 || perSpan < 1 ||
      !std::is_sorted(knots.begin(), knots.end()) || !(knots[degree] < knots[n])) {
    return {};
  }
  const bool rational = static_cast<int>(weights.size()) == n;
  if (rational && std::any_of(weights.begin(), weights.end(), [](double w) { return !(w > 0); })) {
    return {};
  }
  std::vector<Homogeneous> cps;
  cps.reserve(control.size());
  for (int i = 0; i < n; ++i) {
    const double w = rational ? weights[i] : 1;
    cps.push_back({w * control[i].x, w * control[i].y, w * control[i].z, w});
  }
  std::vector<mem::Vec3> points;
  int last = degree;
  for (int k = degree; k < n; ++k) {
    if (!(knots[k] < knots[k + 1])) continue;
    last = k;
    for (int j = 0; j < perSpan; ++j) {
      const double u = knots[k] + (knots[k + 1] - knots[k]) * j / perSpan;
      points.push_back(DeBoor(degree, knots, cps, k, u));
    }
  }
  points.push_back(DeBoor(degree, knots, cps, last, knots[n]));
  return points;
}

std::vector<double> ClampedUniformKnots(int degree, int controlCount) {
  std::vector<double> knots;
  const int inner = controlCount - degree - 1;
  for (int i = 0; i <= degree; ++i) knots.push_back(0);
  for (int i = 1; i <= inner; ++i) knots.push_back(static_cast<double>(i) / (inner + 1));
  for (int i = 0; i <= degree; ++i) knots.push_back(1);
  return knots;
}

}  // namespace pphatch::formats
