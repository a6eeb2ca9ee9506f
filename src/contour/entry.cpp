#include "contour/entry.h"

#include <cmath>
#include <vector>

#include "contour/candidates.h"
#include "curves/circle_contacts.h"

namespace pphatch {

namespace {

// A two-point chain from p to q, to gather the graphics along one segment.
CurveRecord SegmentProbe(Point2 p, Point2 q) {
  CurveRecord probe;
  probe.PointCount = 2;
  probe.X = {p.x, q.x};
  probe.Y = {p.y, q.y};
  return probe;
}

// Index of the last of records 0..n-1 that is the hit chain again: the same
// point count, coordinate sums within 100 E, and points i and i + d at S
// and T within E; -1 when none is.
int FindHitChainAgain(const std::vector<CurveRecord>& curves, int n, const CurveRecord& chain,
                      int i, int d, Point2 s, Point2 t) {
  const double e = GeomTolerance();
  int found = -1;
  for (int k = 0; k < n; ++k) {
    const CurveRecord& record = curves[static_cast<size_t>(k)];
    if (record.PointCount != chain.PointCount) continue;
    if (std::fabs(record.SumX - chain.SumX) >= 100 * e) continue;
    if (std::fabs(record.SumY - chain.SumY) >= 100 * e) continue;
    if (!Coincide(ChainPoint(record, i + d), t)) continue;
    if (!Coincide(ChainPoint(record, i), s)) continue;
    found = k;
  }
  return found;
}

// On a circle chain whose points may have moved or multiplied, the segment
// (start index, walked in sense d) that the line y = y0 crosses nearest on
// the left of x0; -1 when none does.
int FindHitSegmentOnCircle(const CurveRecord& chain, int d, double x0, double y0) {
  double best = 1e7;
  int found = -1;
  const int last = chain.PointCount - 1;
  for (int step = 0; step < last; ++step) {
    const int j = d > 0 ? step : last - step;
    const std::optional<double> cx =
        CrossingLeftOf(ChainPoint(chain, j), ChainPoint(chain, j + d), x0, y0);
    if (cx && x0 - *cx < best) {
      best = x0 - *cx;
      found = j;
    }
  }
  return found;
}

// Moves S to the junction on S -> C (C the crossing point, T the far end of
// the hit segment) nearest to C, if any chain meets that stretch.
void MoveStartToLastJunction(SearchState& search, Point2 t, Point2 crossing) {
  const double e = GeomTolerance();
  const Point2 s = search.S;
  const double length = Distance(s, crossing);
  const Point2 u{(crossing.x - s.x) / length, (crossing.y - s.y) / length};
  const auto across = [&](Point2 p) { return (p.y - s.y) * u.x - (p.x - s.x) * u.y; };
  const auto along = [&](Point2 p) { return (p.y - s.y) * u.y + (p.x - s.x) * u.x; };
  const Line hitLine = LineThrough(s, t);

  const std::vector<CurveRecord>& curves = Module().Curves;
  search.crossings.Clear();
  double best = 1e7;
  Point2 start = s;
  for (int k = 0; k < search.chainCount; ++k) {
    const CurveRecord& chain = curves[static_cast<size_t>(k)];
    for (int j = 0; j + 1 < chain.PointCount; ++j) {
      const Point2 pa = ChainPoint(chain, j);
      const Point2 pb = ChainPoint(chain, j + 1);
      const double acA = across(pa), acB = across(pb);
      if ((acA > e && acB > e) || (acA < -e && acB < -e)) continue;
      if (std::fabs(acA - acB) < e) continue;
      const double alA = along(pa), alB = along(pb);
      if ((alA - length > 10 * e && alB - length > 10 * e) || (alA < -10 * e && alB < -10 * e)) {
        continue;
      }
      const Line other = LineThrough(pa, pb);
      if (std::fabs(other.a) < e && std::fabs(other.b) < e) continue;
      const std::optional<Point2> p =
          IntersectLines(hitLine.a, hitLine.b, hitLine.c, other.a, other.b, other.c);
      if (!p) continue;
      if (PointOnSegmentExclStart(s.x, s.y, crossing.x, crossing.y, p->x, p->y) != 1) continue;
      if (PointOnSegment(pa.x, pa.y, pb.x, pb.y, p->x, p->y) != 1) continue;
      const double dist = Distance(*p, s);
      search.crossings.Add(Crossing{dist, p->x, p->y, j, j + 1, k});
      if (length - dist < best) {
        best = length - dist;
        start = *p;
      }
    }
  }
  search.S = start;
}

}  // namespace

bool EnterHitChain(SearchState& search, const RayHit& hit) {
  const double e = GeomTolerance();
  ObjectState& state = search.object;
  std::vector<CurveRecord>& curves = Module().Curves;

  RequireObject(state.SearchSet)->Clear();
  search.current = curves.at(static_cast<size_t>(hit.chain));
  search.currentIndex = hit.chain;
  search.i = hit.segment;
  search.S = ChainPoint(search.current, search.i);
  Point2 t = ChainPoint(search.current, search.i + 1);
  if (t.y > search.S.y) {
    search.d = 1;
  } else {
    search.d = -1;
    search.i += 1;
    search.S = ChainPoint(search.current, search.i);
    t = ChainPoint(search.current, search.i - 1);
  }
  if (Distance(t, search.S) < e) return true;

  // Rebuild the candidates along the hit segment (a whole circle, whose
  // contacts may move its points) and find the hit chain among them again.
  const CurveRecord probe =
      search.current.TypeName == "CIRCLE" ? search.current : SegmentProbe(search.S, t);
  const int n = RebuildCandidatesAlong(state, probe);
  if (n < 0) return false;
  search.chainCount = n;
  const int index = FindHitChainAgain(curves, n, search.current, search.i, search.d, search.S, t);
  if (index < 0) return false;
  RefineCircleContacts(curves, n);
  search.current = curves[static_cast<size_t>(index)];
  search.currentIndex = index;
  if (search.current.TypeName == "CIRCLE") {
    const int j = FindHitSegmentOnCircle(search.current, search.d, search.X0, search.Y0);
    if (j < 0) return false;
    search.i = j;
  }
  search.S = ChainPoint(search.current, search.i);
  t = ChainPoint(search.current, search.i + search.d);
  const Point2 crossing{
      search.S.x + CheckedDivide((t.x - search.S.x) * (search.Y0 - search.S.y), t.y - search.S.y),
      search.Y0};
  if (Distance(crossing, search.S) < e) return true;
  MoveStartToLastJunction(search, t, crossing);
  return true;
}

}  // namespace pphatch
