#include "contour/rescan.h"

#include <cmath>
#include <vector>

#include "contour/candidates.h"
#include "curves/circle_contacts.h"

namespace pphatch {

namespace {

// True when `record`, freshly extracted, is the walked chain `chain`. A
// circle is known by its circle and first point, since contacts refined
// into the walked copy change its points; any other chain by its point
// count, coordinate sums (within 100 E) and the point the walk heads for.
bool IsSameChain(const CurveRecord& record, const CurveRecord& chain, int next, Point2 n) {
  const double e = GeomTolerance();
  if (chain.TypeName == "CIRCLE") {
    return record.TypeName == "CIRCLE" && record.Closed == chain.Closed &&
           std::fabs(record.Radius - chain.Radius) < e &&
           std::fabs(record.CenterX - chain.CenterX) < e &&
           std::fabs(record.CenterY - chain.CenterY) < e && record.PointCount > 0 &&
           Coincide(ChainPoint(record, 0), ChainPoint(chain, 0));
  }
  return record.PointCount == chain.PointCount && std::fabs(record.SumX - chain.SumX) < 100 * e &&
         std::fabs(record.SumY - chain.SumY) < 100 * e && Coincide(ChainPoint(record, next), n);
}

// Index of the first of records 0..n-1 that is the walked chain; -1 none.
int FindCurrentChain(const std::vector<CurveRecord>& curves, int n, const SearchState& search) {
  for (int k = 0; k < n; ++k) {
    if (IsSameChain(curves[static_cast<size_t>(k)], search.current, search.i + search.d,
                    search.N)) {
      return k;
    }
  }
  return -1;
}

}  // namespace

bool RescanAlongCurrentChain(SearchState& search) {
  std::vector<CurveRecord>& curves = Module().Curves;
  const int n = RebuildCandidatesAlong(search.object, search.current);
  if (n < 0) return false;
  search.chainCount = n;

  int index = FindCurrentChain(curves, n, search);
  RefineCircleContacts(curves, n);
  // A contact may have moved the first point of the walked circle, in the
  // walked copy or in the new record: look again among the refined records.
  if (index < 0 && search.current.TypeName == "CIRCLE") index = FindCurrentChain(curves, n, search);
  if (index < 0) return false;

  const Point2 previous = ChainPoint(search.current, search.i);
  search.current = curves[static_cast<size_t>(index)];
  search.currentIndex = index;
  if (search.current.TypeName == "CIRCLE") {
    // Points may have been inserted: find the walk's vertex again.
    const int count = search.current.PointCount;
    for (int j = 0; j < count; ++j) {
      if (!Coincide(ChainPoint(search.current, j), previous)) continue;
      search.i = j;
      if (search.i + search.d < 0) {
        search.i = count - 1;
      } else if (search.i + search.d > count - 1) {
        search.i = 0;
      }
      break;
    }
  }
  search.N = ChainPoint(search.current, search.i + search.d);
  return true;
}

}  // namespace pphatch
