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

/// `count` random segments in a square, long enough that each crosses about
/// ten others, and `clicks` random points at least a little away from them.
Plan MakeRandomSegments(std::size_t count, std::uint32_t seed, int clicks);

}  // namespace pphatch::bench
