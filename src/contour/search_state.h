// State shared by the stages of one contour search (march, entry, walk),
// the fixed tables it fills, and small chain helpers.
#pragma once

#include <optional>
#include <vector>

#include "component/errors.h"
#include "component/state.h"
#include "curves/chain_geometry.h"
#include "curves/curve_record.h"
#include "curves/junction.h"
#include "geometry/incidence.h"
#include "geometry/tolerance.h"
#include "pphatch/host.h"

namespace pphatch {

/// Returns a host object, raising HostError when the host handed back none.
template <class Ptr>
Ptr RequireObject(Ptr object) {
  if (!object) throw HostError("the host returned no object");
  return object;
}

/// Points a walk may store, the first point included.
inline constexpr int kMaxTracePoints = 5001;

/// A table with a fixed capacity. Writing beyond it raises ComputeError,
/// which ends the search with false; nothing is ever stored outside it.
template <class T>
class FixedTable {
 public:
  explicit FixedTable(int limit) : limit_(limit) {}

  /// Empties the table.
  void Clear() { items_.clear(); }

  /// Appends an entry; raises ComputeError when the table is full.
  void Add(const T& item) {
    if (Size() >= limit_) throw ComputeError("fixed table full");
    items_.push_back(item);
  }

  /// Stores an entry at `index`, growing the used part up to it.
  void Put(int index, const T& item) {
    if (index < 0 || index >= limit_) throw ComputeError("index outside a fixed table");
    if (index >= Size()) items_.resize(static_cast<size_t>(index) + 1);
    items_[static_cast<size_t>(index)] = item;
  }

  /// Number of entries in use.
  int Size() const { return static_cast<int>(items_.size()); }

  /// Entry `index`; raises ComputeError outside the used part.
  const T& At(int index) const {
    if (index < 0 || index >= Size()) throw ComputeError("index outside a fixed table");
    return items_[static_cast<size_t>(index)];
  }

 private:
  int limit_;
  std::vector<T> items_;
};

/// Everything one search keeps between its stages. Coordinates are drawing
/// coordinates unless a name says view.
struct SearchState {
  explicit SearchState(ObjectState& objectState) : object(objectState) {}

  ObjectState& object;

  // Reference point of the march: the pick point in drawing coordinates;
  // the march looks for crossings with the line y = Y0 left of X0.
  double X0 = 0;
  double Y0 = 0;

  /// Records of Module().Curves that hold usable chains.
  int chainCount = 0;

  // The chain being walked: a copy of its record, its index in Curves, and
  // the segment from point i to point i + d.
  CurveRecord current;
  int currentIndex = 0;
  int i = 0;
  int d = 1;

  Point2 S;                                                          ///< first point of the loop
  std::vector<Point2> trace = std::vector<Point2>(kMaxTracePoints);  ///< loop points, 0 = S
  int steps = 0;                                                     ///< points stored after S
  bool rescan = true;         ///< rebuild the candidates along the current chain first
  double closeTolerance = 0;  ///< grows with the arc margins met at junctions
  bool started = false;       ///< the first vertex step is done
  bool leftStart = false;     ///< the walk has been farther than the close tolerance from S
  std::optional<Point2> firstNext;  ///< where the walk first headed from S
  int returnsToStart = 0;           ///< times the walk came back to S

  // The segment being looked along: Q -> N, its unit direction u, length L
  // and its line.
  Point2 Q;
  Point2 N;
  Point2 u;
  double L = 0;
  Line line;

  double currentMargin = 0;   ///< arc margin of the last circle or arc walked
  double examinedMargin = 0;  ///< margin of the chain examined last along a segment

  FixedTable<Crossing> crossings{kMaxCrossings};
  FixedTable<int> nearest{kMaxNearestCrossings};
  FixedTable<Branch> branches{kMaxBranches};
};

/// True for a chain sampled from a circle or circular arc.
inline bool IsCircleOrArc(const CurveRecord& chain) {
  return chain.TypeName == "CIRCLE" || chain.TypeName == "ARC";
}

/// How far a 61-point circle chain may stray from its true circle, with a
/// little slack: r pi^2 / 61^2, enlarged by 0.1 %. Other chains get GeomTolerance.
inline double ArcMargin(const CurveRecord& chain) {
  if (!IsCircleOrArc(chain)) return GeomTolerance();
  return chain.Radius * kPi * kPi / 61 / 61 * 1.001;
}

}  // namespace pphatch
