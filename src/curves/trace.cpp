#include "curves/trace.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

#include "component/errors.h"
#include "curves/chain_geometry.h"
#include "curves/chain_walk.h"
#include "curves/junction.h"
#include "curves/trace_start.h"
#include "geometry/angles.h"
#include "geometry/incidence.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Points a traced contour may hold, its first point included. A walk that
// has not closed by then (an endless cycle between chains) gives up.
constexpr int kMaxContourPoints = 9000;

// Turns within this angle of straight back to the right are never taken.
constexpr double kReversalBand = 1e-5;

// A walk in progress: the current chain (its index), the segment from point
// k towards point k + d on it, the current point P and next point N, and the
// contour recorded so far from its first point A.
struct Walk {
  const std::vector<CurveRecord>& records;
  int count = 0;
  int chain = 0;
  int k = 0;
  int d = 1;
  Point2 p{}, n{}, a{};
  std::vector<Point2> points{};
  int steps = 0;      // points recorded, or passed over at A, after A
  bool left = false;  // a point away from A has been recorded
  int returnsToStart = 0;
};

enum class Progress { kGoOn, kClosed, kFailed };

// True when the walk, back at A and about to head for `next`, would leave A
// the way it first did: the contour is complete.
bool LeavesStartAsAtFirst(Walk& w, Point2 next) {
  if (++w.returnsToStart >= kMaxReturnsToStart || w.points.size() < 2) return true;
  const Point2 first = w.points[1];
  if (Coincide(next, first)) return true;
  const double a = Distance(w.a, first), b = Distance(w.a, next);
  if (!(a > 0) || !(b > 0)) return true;
  const double cosine =
      ((first.x - w.a.x) * (next.x - w.a.x) + (first.y - w.a.y) * (next.y - w.a.y)) / (a * b);
  return cosine > 1 - 1e-9;
}

// Records q as the contour's next point, the walk heading on for `next`;
// closed when q is back at A and the walk would leave A as it first did.
// While the walk has not yet left A, a point at A is passed over rather than
// taken as the closing point (a start on a segment's upper end would
// otherwise close at once).
Progress Record(Walk& w, Point2 q, Point2 next) {
  if (++w.steps >= kMaxContourPoints) return Progress::kFailed;
  const bool atStart = Coincide(q, w.a);
  if (atStart && !w.left) return Progress::kGoOn;
  w.points.push_back(q);
  if (atStart && LeavesStartAsAtFirst(w, next)) return Progress::kClosed;
  if (!atStart) w.left = true;
  return Progress::kGoOn;
}

// Goes on to the current chain's next point (no junction on P -> N).
Progress Advance(Walk& w) {
  const CurveRecord& chain = w.records[w.chain];
  AdvanceAlongChain(chain, w.k, w.d);
  w.p = ChainPoint(chain, w.k);
  w.n = ChainPoint(chain, w.k + w.d);
  return Record(w, w.p, w.n);
}

// Adds a crossing unless the table is full.
bool AddCrossing(std::vector<Crossing>& crossings, double dist, Point2 at, int j, int chain) {
  if (crossings.size() >= static_cast<size_t>(kMaxCrossings)) return false;
  crossings.push_back(Crossing{dist, at.x, at.y, j, j + 1, chain});
  return true;
}

enum class Scan { kDone, kRestart, kTableFull };

// Moves the walk onto chain `chain` at point k with sense d, heading for n;
// P stays where it is.
void ContinueOn(Walk& w, int chain, int k, int d, Point2 n) {
  w.chain = chain;
  w.k = k;
  w.d = d;
  w.n = n;
}

// Collects where other chains (and the current chain's other segments) meet
// the segment P -> N of length `len`. A collinear piece of another chain that
// starts at P and reaches beyond N is taken over at once: the walk changes to
// it and the caller scans again (kRestart).
Scan CollectCrossings(Walk& w, const SegmentFrame& f, double len,
                      std::vector<Crossing>& crossings) {
  const double e = GeomTolerance();
  const double band = 10 * e;
  const CurveRecord& current = w.records[w.chain];
  const Line segmentLine = LineThrough(w.p, w.n);
  crossings.clear();
  for (int r = 0; r < w.count; ++r) {
    const CurveRecord& other = w.records[r];
    const bool own = r == w.chain;
    if (!own && !BoundsNear(other, current.MinX, current.MinY, current.MaxX, current.MaxY, band)) {
      continue;
    }
    for (int j = 0; j + 1 < other.PointCount; ++j) {
      const Point2 q1 = ChainPoint(other, j), q2 = ChainPoint(other, j + 1);
      if (Coincide(q1, q2)) continue;
      const double c1 = f.Across(q1), c2 = f.Across(q2);
      const bool onLine = std::fabs(c1) < e && std::fabs(c2) < e;
      if (own && onLine && j == WalkedSegment(w.k, w.d)) continue;
      if ((c1 > band && c2 > band) || (c1 < -band && c2 < -band)) continue;
      if (std::fabs(c1 - c2) < e && std::fabs(c1) >= e) continue;
      const double l1 = f.Along(q1), l2 = f.Along(q2);
      if ((l1 - len > band && l2 - len > band) || (l1 < -band && l2 < -band)) continue;
      if (onLine) {
        if (l1 < e && l2 - len > band) {
          ContinueOn(w, r, j, 1, q2);
          return Scan::kRestart;
        }
        if (l2 < e && l1 - len > band) {
          ContinueOn(w, r, j + 1, -1, q1);
          return Scan::kRestart;
        }
        const bool endsAtN = (std::fabs(l1 - len) < e && l2 - len > band) ||
                             (std::fabs(l2 - len) < e && l1 - len > band);
        if (endsAtN && !AddCrossing(crossings, len, w.n, j, r)) return Scan::kTableFull;
        // A piece that starts inside P -> N and runs on beyond N is a way
        // on from where it starts.
        if (StartsInsideRunsPastN(l1, l2, len) && !AddCrossing(crossings, l1, q1, j, r)) {
          return Scan::kTableFull;
        }
        if (StartsInsideRunsPastN(l2, l1, len) && !AddCrossing(crossings, l2, q2, j, r)) {
          return Scan::kTableFull;
        }
        continue;
      }
      const Line line = LineThrough(q1, q2);
      const std::optional<Point2> i =
          IntersectLines(segmentLine.a, segmentLine.b, segmentLine.c, line.a, line.b, line.c);
      if (!i || Coincide(*i, w.p)) continue;
      if (PointOnSegmentExclStart(w.p.x, w.p.y, w.n.x, w.n.y, i->x, i->y) == 1 &&
          PointOnSegment(q1.x, q1.y, q2.x, q2.y, i->x, i->y) == 1 &&
          !AddCrossing(crossings, Distance(*i, w.p), *i, j, r)) {
        return Scan::kTableFull;
      }
    }
  }
  return Scan::kDone;
}

// Indices of the crossings nearest to P (within GeomTolerance of the
// smallest distance), in table order; nothing when there are more than the
// junction table holds.
std::optional<std::vector<int>> NearestCrossings(const std::vector<Crossing>& crossings) {
  double nearest = crossings.front().Dist;
  for (const Crossing& c : crossings) nearest = std::min(nearest, c.Dist);
  std::vector<int> junction;
  for (size_t c = 0; c < crossings.size(); ++c) {
    if (std::fabs(crossings[c].Dist - nearest) >= GeomTolerance()) continue;
    if (junction.size() >= static_cast<size_t>(kMaxNearestCrossings)) return std::nullopt;
    junction.push_back(static_cast<int>(c));
  }
  return junction;
}

// The way on along the current chain from junction j: straight on when j
// lies before N, else onto the chain's next segment (none at a free end).
Branch CurrentChainBranch(const Walk& w, const SegmentFrame& f, Point2 j) {
  if (!Coincide(j, w.n)) return Branch{0, w.k, kCurrentChainMark, w.d};
  const CurveRecord& chain = w.records[w.chain];
  const std::optional<StepPast> step = StepPastNext(chain, w.k, w.d);
  if (!step) return Branch{kTwoPi, w.k + w.d, kCurrentChainMark, w.d};
  const Point2 after = ChainPoint(chain, step->after);
  return Branch{RelativeAngle(f.uy, f.ux, w.p.x, w.p.y, j.x, j.y, after.x, after.y), step->index,
                kCurrentChainMark, w.d};
}

// Leaves the junction nearest to P along the sharpest right turn. Fails when
// a table would overflow or no way on qualifies.
Progress TakeJunction(Walk& w, const SegmentFrame& f, const std::vector<Crossing>& crossings) {
  const std::optional<std::vector<int>> junction = NearestCrossings(crossings);
  if (!junction) return Progress::kFailed;
  const Crossing& lastNearest = crossings[junction->back()];
  const Point2 j{lastNearest.PX, lastNearest.PY};

  std::vector<Branch> options;
  for (int c : *junction) {
    const Crossing& crossing = crossings[c];
    options.push_back(CrossingBranch(w.records[crossing.Chain], crossing.Chain, crossing.FromIndex,
                                     j, w.p, f.ux, f.uy, kReversalBand));
  }
  options.push_back(CurrentChainBranch(w, f, j));
  if (options.size() > static_cast<size_t>(kMaxBranches)) return Progress::kFailed;

  const std::optional<size_t> choice = ChooseSharpestRight(options, kReversalBand);
  if (!choice) return Progress::kFailed;
  const Branch& way = options[*choice];
  const int chain = way.Chain == kCurrentChainMark ? w.chain : way.Chain;

  w.p = j;
  w.k = way.PointIndex;
  w.d = way.Sense;
  w.chain = chain;
  w.n = ChainPoint(w.records[chain], w.k + w.d);
  const Progress progress = Record(w, j, w.n);
  if (progress != Progress::kGoOn) return progress;
  return Progress::kGoOn;
}

// Walks from the start until the contour closes or fails.
bool WalkToClose(Walk& w) {
  std::vector<Crossing> crossings;
  for (;;) {
    const double len = CheckedFinite(Distance(w.p, w.n));
    Progress progress = Progress::kGoOn;
    if (len < GeomTolerance()) {
      progress = Advance(w);
    } else {
      const SegmentFrame frame = FrameOf(w.p, w.n, len);
      const Scan scan = CollectCrossings(w, frame, len, crossings);
      if (scan == Scan::kTableFull) return false;
      if (scan == Scan::kRestart) continue;
      progress = crossings.empty() ? Advance(w) : TakeJunction(w, frame, crossings);
    }
    if (progress == Progress::kClosed) return true;
    if (progress == Progress::kFailed) return false;
  }
}

// True when every recorded point has finite coordinates.
bool AllFinite(const std::vector<Point2>& points) {
  return std::all_of(points.begin(), points.end(),
                     [](Point2 p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

}  // namespace

bool TraceContour(const std::vector<CurveRecord>& records, int last, double x, double y,
                  CurveRecord& contour) {
  try {
    const int count =
        static_cast<int>(std::min<long long>(static_cast<long long>(last) + 1, records.size()));
    if (count <= 0) return false;
    for (int r = 0; r < count; ++r) RequireChainPoints(records[r]);
    const std::optional<TraceStart> start = FindTraceStart(records, count, x, y);
    if (!start) return false;

    Walk w{records, count};
    ContinueOn(w, start->chain, start->k, start->d, start->b);
    w.p = w.a = start->a;
    w.points.push_back(w.a);
    if (!WalkToClose(w) || !AllFinite(w.points)) return false;

    contour.PointCount = static_cast<int>(w.points.size());
    contour.X.resize(w.points.size());
    contour.Y.resize(w.points.size());
    for (size_t i = 0; i < w.points.size(); ++i) {
      contour.X[i] = w.points[i].x;
      contour.Y[i] = w.points[i].y;
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace pphatch
