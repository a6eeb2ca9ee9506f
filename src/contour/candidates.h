// The search's candidate set: the plain chain graphics near the walk, and
// the chains extracted from them into Module().Curves.
#pragma once

#include <vector>

#include "component/state.h"
#include "curves/curve_record.h"
#include "pphatch/host.h"

namespace pphatch {

/// Clears and releases the object's candidate set and set factory when the
/// search ends, whichever way it ends.
class CandidateSetRelease {
 public:
  explicit CandidateSetRelease(ObjectState& state) : state_(state) {}
  CandidateSetRelease(const CandidateSetRelease&) = delete;
  CandidateSetRelease& operator=(const CandidateSetRelease&) = delete;
  ~CandidateSetRelease();

 private:
  ObjectState& state_;
};

/// Replaces `curves` with one fresh record per graphic of the set, extracted
/// in set order. Returns how many were extracted before the first failed
/// extraction (the set's Count when all succeeded); records from the failed
/// one on must not be used.
int ExtractCandidates(const HostGraphicSetPtr& set, std::vector<CurveRecord>& curves);

/// Rebuilds the candidate set from the graphics along `probe` and extracts
/// them into Module().Curves. Returns the number of chains, or -1 when an
/// extraction failed.
int RebuildCandidatesAlong(ObjectState& state, const CurveRecord& probe);

}  // namespace pphatch
