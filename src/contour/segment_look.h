// Looking along the walk's current segment for the places where chains meet it.
#pragma once

#include "contour/search_state.h"

namespace pphatch {

/// What the look along a segment found.
enum class SegmentOutcome {
  kNoJunction,  ///< nothing meets Q -> N: go on along the current chain
  kJunction,    ///< crossings were recorded: choose a branch
  kEnd,         ///< the search must end with false
};

/// Looks along Q -> N (N = point i + d of the current chain), rebuilding
/// the candidates first when the walk has changed chains. A collinear chain
/// that starts at Q and reaches beyond N takes over at once. Every place
/// where another chain (or the current one) meets the segment is recorded
/// in the crossings table.
SegmentOutcome LookAlongSegment(SearchState& search);

}  // namespace pphatch
