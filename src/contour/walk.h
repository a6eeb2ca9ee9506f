// Walking the chains from the first point until the loop is closed.
#pragma once

#include "contour/search_state.h"

namespace pphatch {

/// The walk gives up when the point count after the first point reaches
/// this at a vertex of a chain, or the smaller one at a junction.
inline constexpr int kVertexStepLimit = 3000;
inline constexpr int kJunctionStepLimit = 2000;

/// At S again (Q within the close tolerance of S, N the next point): true
/// when the walk would leave S the way it first did, so the loop is
/// complete; false while other ways hang at S (S is a junction), which the
/// walk goes round first. Counts the return.
bool LeavesStartAsAtFirst(SearchState& search);

/// Stores p as the next loop point. False when the count of stored points
/// reaches `limit`.
bool StoreLoopPoint(SearchState& search, Point2 p, int limit);

/// Writes the loop (the first point and every stored point) to
/// Module().WorkContour; with `endExactly` its first point is set to its
/// last, so that the chain ends exactly where it starts.
void WriteLoop(const SearchState& search, bool endExactly);

/// Walks from S on the current chain (segment i, sense d), turning at every
/// junction as sharply right as possible, until it is back at S. True with
/// the loop in Module().WorkContour; false when the time budget or a step
/// limit is reached, or a junction offers no way on.
bool WalkToClosure(SearchState& search);

}  // namespace pphatch
