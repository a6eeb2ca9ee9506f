// Leaving a junction of the walk along the branch that turns most sharply right.
#pragma once

#include "contour/search_state.h"

namespace pphatch {

/// What taking a branch led to.
enum class BranchOutcome {
  kOn,      ///< on the chosen branch: look along the new segment
  kClosed,  ///< back at the first point: the loop is in WorkContour
  kEnd,     ///< the search must end with false
};

/// At the nearest of the recorded crossings, builds one way on per chain
/// that meets there plus the way on along the current chain, takes the one
/// with the smallest turn (never a reversal, never a dead end), stores the
/// junction as the next loop point, and closes the loop when the junction
/// is back at the first point within the close tolerance.
BranchOutcome TakeBranch(SearchState& search);

}  // namespace pphatch
