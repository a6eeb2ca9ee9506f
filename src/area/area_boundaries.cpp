#include "area/area_boundaries.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace pphatch {
namespace {

// The ring's points walked the other way round, the first not repeated.
std::vector<Point2> ReversedPoints(const PlanarGraph& graph, const Ring& ring) {
  std::vector<Point2> points;
  points.reserve(ring.halfEdges.size() + 1);
  for (auto h = ring.halfEdges.rbegin(); h != ring.halfEdges.rend(); ++h) {
    points.push_back(graph.OriginPoint(*h ^ 1));
  }
  return points;
}

// Index of the edge (points i -> i + 1, closing round) that runs upwards
// across the line y = at.y left of at.x, the one crossing nearest to at;
// nothing when no edge does.
std::optional<size_t> UpwardCrossingLeftOf(const std::vector<Point2>& points, Point2 at) {
  std::optional<size_t> best;
  double bestX = -INFINITY;
  for (size_t i = 0; i < points.size(); ++i) {
    const Point2 a = points[i], b = points[(i + 1) % points.size()];
    if (!(a.y <= at.y && b.y > at.y)) continue;
    const double x = a.x + (at.y - a.y) * (b.x - a.x) / (b.y - a.y);
    if (x < at.x && x > bestX) {
      bestX = x;
      best = i;
    }
  }
  return best;
}

// The boundary record: the points from `start` on, closed, with its bounds.
CurveRecord Boundary(const std::vector<Point2>& points, size_t start, const char* kind) {
  CurveRecord record;
  const size_t n = points.size();
  record.X.reserve(n + 1);
  record.Y.reserve(n + 1);
  for (size_t k = 0; k <= n; ++k) {
    const Point2 p = points[(start + k) % n];
    record.X.push_back(p.x);
    record.Y.push_back(p.y);
    record.SumX += p.x;
    record.SumY += p.y;
  }
  record.PointCount = static_cast<int>(n + 1);
  record.MinX = *std::min_element(record.X.begin(), record.X.end());
  record.MaxX = *std::max_element(record.X.begin(), record.X.end());
  record.MinY = *std::min_element(record.Y.begin(), record.Y.end());
  record.MaxY = *std::max_element(record.Y.begin(), record.Y.end());
  record.Closed = true;
  record.TypeName = "GRAPHIC";
  record.Kind = kind;
  return record;
}

}  // namespace

AreaBoundaries BoundariesOf(const PlanarGraph& graph, int outerRing,
                            const std::vector<int>& islandRings, Point2 click) {
  AreaBoundaries result;
  const std::vector<Point2> outer = ReversedPoints(graph, graph.Rings()[static_cast<size_t>(outerRing)]);
  result.outer = Boundary(outer, UpwardCrossingLeftOf(outer, click).value_or(0), "External");

  // Each island with the x where the click's ray meets it (if it does).
  struct Island {
    CurveRecord boundary;
    std::optional<double> rayX;
  };
  std::vector<Island> islands;
  for (const int r : islandRings) {
    const Ring& ring = graph.Rings()[static_cast<size_t>(r)];
    const std::vector<Point2> points = ReversedPoints(graph, ring);
    const Point2 rightOfIt{ring.box.maxX + 1 + std::fabs(ring.box.maxX),
                           0.5 * (ring.box.minY + ring.box.maxY)};
    Island island{Boundary(points, UpwardCrossingLeftOf(points, rightOfIt).value_or(0), "Internal"), {}};
    if (const std::optional<size_t> hit = UpwardCrossingLeftOf(points, click)) {
      const Point2 a = points[*hit], b = points[(*hit + 1) % points.size()];
      island.rayX = a.x + (click.y - a.y) * (b.x - a.x) / (b.y - a.y);
    }
    islands.push_back(std::move(island));
  }
  std::stable_sort(islands.begin(), islands.end(), [](const Island& a, const Island& b) {
    if (a.rayX.has_value() != b.rayX.has_value()) return a.rayX.has_value();
    if (a.rayX) return *a.rayX > *b.rayX;
    return a.boundary.MaxX > b.boundary.MaxX;
  });
  for (Island& island : islands) result.islands.push_back(std::move(island.boundary));
  return result;
}

}  // namespace pphatch
