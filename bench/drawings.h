// The benchmark drawings, generated from a seed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bench/plan.h"

namespace pphatch::bench {

/// A floor plan of about `targetPieces` straight pieces: a square grid of
/// equal rooms (6 x 5 units) with double-line walls, door gaps with their
/// door leaves and swing arcs, round columns at some wall junctions, tables
/// with chairs and round tables as islands, cabinets standing against a wall,
/// and a few rotated inserts of a desk block. `clicks` points are chosen in
/// the free floor of random rooms, so every click lies in a room of the same
/// size whatever the size of the plan.
Plan MakeFloorPlan(std::size_t targetPieces, std::uint32_t seed, int clicks);

/// The floor plan with a gap of `gap` units punched into one wall face of
/// the room of each click, at the face's middle: every click's room leaks
/// into the space between the walls, which is open to the outside, so every
/// click fails, and the smallest tolerance that closes it is `gap`.
Plan PunchGaps(Plan plan, double gap);

/// `count` random segments in a square, long enough that each crosses about
/// ten others, and `clicks` random points at least a little away from them.
Plan MakeRandomSegments(std::size_t count, std::uint32_t seed, int clicks);

/// How the outline of MakeGearBoundary is drawn.
enum class OutlineAs {
  kLines,    ///< one LINE graphic per piece
  kPolyline  ///< one closed polyline through all the corners
};

/// One closed area whose boundary has `pieces` straight pieces (rounded up
/// to a multiple of 4): a gear-like outline, a circle of square teeth, each
/// tooth half a unit wide and deep and its four pieces about half a unit
/// long, so that the circle's radius grows with the piece count. `clicks`
/// random points lie inside the teeth's root circle, clear of the outline;
/// every click finds the whole gear, with no island.
Plan MakeGearBoundary(std::size_t pieces, OutlineAs outline, std::uint32_t seed, int clicks);

/// A room with `islands` small square islands (half a unit wide, closed
/// polylines) on a square grid of 1.5 units, walled by four lines around
/// them. `clicks` random points lie on free floor between the islands;
/// every click finds the room with all its islands.
Plan MakeIslandRoom(std::size_t islands, std::uint32_t seed, int clicks);

}  // namespace pphatch::bench
