// The drawing as the browser page draws it: polylines in a compact binary form.
#pragma once

#include <cstdint>
#include <string>

#include "memhost/drawing.h"

namespace pphatch::cli {

/// Chords per full turn when circles and arcs are drawn as polylines.
inline constexpr int kChordsPerTurn = 96;

/// Style flag of a polyline: drawn faintly (a graphic the request ignores).
inline constexpr std::uint8_t kFaintPolyline = 1;

/// Encodes every top-level graphic of the drawing (with its children) as
/// polylines, all little-endian:
///
///   offset 0   "PPHV", u32 version (1), u32 polyline count P, u32 vertex count V
///   offset 16  f64 origin x, y; f64 extents min x, min y, max x, max y
///   offset 64  u32 start[P + 1]: polyline i has vertices start[i] .. start[i+1]-1
///   then       u8 flags[P], zero-padded to a multiple of 4 bytes
///   then       f32 xy[2 V]: vertex coordinates minus the origin
///
/// The origin is the middle of the extents, so that single-precision
/// coordinates keep their digits far from the drawing's zero. Segments that
/// continue where the last one ended join one polyline; circles and arcs
/// become kChordsPerTurn chords per turn; an isolated point is a polyline of
/// one vertex. A drawing without geometry has extents of zero size at 0,0.
std::string EncodeGeometry(const mem::MemDrawing& drawing);

}  // namespace pphatch::cli
