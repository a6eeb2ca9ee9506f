// Writing the areas found by picks to a DXF file (AutoCAD 2000, AC1015).
//
// Each area becomes one HATCH entity on layer "PPHATCH_HATCH" (its outer
// boundary as the first loop, its islands as further loops) and, unless
// switched off, its boundaries as closed LWPOLYLINEs on layer
// "PPHATCH_BOUNDARY". The source drawing's geometry can be added on layer
// "0" as lines, arcs, circles and points, to show the areas in context.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "formats/errors.h"

namespace pphatch::mem {
class MemDrawing;
}

namespace pphatch::formats {

inline constexpr const char* kHatchLayer = "PPHATCH_HATCH";
inline constexpr const char* kBoundaryLayer = "PPHATCH_BOUNDARY";
inline constexpr const char* kGapLayer = "PPHATCH_GAPS";

/// A point in drawing coordinates.
using Point2 = std::array<double, 2>;
/// A closed boundary: its points in order; the last may repeat the first.
using Contour = std::vector<Point2>;

/// The result of one successful pick: the outer boundary first, then the
/// boundary of each island.
struct PickArea {
  std::vector<Contour> contours;
};

/// How the hatches are filled: "SOLID", or a pattern name such as "ANSI31"
/// with its scale and angle (degrees).
struct HatchFill {
  std::string pattern = "SOLID";
  double scale = 1;
  double angle = 0;
};

/// A gap in a boundary: from a free end to the nearest point of another
/// graphic. `bridged`: a found area runs along it.
struct GapMark {
  Point2 from{}, to{};
  double size = 0;
  bool bridged = false;
};

struct DxfWriteOptions {
  HatchFill fill;
  /// Also write each boundary as a closed LWPOLYLINE.
  bool boundaries = true;
  /// Marks on layer "PPHATCH_GAPS": a circle round each gap with its size
  /// as text, and the bridge as a line where an area runs along it.
  std::vector<GapMark> gaps;
};

/// Writes the areas (and, when `source` is given, that drawing's geometry)
/// to a DXF file at `path`. Contours with fewer than three distinct points
/// are left out. WriteError when the file cannot be written.
void WriteDxfResult(const std::string& path, const std::vector<PickArea>& areas,
                    const mem::MemDrawing* source = nullptr, const DxfWriteOptions& options = {});

}  // namespace pphatch::formats
