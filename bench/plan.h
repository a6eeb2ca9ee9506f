// A benchmark drawing kept as a plan: the figures to draw, the clicks to make
// in it, and the same geometry as plain straight pieces for the peer
// libraries. Plans are generated from a seed and never stored.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "memhost/arc_shape.h"
#include "memhost/drawing.h"
#include "memhost/vec.h"

namespace pphatch::bench {

using mem::Vec2;

/// One graphic of a plan, in drawing coordinates (block coordinates for the
/// figures of a block).
struct Figure {
  enum class Kind { kLine, kPolygon, kCircle, kArc, kInsert };
  Kind kind = Kind::kLine;
  /// Line: its two ends. Polygon: its corners, the first not repeated.
  /// Arc: optionally its exact end points, which the peers' chords use
  /// instead of the computed ones (so that they meet what the arc meets).
  std::vector<Vec2> points;
  /// Circle and arc: centre, radius; an arc runs counter-clockwise from
  /// `start` to `end` (radians).
  Vec2 centre;
  double radius = 0;
  double start = 0, end = 0;
  /// Insert: the block (index into Plan::blocks) and where it is placed.
  int block = -1;
  mem::Placement placement;
};

/// A block: figures (no inserts) in block coordinates.
struct Block {
  std::vector<Figure> figures;
};

/// A straight piece of the drawn geometry.
struct Piece {
  Vec2 a, b;
};

/// A drawing to benchmark and the clicks to make in it.
struct Plan {
  std::string name;
  std::vector<Figure> figures;
  std::vector<Block> blocks;
  /// Click points in drawing coordinates, each inside a closed area.
  std::vector<Vec2> clicks;
  /// For drawings where every click lies in the same known area: its net
  /// area (outer boundary minus islands) and its number of contours (outer
  /// boundary and islands). Zero when the clicks' areas are not known.
  double expectedArea = 0;
  std::size_t expectedContours = 0;
};

/// Builds the plan's figures, in order, into a new in-memory drawing.
std::shared_ptr<mem::MemDrawing> BuildDrawing(const Plan& plan);

/// The drawn geometry as straight pieces, with circles and arcs cut into the
/// same chords the component samples them with (60 per full circle; 5 to
/// 61 per arc, by its angle), inserts placed.
std::vector<Piece> PlanPieces(const Plan& plan);

/// Number of straight pieces one figure of the plan contributes to PlanPieces.
std::size_t FigurePieceCount(const Plan& plan, const Figure& figure);

}  // namespace pphatch::bench
