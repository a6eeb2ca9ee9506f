#include "curves/chain_walk.h"

#include <cmath>

#include "component/errors.h"
#include "curves/chain_geometry.h"
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
