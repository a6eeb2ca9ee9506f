#include "contour/candidates.h"

#include "component/continue_on_error.h"
#include "contour/search_state.h"
#include "curves/extract.h"
#include "scan/along_contour.h"
#include "scan/candidate_scan.h"

namespace pphatch {

CandidateSetRelease::~CandidateSetRelease() {
  if (state_.SearchSet) Attempt([this] { state_.SearchSet->Clear(); });
  state_.SearchSet.reset();
  state_.SearchSets.reset();
}

int ExtractCandidates(const HostGraphicSetPtr& set, std::vector<CurveRecord>& curves) {
  const int n = RequireObject(set)->Count();
  curves.assign(static_cast<size_t>(n < 0 ? 0 : n), CurveRecord{});
  for (int k = 0; k < n; ++k) {
    if (!ExtractCurve(set->Item(k), curves[static_cast<size_t>(k)])) return k;
  }
  return n;
}

int RebuildCandidatesAlong(ObjectState& state, const CurveRecord& probe) {
  HostGraphicSetPtr set = RequireObject(state.SearchSet);
  set->Clear();
  std::vector<int> ids;
  int count = 0;
  CollectGraphicsAlongContour(state, probe, ids, count);
  ScanGraphicsById(state, ids, count, set);
  std::vector<CurveRecord>& curves = Module().Curves;
  const int extracted = ExtractCandidates(set, curves);
  return extracted == static_cast<int>(curves.size()) ? extracted : -1;
}

}  // namespace pphatch
