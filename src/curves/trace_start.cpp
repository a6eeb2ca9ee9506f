#include "curves/trace_start.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "curves/chain_geometry.h"
#include "curves/chain_walk.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Farther along the ray than any crossing that counts.
constexpr double kRayReach = 1e7;

// The segment the ray meets nearest to the start point, and where.
struct RayHit {
  int chain = 0;
  int j = 0;
  Point2 at;
};

// The nearest crossing of the leftward ray from (x, y) with a segment of an
// unused chain; the first one met wins ties.
std::optional<RayHit> CastRay(const std::vector<CurveRecord>& records, int count, double x,
                              double y) {
  const double e = GeomTolerance();
  std::optional<RayHit> hit;
  double best = kRayReach;
  for (int r = 0; r < count; ++r) {
    const CurveRecord& chain = records[r];
    if (chain.Used || !(chain.MinY - y <= 10 * e && chain.MaxY - y >= -10 * e)) continue;
    for (int j = 0; j + 1 < chain.PointCount; ++j) {
      const Point2 p1 = ChainPoint(chain, j), p2 = ChainPoint(chain, j + 1);
      const bool reachesDown = p1.y - y <= e || p2.y - y <= e;
      const bool reachesUp = p1.y - y >= -e || p2.y - y >= -e;
      if (!reachesDown || !reachesUp || std::fabs(p2.y - p1.y) < e) continue;
      const double xc = (p2.x - p1.x) / (p2.y - p1.y) * (y - p1.y) + p1.x;
      if (PointOnSegmentExclStart(p1.x, p1.y, p2.x, p2.y, xc, y) != 1) continue;
      if (x - xc > 0 && x - xc < best) {
        best = x - xc;
        hit = RayHit{r, j, {xc, y}};
      }
    }
  }
  return hit;
}

// The crossing of another segment with the start segment a -> b that lies on
// a -> c nearest to c, the ray's crossing; nothing when no segment crosses there.
std::optional<Point2> LastCrossingBelow(const std::vector<CurveRecord>& records, int count,
                                        Point2 a, Point2 b, Point2 c) {
  const double e = GeomTolerance();
  const double dist = Distance(a, c);
  const SegmentFrame frame = FrameOf(a, c, dist);
  const Line startLine = LineThrough(a, b);
  std::optional<Point2> nearest;
  double bestGap = std::numeric_limits<double>::infinity();
  for (int r = 0; r < count; ++r) {
    const CurveRecord& chain = records[r];
    if (chain.Used || !BoundsNear(chain, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                                  std::max(a.y, b.y), 10 * e)) {
      continue;
    }
    for (int j = 0; j + 1 < chain.PointCount; ++j) {
      const Point2 q1 = ChainPoint(chain, j), q2 = ChainPoint(chain, j + 1);
      const double c1 = frame.Across(q1), c2 = frame.Across(q2);
      if ((c1 > e && c2 > e) || (c1 < -e && c2 < -e) || std::fabs(c1 - c2) < e) continue;
      const double l1 = frame.Along(q1), l2 = frame.Along(q2);
      if ((l1 - dist > e && l2 - dist > e) || (l1 < -e && l2 < -e)) continue;
      const Line line = LineThrough(q1, q2);
      const std::optional<Point2> i =
          IntersectLines(startLine.a, startLine.b, startLine.c, line.a, line.b, line.c);
      if (!i || PointOnSegmentExclStart(a.x, a.y, c.x, c.y, i->x, i->y) != 1 ||
          PointOnSegment(q1.x, q1.y, q2.x, q2.y, i->x, i->y) != 1) {
        continue;
      }
      const double gap = dist - Distance(*i, a);
      if (gap < bestGap) {
        bestGap = gap;
        nearest = *i;
      }
    }
  }
  return nearest;
}

}  // namespace

std::optional<TraceStart> FindTraceStart(const std::vector<CurveRecord>& records, int count,
                                         double x, double y) {
  const std::optional<RayHit> hit = CastRay(records, count, x, y);
  if (!hit) return std::nullopt;
  const CurveRecord& chain = records[hit->chain];
  TraceStart start;
  start.chain = hit->chain;
  start.a = ChainPoint(chain, hit->j);
  start.b = ChainPoint(chain, hit->j + 1);
  if (start.b.y <= start.a.y) {
    start.d = -1;
    start.k = hit->j + 1;
    std::swap(start.a, start.b);
  } else {
    start.d = 1;
    start.k = hit->j;
  }
  if (Distance(hit->at, start.a) >= GeomTolerance()) {
    if (const auto crossing = LastCrossingBelow(records, count, start.a, start.b, hit->at)) {
      start.a = *crossing;
    }
  }
  return start;
}

}  // namespace pphatch
