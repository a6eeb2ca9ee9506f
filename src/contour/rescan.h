// Rebuilding the candidates along the chain the walk has changed to.
#pragma once

#include "contour/search_state.h"

namespace pphatch {

/// Rebuilds the candidate set and Module().Curves along the current chain,
/// finds the current chain among the new records (refined circle contacts
/// included) and re-aims N at point i + d of it. False when the search must
/// end: an extraction failed or the chain is not found again.
bool RescanAlongCurrentChain(SearchState& search);

}  // namespace pphatch
