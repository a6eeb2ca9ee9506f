#include "contour/segment_look.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "contour/rescan.h"
#include "curves/chain_walk.h"

namespace pphatch {

namespace {

// Stands for the point after N when the current chain has none.
constexpr Point2 kNoPointAfterN{-7777777777.7777, 66666666666.666};

// Aims the walk at N: length L, direction u and the line of Q -> N. False
// when Q -> N is shorter than E and has no direction.
bool AimAtN(SearchState& search) {
  const Point2 q = search.Q;
  const Point2 n = search.N;
  search.L = Distance(q, n);
  if (search.L < GeomTolerance()) return false;
  search.u = {(n.x - q.x) / search.L, (n.y - q.y) / search.L};
  search.line = LineThrough(q, n);
  return true;
}

// The point after N along the current chain, when there is one.
Point2 PointAfterN(const SearchState& search) {
  const int index = search.i + 2 * search.d;
  if (index < 0 || index > search.current.PointCount - 1) return kNoPointAfterN;
  return ChainPoint(search.current, index);
}

// True when the crossing lies at N on the current closed chain's segment
// that the walk goes on along past N across the seam: 0 -> 1 when N is the
// last point walked forwards, last - 1 -> last when N is point 0 walked
// backwards.
bool IsSegmentAcrossSeam(const SearchState& s, const Crossing& crossing) {
  const CurveRecord& chain = s.current;
  if (crossing.Chain != s.currentIndex || !chain.Closed) return false;
  if (!Coincide({crossing.PX, crossing.PY}, s.N)) return false;
  const int last = chain.PointCount - 1;
  const int next = s.i + s.d;
  return (s.d > 0 && next == last && crossing.FromIndex == 0) ||
         (s.d < 0 && next == 0 && crossing.FromIndex == last - 1);
}

// Signed distance of p from the line of Q -> N (positive on the left) and
// its position along it from Q.
double Across(const SearchState& s, Point2 p) {
  return (p.y - s.Q.y) * s.u.x - (p.x - s.Q.x) * s.u.y;
}
double Along(const SearchState& s, Point2 p) {
  return (p.y - s.Q.y) * s.u.y + (p.x - s.Q.x) * s.u.x;
}

// True when the whole chain can be passed over: its box, widened by twice
// its margin, misses the segment's box or lies wholly on one side of the
// segment's line or beyond either end; a circle or arc whose circle stays
// clear of the line, is the walked circle itself, or (both exact circles)
// does not meet the walked one.
bool ChainOutOfReach(const SearchState& s, const CurveRecord& chain, bool isCurrent) {
  const double m2 = 2 * s.examinedMargin;
  if (!BoundsNear(chain, std::min(s.Q.x, s.N.x), std::min(s.Q.y, s.N.y), std::max(s.Q.x, s.N.x),
                  std::max(s.Q.y, s.N.y), m2)) {
    return true;
  }
  const std::array<Point2, 4> corners = {
      Point2{chain.MinX, chain.MinY}, Point2{chain.MaxX, chain.MinY},
      Point2{chain.MaxX, chain.MaxY}, Point2{chain.MinX, chain.MaxY}};
  const auto all = [&](auto test) { return std::all_of(corners.begin(), corners.end(), test); };
  if (all([&](Point2 p) { return Across(s, p) > m2; }) ||
      all([&](Point2 p) { return Across(s, p) < -m2; }) ||
      all([&](Point2 p) { return Along(s, p) > s.L + m2; }) ||
      all([&](Point2 p) { return Along(s, p) < -m2; })) {
    return true;
  }
  if (IsCircleOrArc(chain)) {
    if (std::fabs(Across(s, {chain.CenterX, chain.CenterY})) > chain.Radius + m2) return true;
    if (isCurrent) return true;
  }
  if (IsCircleOrArc(s.current) && s.current.ExactCircle && IsCircleOrArc(chain) &&
      chain.ExactCircle &&
      !CirclesMeet(s.current.CenterX, s.current.CenterY, s.current.Radius, chain.CenterX,
                   chain.CenterY, chain.Radius)) {
    return true;
  }
  return false;
}

// Makes chain k the current chain from point `from` in sense `sense`,
// heading for `n`; its candidates are rebuilt before the next look.
void SwitchToChain(SearchState& s, const CurveRecord& chain, int k, int from, int sense, Point2 n) {
  s.i = from;
  s.d = sense;
  s.N = n;
  s.current = chain;
  s.currentIndex = k;
  s.rescan = true;
}

// What examining one chain's segments gave.
enum class ChainLook { kDone, kSwitched };

// Records where the segments of chain k meet Q -> N, or switches to the
// chain when one of its segments continues Q -> N beyond N.
ChainLook LookAtChain(SearchState& s, const CurveRecord& chain, int k, Point2 nn) {
  const double e = GeomTolerance();
  const bool isCurrent = k == s.currentIndex;
  for (int j = 0; j + 1 < chain.PointCount; ++j) {
    const Point2 pa = ChainPoint(chain, j);
    const Point2 pb = ChainPoint(chain, j + 1);
    if (Coincide(pa, pb)) continue;
    const double acA = Across(s, pa), acB = Across(s, pb);
    const bool onLine = std::fabs(acA) < e && std::fabs(acB) < e;
    // The walked segment itself; another segment of the current chain that
    // lies on its line (the chain doubling back over itself) is met like
    // any other chain's.
    if (onLine && isCurrent && j == WalkedSegment(s.i, s.d)) continue;
    if ((acA > e && acB > e) || (acA < -e && acB < -e)) continue;
    if (std::fabs(acA - acB) < e && std::fabs(acA) > 100 * e) continue;  // parallel, off the line
    const double alA = Along(s, pa), alB = Along(s, pb);
    if ((alA > s.L + 10 * e && alB > s.L + 10 * e) || (alA < -10 * e && alB < -10 * e)) continue;
    // The current chain's own next segment.
    if ((Coincide(pa, s.N) && Coincide(pb, nn)) || (Coincide(pb, s.N) && Coincide(pa, nn))) {
      continue;
    }
    if (onLine) {
      if (alB - s.L > 10 * e && alA < e) {
        SwitchToChain(s, chain, k, j, 1, pb);
        return ChainLook::kSwitched;
      }
      if (alA - s.L > 10 * e && alB < e) {
        SwitchToChain(s, chain, k, j + 1, -1, pa);
        return ChainLook::kSwitched;
      }
      if ((std::fabs(alA - s.L) < e && alB - s.L > 10 * e) ||
          (std::fabs(alB - s.L) < e && alA - s.L > 10 * e)) {
        s.crossings.Add(Crossing{s.L, s.N.x, s.N.y, j, j + 1, k});
      }
      // A piece that starts inside Q -> N and runs on beyond N is a way on
      // from where it starts (a line hung on the middle of a side).
      if (StartsInsideRunsPastN(alA, alB, s.L)) s.crossings.Add(Crossing{alA, pa.x, pa.y, j, j + 1, k});
      if (StartsInsideRunsPastN(alB, alA, s.L)) s.crossings.Add(Crossing{alB, pb.x, pb.y, j, j + 1, k});
      continue;
    }
    const Line other = LineThrough(pa, pb);
    const std::optional<Point2> p =
        IntersectLines(s.line.a, s.line.b, s.line.c, other.a, other.b, other.c);
    if (!p || Coincide(*p, s.Q)) continue;
    if (PointOnSegmentExclStart(s.Q.x, s.Q.y, s.N.x, s.N.y, p->x, p->y) == 1 &&
        PointOnSegment(pa.x, pa.y, pb.x, pb.y, p->x, p->y) == 1) {
      s.crossings.Add(Crossing{Distance(*p, s.Q), p->x, p->y, j, j + 1, k});
    }
  }
  return ChainLook::kDone;
}

}  // namespace

SegmentOutcome LookAlongSegment(SearchState& s) {
  const std::vector<CurveRecord>& curves = Module().Curves;
  for (;;) {  // runs again, from the same Q, after a switch to a collinear chain
    s.crossings.Clear();
    if (!AimAtN(s)) return SegmentOutcome::kNoJunction;
    if (s.rescan) {
      s.rescan = false;
      if (!RescanAlongCurrentChain(s)) return SegmentOutcome::kEnd;
      if (!AimAtN(s)) return SegmentOutcome::kNoJunction;
    }
    if (IsCircleOrArc(s.current)) s.currentMargin = ArcMargin(s.current);
    const Point2 nn = PointAfterN(s);

    bool switched = false;
    for (int k = 0; k < s.chainCount && !switched; ++k) {
      const CurveRecord& chain = curves.at(static_cast<size_t>(k));
      s.examinedMargin = ArcMargin(chain);
      if (ChainOutOfReach(s, chain, k == s.currentIndex)) continue;
      switched = LookAtChain(s, chain, k, nn) == ChainLook::kSwitched;
    }
    if (switched) continue;

    // A lone meeting at N with the segment that follows N across the seam
    // of the current closed chain is only the chain's own next vertex. Any
    // other segment of the current chain that meets N (a chain touching
    // itself there) is a junction like any other.
    if (s.crossings.Size() == 1 && IsSegmentAcrossSeam(s, s.crossings.At(0))) s.crossings.Clear();
    return s.crossings.Size() == 0 ? SegmentOutcome::kNoJunction : SegmentOutcome::kJunction;
  }
}

}  // namespace pphatch
