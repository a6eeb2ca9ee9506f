// Writing the areas found by picks to a DXF file.
//
// Each area becomes one HATCH entity on layer "PPHATCH_HATCH" (its outer
// boundary as the first loop, its islands as further loops, with arc edges
// where a contour follows a curve) and, unless switched off, its boundaries
// as closed polylines with bulges on layer "PPHATCH_BOUNDARY". Over a DXF
// source the file is that source with the areas added; otherwise a new
// AutoCAD 2000 file can show the source drawing's geometry on layer "0".
#pragma once

#include <array>
#include <string>
#include <vector>

#include "formats/errors.h"
#include "formats/true_contour.h"

namespace pphatch::mem {
class MemDrawing;
}

namespace pphatch::formats {

inline constexpr const char* kHatchLayer = "PPHATCH_HATCH";
inline constexpr const char* kBoundaryLayer = "PPHATCH_BOUNDARY";
inline constexpr const char* kLabelLayer = "PPHATCH_LABEL";
inline constexpr const char* kGapLayer = "PPHATCH_GAPS";

/// The result of one successful pick: the outer boundary first, then the
/// boundary of each island.
struct PickArea {
  std::vector<Contour> contours;
  /// The same contours on the drawing's curves; when empty the contours
  /// are written as they are.
  std::vector<TrueContour> curves;
  Point2 seed{0, 0};  ///< the pick point, written as the hatch's seed
  std::string label;  ///< when not empty, written as a TEXT below the seed on kLabelLayer
};

/// How the hatches are filled: "SOLID", or a pattern name such as "ANSI31"
/// with its scale and angle (degrees). A scale of 0 is chosen from the
/// drawing's units and the size of the areas.
struct HatchFill {
  std::string pattern = "ANSI31";
  double scale = 0;
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
  std::vector<GapMark> gaps{};
};

/// Writes the areas (and, when `source` is given, that drawing's geometry)
/// to a new DXF file at `path`. Contours with fewer than three distinct
/// points are left out. WriteError when the file cannot be written.
void WriteDxfResult(const std::string& path, const std::vector<PickArea>& areas,
                    const mem::MemDrawing* source = nullptr, const DxfWriteOptions& options = {});

/// Writes the ASCII DXF file `sourcePath` to `path` with the areas added
/// (see AddAreasToDxf); returns what the reader of the result should know
/// (an empty list when nothing). ReadError when the source cannot be read,
/// WriteError when the result cannot be written.
std::vector<std::string> WriteDxfOverSource(const std::string& sourcePath, const std::string& path,
                                            const std::vector<PickArea>& areas,
                                            const DxfWriteOptions& options = {});

}  // namespace pphatch::formats
