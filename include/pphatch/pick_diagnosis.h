// What a request tells beyond its result: why it found no area, or which
// gaps its area was bridged over.
#pragma once

#include <array>
#include <vector>

namespace pphatch {

/// A gap in a boundary and the straight bridge over it, in drawing units.
struct PickGap {
  double fromX = 0, fromY = 0;  ///< the free end of a chain
  double toX = 0, toY = 0;      ///< the nearest point of the graphic it reaches
  double size = 0;              ///< the distance between the two
};

/// The diagnosis of the last request of a PickPointHatch object.
struct PickDiagnosis {
  enum class Cause {
    kNone,         ///< the request found an area
    kOpen,         ///< the boundary around the click is open: see closesAt, gaps, freeEnds
    kNotEnclosed,  ///< no boundary surrounds the click, and no free end lies in its face
    kOnBoundary,   ///< the click lies on a graphic that bounds no area on either side
    kBudget,       ///< the request's time budget ran out
    kError,        ///< the host failed during the search
  };
  Cause cause = Cause::kNone;
  /// The smallest gap tolerance with which the request finds an area, up to
  /// the diagnosis reach; 0 when none does (or the request found an area).
  double closesAt = 0;
  /// A failed request: the gaps bridged at `closesAt`. A request that found
  /// an area with a gap tolerance: the bridges its boundaries run along.
  /// Shortest first.
  std::vector<PickGap> gaps;
  /// A failed request that no tolerance up to the reach closes: the free
  /// ends of chains in the click's face (where it is open), nearest first.
  std::vector<std::array<double, 2>> freeEnds;
};

}  // namespace pphatch
