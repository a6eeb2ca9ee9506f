// CGAL as a peer: the arrangement of all pieces (segment traits over exact
// predicates and exact constructions); the click's area is the face that
// point location finds, read back as its outer boundary and holes.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "bench/plan.h"

namespace pphatch::bench {

/// The arrangement of the pieces.
class CgalArrangement {
 public:
  /// How clicks are located.
  enum class Locator {
    kNaive,     ///< walks every vertex and edge: no structure to build
    kLandmarks  ///< a landmark structure built with the arrangement
  };

  CgalArrangement(const std::vector<Piece>& pieces, Locator locator);
  ~CgalArrangement();
  CgalArrangement(const CgalArrangement&) = delete;
  CgalArrangement& operator=(const CgalArrangement&) = delete;

  /// Area of the bounded face holding p (outer boundary minus holes), read
  /// from the face's boundary; nothing in the unbounded face or on an edge.
  std::optional<double> AreaAround(Vec2 p) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

/// The whole path for one click: build the arrangement, locate the click,
/// read the face.
std::optional<double> CgalAreaForClick(const std::vector<Piece>& pieces, Vec2 click);

}  // namespace pphatch::bench
