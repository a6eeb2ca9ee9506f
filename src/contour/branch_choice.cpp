#include "contour/branch_choice.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "contour/walk.h"
#include "curves/chain_walk.h"
#include "geometry/angles.h"

namespace pphatch {

namespace {

// Turns within this band of a straight reversal (-pi) are never taken.
constexpr double kReversalBand = 1e-5;

// Fills the nearest-crossings list: every crossing within E of the smallest
// distance, in table order.
void CollectNearestCrossings(SearchState& s) {
  const double e = GeomTolerance();
  double dmin = 1e7;
  for (int k = 0; k < s.crossings.Size(); ++k) dmin = std::min(dmin, s.crossings.At(k).Dist);
  s.nearest.Clear();
  for (int k = 0; k < s.crossings.Size(); ++k) {
    if (std::fabs(s.crossings.At(k).Dist - dmin) < e) s.nearest.Add(k);
  }
}

// The way on along the current chain from junction J: straight on when J
// lies before N, else onto the chain's next segment (across the seam of a
// closed chain); no way on (2 pi) at the end of an open chain.
Branch WayOnAlongCurrentChain(const SearchState& s, Point2 jp) {
  if (!Coincide(jp, s.N)) return {0, s.i, kCurrentChainMark, s.d};
  const CurveRecord& chain = s.current;
  const int last = chain.PointCount - 1;
  const int next = s.i + s.d;
  const bool atEnd = (next == last && s.d > 0) || (next == 0 && s.d < 0);
  if (atEnd && !chain.Closed) return {kTwoPi, next, kCurrentChainMark, s.d};
  Point2 after;
  int index;
  if (atEnd) {
    after = s.d > 0 ? ChainPoint(chain, 1) : ChainPoint(chain, last - 1);
    index = s.d > 0 ? 0 : last;
  } else {
    after = ChainPoint(chain, s.i + 2 * s.d);
    index = next;
  }
  const double angle = RelativeAngle(s.u.y, s.u.x, s.Q.x, s.Q.y, jp.x, jp.y, after.x, after.y);
  return {angle, index, kCurrentChainMark, s.d};
}

// Index of the branch with the smallest turn, the first one on ties;
// reversals and ways without a direction never qualify. -1 when none does.
int ChooseBranch(const SearchState& s, int count) {
  double best = kTwoPi;
  int chosen = -1;
  for (int b = 0; b < count; ++b) {
    const double angle = s.branches.At(b).Angle;
    if (std::fabs(angle + kPi) <= kReversalBand || angle >= best ||
        std::fabs(kTwoPi + angle) <= kReversalBand) {
      continue;
    }
    best = angle;
    chosen = b;
  }
  return chosen;
}

}  // namespace

BranchOutcome TakeBranch(SearchState& s) {
  CollectNearestCrossings(s);
  const int c = s.nearest.Size();
  s.L = Distance(s.Q, s.N);
  s.u = {(s.N.x - s.Q.x) / s.L, (s.N.y - s.Q.y) / s.L};

  s.branches.Clear();
  Point2 junction = s.Q;
  for (int b = 0; b < c; ++b) {
    const Crossing& crossing = s.crossings.At(s.nearest.At(b));
    junction = {crossing.PX, crossing.PY};
    const int k = crossing.Chain;
    s.branches.Put(b, CrossingBranch(Module().Curves.at(static_cast<size_t>(k)), k,
                                     crossing.FromIndex, junction, s.Q, s.u.x, s.u.y,
                                     kReversalBand));
    s.branches.Put(c, WayOnAlongCurrentChain(s, junction));
  }
  const int chosen = ChooseBranch(s, c + 1);
  if (chosen < 0) return BranchOutcome::kEnd;

  const Branch branch = s.branches.At(chosen);
  const CurveRecord& chain = branch.Chain == kCurrentChainMark
                                 ? s.current
                                 : Module().Curves.at(static_cast<size_t>(branch.Chain));
  s.Q = junction;
  s.N = ChainPoint(chain, branch.PointIndex + branch.Sense);
  s.i = branch.PointIndex;
  s.d = branch.Sense;

  s.closeTolerance = std::max({s.closeTolerance, s.currentMargin, s.examinedMargin});
  const bool atStart =
      std::fabs(s.Q.x - s.S.x) < s.closeTolerance && std::fabs(s.Q.y - s.S.y) < s.closeTolerance;
  // A junction next to S met before the walk got away from S does not close
  // the loop (see AtVertex).
  if (!atStart || s.leftStart) {
    if (!atStart) s.leftStart = true;
    if (!StoreLoopPoint(s, s.Q, kJunctionStepLimit)) return BranchOutcome::kEnd;
    if (atStart && LeavesStartAsAtFirst(s)) {
      WriteLoop(s, true);
      return BranchOutcome::kClosed;
    }
  }
  if (branch.Chain != kCurrentChainMark) {
    s.current = Module().Curves.at(static_cast<size_t>(branch.Chain));
    s.currentIndex = branch.Chain;
    s.rescan = true;
  }
  return BranchOutcome::kOn;
}

}  // namespace pphatch
