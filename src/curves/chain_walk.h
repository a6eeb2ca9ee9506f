// Pieces shared by the walks along chains (the contour trace and the contour
// search): the frame of the current segment, the step to the next point of a
// chain, and the choice of the sharpest right turn at a junction.
#pragma once

#include <optional>
#include <vector>

#include "curves/curve_record.h"
#include "curves/junction.h"
#include "geometry/incidence.h"

namespace pphatch {

/// Coordinates relative to a directed segment starting at `origin` with unit
/// direction (ux, uy): across is the signed distance to the left of the
/// direction, along the distance along it.
struct SegmentFrame {
  Point2 origin;
  double ux = 1, uy = 0;

  /// Signed distance of q from the direction's line, positive on the left.
  double Across(Point2 q) const { return (q.y - origin.y) * ux - (q.x - origin.x) * uy; }
  /// Distance of q's foot from the origin, along the direction.
  double Along(Point2 q) const { return (q.y - origin.y) * uy + (q.x - origin.x) * ux; }
};

/// The frame of from -> to, whose length is `length` (not below GeomTolerance);
/// raises ComputeError when the direction is not finite.
SegmentFrame FrameOf(Point2 from, Point2 to, double length);

/// Steps the walk (point k, sense d) to the chain's next point. A closed
/// chain's last point and point 0 are the same place, so the step wraps
/// around; on an open chain the walk turns back at a free end.
void AdvanceAlongChain(const CurveRecord& chain, int& k, int& d);

/// Index of the segment a walk at point k with sense d runs along: the
/// segment from point k towards k + d.
inline int WalkedSegment(int k, int d) { return d > 0 ? k : k - 1; }

/// The way on past the next point (k + d) of a walk: the index to continue
/// from and the index of the point after the next one.
struct StepPast {
  int index = 0;
  int after = 0;
};

/// Where a walk at point k with sense d goes on after reaching point k + d;
/// nothing at the free end of an open chain. On a closed chain, arriving at
/// the last point goes on from point 0 towards point 1, and arriving at
/// point 0 backwards goes on from the last point towards the one before it.
std::optional<StepPast> StepPastNext(const CurveRecord& chain, int k, int d);

/// A walk back at its first point that would leave it another way than it
/// first did goes on round what hangs there; each way out of a junction is
/// left at most once, so a junction of many ways needs as many returns. Past
/// this many returns the walk closes whatever way it would leave (the
/// walks' step limits bound it as well).
inline constexpr int kMaxReturnsToStart = 32;

/// For a piece lying on the line of a walk's segment of length `length`,
/// with its ends `along` and `otherAlong` from the segment's start: true when
/// the first end lies inside the segment (more than 10 GeomTolerance from
/// either end) and the other beyond its end. The walk may turn onto such a
/// piece where it starts.
bool StartsInsideRunsPastN(double along, double otherAlong, double length);

/// The way to leave junction `j` along chain `chainIndex`, which the walk's
/// segment (from `start`, unit direction (ux, uy)) meets on the chain's
/// segment `from` -> `from + 1`: of the two directions along the chain, the
/// one that turns further right (backwards on a tie), never straight back
/// (within `reversalBand` of a half turn, the band the walk's choice of the
/// sharpest right turn passes over) while the other is open. At `from + 1` only the way back is offered (the
/// way on is the crossing of the chain's next segment), except across the
/// seam of a closed chain; at point 0 only the way forwards (backwards from
/// point 0 of a closed chain is the crossing of its last segment).
Branch CrossingBranch(const CurveRecord& chain, int chainIndex, int from, Point2 j, Point2 start,
                      double ux, double uy, double reversalBand);

/// Index of the option that turns most sharply to the right (smallest
/// Angle), the first one on ties. An option is never chosen when its angle
/// lies within `reversalBand` of -pi (straight back, turning right), is 2 pi
/// (no way on), or is not a number. Nothing when no option qualifies.
std::optional<size_t> ChooseSharpestRight(const std::vector<Branch>& options, double reversalBand);

}  // namespace pphatch
