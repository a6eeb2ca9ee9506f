// Turns arbitrary bytes into an in-memory drawing, a view on it and a click,
// so that a fuzzer can explore requests on drawings of every graphic kind.
//
// The bytes are read front to back; once they run out every further read
// gives zero, so any byte string decodes. Layout:
//   view: zoom, rotation and size choices, then the drawing's "TileMode";
//   click: two coordinates;
//   graphics: one operation byte each, followed by its operands, until the
//   bytes or the graphic limit run out.
// Coordinates mostly fall on a small grid (so that graphics meet and close
// areas); a few marker bytes bring in fractions or any 64-bit double
// (NaN, infinities, 1e300).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "geometry/incidence.h"
#include "memhost/drawing.h"
#include "memhost/view.h"

namespace pphatch::reliability {

/// A decoded drawing with a view and the click to hatch at.
struct DecodedRequest {
  std::shared_ptr<mem::MemDrawing> drawing;
  std::shared_ptr<mem::MemView> view;
  /// The click in drawing coordinates.
  Point2 click;
  /// The click in view coordinates, as the host passes it.
  Point2 viewClick;
  /// The gap tolerance of the request, drawing units.
  double gap = 0;
};

/// Most graphics one input may make (children of containers included), so
/// that each input runs quickly.
inline constexpr int kMaxDecodedGraphics = 96;

/// Decodes the bytes; never throws for any input.
DecodedRequest DecodeRequest(const std::uint8_t* data, std::size_t size);

}  // namespace pphatch::reliability
