#include "formats/pattern_lines.h"

#include <algorithm>
#include <cmath>

#include "memhost/arc_shape.h"

namespace pphatch::formats {

using mem::Vec2;

namespace {

// The contour as a closed polygon: arcs sampled so that no chord strays
// from its arc by more than `deviation`.
std::vector<Vec2> Polygon(const TrueContour& contour, double deviation) {
  std::vector<Vec2> points;
  for (const ContourPiece& p : contour) {
    points.push_back(p.from);
    if (!p.arc) continue;
    const double radius = std::max(Length(p.u), Length(p.v));
    // A chord over an angle a strays by r (1 - cos(a / 2)), about r a^2 / 8.
    const double step = std::min(0.1, std::sqrt(8 * deviation / radius));
    const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(p.t1 - p.t0) / step)));
    for (int k = 1; k < steps; ++k) points.push_back(p.At(p.t0 + (p.t1 - p.t0) * k / steps));
  }
  return points;
}

}  // namespace

std::vector<LineSegment> PatternLines(const std::vector<TrueContour>& contours, double angle,
                                      double spacing) {
  std::vector<LineSegment> lines;
  if (!(spacing > 0)) return lines;
  // Turned by -angle, the lines run along x at y = k * spacing.
  std::vector<std::vector<Vec2>> rings;
  double minY = INFINITY, maxY = -INFINITY;
  for (const TrueContour& c : contours) {
    std::vector<Vec2> ring = Polygon(c, spacing / 1000);
    for (Vec2& q : ring) {
      q = mem::Rotated(q, -angle);
      minY = std::min(minY, q.y);
      maxY = std::max(maxY, q.y);
    }
    rings.push_back(std::move(ring));
  }
  if (!(maxY >= minY)) return lines;
  std::vector<double> xs;
  for (double k = std::ceil(minY / spacing); k * spacing <= maxY; k += 1) {
    const double y = k * spacing;
    xs.clear();
    for (const auto& ring : rings) {
      for (std::size_t i = 0; i < ring.size(); ++i) {
        const Vec2 a = ring[i], b = ring[(i + 1) % ring.size()];
        // Half-open in y, so that a vertex on the line counts once.
        if ((a.y > y) != (b.y > y)) xs.push_back(a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y));
      }
    }
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      lines.push_back({mem::Rotated({xs[i], y}, angle), mem::Rotated({xs[i + 1], y}, angle)});
    }
  }
  return lines;
}

}  // namespace pphatch::formats
