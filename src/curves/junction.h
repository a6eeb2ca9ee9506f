// The junction tables of a walk along chains.
#pragma once

namespace pphatch {

/// Where another chain meets the current segment.
struct Crossing {
  double Dist = 0;     ///< distance from the segment's start
  double PX = 0;       ///< the meeting point
  double PY = 0;
  int FromIndex = 0;   ///< first point of the other chain's segment
  int ToIndex = 0;     ///< FromIndex + 1
  int Chain = 0;       ///< index of the other chain
};

/// Marks the current chain in Branch::Chain.
inline constexpr int kCurrentChainMark = -100;

/// One way to leave a junction.
struct Branch {
  double Angle = 0;    ///< turn from the current direction, (-pi, pi]; 2 pi = no way on
  int PointIndex = 0;  ///< point index to continue from
  int Chain = 0;       ///< chain index, or kCurrentChainMark
  int Sense = 1;       ///< +1 or -1
};

/// Table limits: crossings per segment, nearest crossings, branches.
inline constexpr int kMaxCrossings = 1001;
inline constexpr int kMaxNearestCrossings = 101;
inline constexpr int kMaxBranches = 1001;

}  // namespace pphatch
