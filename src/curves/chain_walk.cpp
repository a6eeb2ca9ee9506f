#include "curves/chain_walk.h"

#include <cmath>

#include "component/errors.h"
#include "curves/chain_geometry.h"
#include "geometry/angles.h"
#include "geometry/tolerance.h"

namespace pphatch {

SegmentFrame FrameOf(Point2 from, Point2 to, double length) {
  SegmentFrame frame;
  frame.origin = from;
  frame.ux = CheckedDivide(to.x - from.x, length);
  frame.uy = CheckedDivide(to.y - from.y, length);
  return frame;
}

void AdvanceAlongChain(const CurveRecord& chain, int& k, int& d) {
  const int last = chain.PointCount - 1;
  const auto wrap = [&] {
    if (!chain.Closed) return;
    if (d == 1 && k == last) {
      k = 0;
    } else if (d == -1 && k == 0) {
      k = last;
    }
  };
  wrap();
  k += d;
  wrap();
  if (!chain.Closed) {
    if (d == 1 && k == last) {
      d = -1;
    } else if (d == -1 && k == 0) {
      d = 1;
    }
  }
}

std::optional<StepPast> StepPastNext(const CurveRecord& chain, int k, int d) {
  const int last = chain.PointCount - 1;
  const int next = k + d;
  const bool atLastForward = d > 0 && next == last;
  const bool atFirstBackward = d < 0 && next == 0;
  if (!atLastForward && !atFirstBackward) return StepPast{next, next + d};
  if (!chain.Closed) return std::nullopt;
  if (atLastForward) return StepPast{0, 1};
  return StepPast{last, last - 1};
}

namespace {

// True when turning by `angle` leads straight back along the way in: within
// `reversalBand` of a half turn, where the choice of the sharpest right turn
// passes a way over, or with a cosine within GeomTolerance of -1.
bool IsReversal(double angle, double reversalBand) {
  return kPi - std::fabs(angle) <= reversalBand || std::fabs(std::cos(angle) + 1) < GeomTolerance();
}

// Of two ways on along one chain, the one that turns further right, the
// first on a tie; a way straight back is never taken while the other is
// open. (A reversal can come out as -pi or pi after rounding.)
Branch FurtherRight(const Branch& first, const Branch& second, double reversalBand) {
  if (IsReversal(first.Angle, reversalBand)) return second;
  if (IsReversal(second.Angle, reversalBand)) return first;
  return second.Angle < first.Angle ? second : first;
}

}  // namespace

bool StartsInsideRunsPastN(double along, double otherAlong, double length) {
  const double band = 10 * GeomTolerance();
  return along > band && along < length - band && otherAlong - length > band;
}

Branch CrossingBranch(const CurveRecord& chain, int chainIndex, int from, Point2 j, Point2 start,
                      double ux, double uy, double reversalBand) {
  const auto turn = [&](Point2 t) { return RelativeAngle(uy, ux, start.x, start.y, j.x, j.y, t.x, t.y); };
  const Point2 q1 = ChainPoint(chain, from), q2 = ChainPoint(chain, from + 1);
  if (Coincide(j, q1)) {
    const Branch forwards{turn(q2), from, chainIndex, 1};
    if (from == 0) return forwards;
    return FurtherRight(forwards, Branch{turn(ChainPoint(chain, from - 1)), from, chainIndex, -1},
                        reversalBand);
  }
  const Branch backwards{turn(q1), from + 1, chainIndex, -1};
  if (Coincide(j, q2)) {
    if (from + 1 == chain.PointCount - 1 && chain.Closed) {
      return FurtherRight(backwards, Branch{turn(ChainPoint(chain, 1)), 0, chainIndex, 1},
                          reversalBand);
    }
    return backwards;
  }
  return FurtherRight(backwards, Branch{turn(q2), from, chainIndex, 1}, reversalBand);
}

std::optional<size_t> ChooseSharpestRight(const std::vector<Branch>& options, double reversalBand) {
  std::optional<size_t> chosen;
  double best = kTwoPi;
  for (size_t b = 0; b < options.size(); ++b) {
    const double angle = options[b].Angle;
    if (std::fabs(angle + kPi) <= reversalBand) continue;
    if (std::fabs(kTwoPi + angle) <= reversalBand) continue;
    // Written so that a NaN angle is passed over as well.
    if (!(angle < best)) continue;
    best = angle;
    chosen = b;
  }
  return chosen;
}

}  // namespace pphatch
