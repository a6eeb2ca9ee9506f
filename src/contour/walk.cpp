#include "contour/walk.h"

#include <algorithm>
#include <cmath>

#include "contour/branch_choice.h"
#include "contour/segment_look.h"
#include "curves/chain_walk.h"

namespace pphatch {

namespace {

// What the step at a vertex led to.
enum class VertexOutcome { kOn, kClosed, kEnd };

// At vertex i of the current chain (or at S before the first step): stores
// the vertex, aims at the next point and closes the loop when the vertex
// is back at S within 10 E.
VertexOutcome AtVertex(SearchState& s) {
  const double e = GeomTolerance();
  if (BudgetExceeded(s.object)) return VertexOutcome::kEnd;
  const int last = s.current.PointCount - 1;
  if (s.d == -1 && s.i == 0) s.i = last;
  if (s.i == last && s.d == 1) s.i = 0;
  s.Q = s.started ? ChainPoint(s.current, s.i) : s.S;
  s.N = ChainPoint(s.current, s.i + s.d);
  const bool atStart = std::fabs(s.Q.x - s.S.x) < 10 * e && std::fabs(s.Q.y - s.S.y) < 10 * e;
  // A vertex next to S, reached before the walk has got away from S (S
  // itself may be a crossing a hair from a vertex), neither closes the loop
  // nor is stored again.
  if (s.started && atStart && !s.leftStart) return VertexOutcome::kOn;
  if (!atStart) s.leftStart = true;
  if (s.started && !StoreLoopPoint(s, s.Q, kVertexStepLimit)) return VertexOutcome::kEnd;
  if (s.started && atStart && LeavesStartAsAtFirst(s)) {
    WriteLoop(s, false);
    return VertexOutcome::kClosed;
  }
  s.started = true;
  return VertexOutcome::kOn;
}

// Moves on to the next vertex of the current chain. A closed chain is
// followed across its seam (its last point is its first); at the end of an
// open chain the walk turns back along it.
void AdvanceAlongChain(SearchState& s) {
  const int last = s.current.PointCount - 1;
  const bool closed = s.current.Closed;
  const auto acrossSeam = [&] {
    if (!closed) return;
    if (s.i == last && s.d == 1) s.i = 0;
    if (s.i == 0 && s.d == -1) s.i = last;
  };
  acrossSeam();
  s.i += s.d;
  acrossSeam();
  if (!closed) {
    if (s.i == last && s.d == 1) s.d = -1;
    if (s.i == 0 && s.d == -1) s.d = 1;
  }
}

}  // namespace

bool LeavesStartAsAtFirst(SearchState& s) {
  if (++s.returnsToStart >= kMaxReturnsToStart || !s.firstNext) return true;
  const Point2 first = *s.firstNext;
  const double tolerance = std::max(10 * GeomTolerance(), s.closeTolerance);
  if (std::fabs(s.N.x - first.x) < tolerance && std::fabs(s.N.y - first.y) < tolerance) return true;
  // The same way on along another (collinear) chain also closes the loop.
  const double a = Distance(s.S, first), b = Distance(s.Q, s.N);
  if (!(a > 0) || !(b > 0)) return true;
  const double cosine = ((first.x - s.S.x) * (s.N.x - s.Q.x) + (first.y - s.S.y) * (s.N.y - s.Q.y)) / (a * b);
  return cosine > 1 - 1e-9;
}

bool StoreLoopPoint(SearchState& s, Point2 p, int limit) {
  ++s.steps;
  if (s.steps == limit) return false;
  if (s.steps >= kMaxTracePoints) throw ComputeError("index outside a fixed table");
  s.trace[static_cast<size_t>(s.steps)] = p;
  return true;
}

void WriteLoop(const SearchState& s, bool endExactly) {
  CurveRecord& loop = Module().WorkContour;
  const int m = s.steps;
  loop.PointCount = m + 1;
  loop.X.assign(static_cast<size_t>(m) + 2, 0.0);
  loop.Y.assign(static_cast<size_t>(m) + 2, 0.0);
  for (int k = 0; k <= m; ++k) {
    loop.X[static_cast<size_t>(k)] = s.trace[static_cast<size_t>(k)].x;
    loop.Y[static_cast<size_t>(k)] = s.trace[static_cast<size_t>(k)].y;
  }
  if (endExactly) {
    loop.X[0] = loop.X[static_cast<size_t>(m)];
    loop.Y[0] = loop.Y[static_cast<size_t>(m)];
  }
}

bool WalkToClosure(SearchState& s) {
  for (;;) {
    switch (AtVertex(s)) {
      case VertexOutcome::kClosed: return true;
      case VertexOutcome::kEnd: return false;
      case VertexOutcome::kOn: break;
    }
    // Look along segments, taking branches at junctions, until a segment
    // without junction leads on to the chain's next vertex.
    for (;;) {
      const SegmentOutcome look = LookAlongSegment(s);
      if (look == SegmentOutcome::kEnd) return false;
      if (!s.firstNext && Distance(s.S, s.N) > std::max(10 * GeomTolerance(), s.closeTolerance)) {
        s.firstNext = s.N;
      }
      if (look == SegmentOutcome::kNoJunction) {
        AdvanceAlongChain(s);
        break;
      }
      switch (TakeBranch(s)) {
        case BranchOutcome::kClosed: return true;
        case BranchOutcome::kEnd: return false;
        case BranchOutcome::kOn: break;
      }
    }
  }
}

}  // namespace pphatch
