// GEOS as a peer: the whole drawing's pieces are noded into one planar graph
// (the unary union of all linework) and polygonized; the click's area is the
// polygon (shell minus holes) that holds it.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "bench/plan.h"

namespace pphatch::bench {

/// The bounded faces of the pieces, built by GEOS.
class GeosFaces {
 public:
  /// Nodes and polygonizes the pieces; std::runtime_error when GEOS fails.
  explicit GeosFaces(const std::vector<Piece>& pieces);
  ~GeosFaces();
  GeosFaces(const GeosFaces&) = delete;
  GeosFaces& operator=(const GeosFaces&) = delete;

  /// Area of the face whose interior holds p; nothing in the unbounded face.
  std::optional<double> AreaAround(Vec2 p) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

/// The whole path for one click: build the faces of all pieces, find the
/// one holding the click, return its area.
std::optional<double> GeosAreaForClick(const std::vector<Piece>& pieces, Vec2 click);

}  // namespace pphatch::bench
