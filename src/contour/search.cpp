#include "contour/search.h"

#include <exception>

#include "contour/candidates.h"
#include "contour/entry.h"
#include "contour/march.h"
#include "contour/search_state.h"
#include "contour/suspended_fills.h"
#include "contour/walk.h"

namespace pphatch {

// Any run-time error (a failing host call, a computation fault, a full
// table) ends the search with false. Only the fills are handled statement
// by statement: a graphic whose fill cannot be read, blanked or restored is
// passed over. Whatever way the search ends, the blanked fills are put back
// and the candidate set is cleared and released.
bool SearchClosedContour(ObjectState& state, double& px, double& py) {
  if (BudgetExceeded(state)) return false;
  state.LastGraphicId = -1;
  CandidateSetRelease releaseSets(state);
  SuspendedFills fills;
  try {
    SearchState search(state);
    const std::optional<RayHit> hit = MarchToNearestChain(search, fills, px, py);
    if (!hit) return false;
    if (!EnterHitChain(search, *hit)) return false;
    search.trace[0] = search.S;
    search.steps = 0;
    fills.Restore();
    return WalkToClosure(search);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace pphatch
