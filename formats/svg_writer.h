// SVG pictures of an in-memory drawing with hatched areas drawn over it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "formats/dxf_writer.h"
#include "formats/errors.h"
#include "formats/true_contour.h"
#include "memhost/drawing.h"

namespace pphatch::formats {

/// One pick to show over the drawing.
struct SvgPick {
  double x = 0, y = 0;           ///< the picked point, drawing coordinates
  bool ok = false;               ///< an area was found
  std::vector<Contour> contours;  ///< outer boundary first, then the islands
  std::string message;           ///< shown beside a pick that found nothing
  std::vector<TrueContour> curves;  ///< the contours on the drawing's curves; may be empty
  std::string label;             ///< shown beside a pick that found its area, when not empty
};

/// Size of the picture.
struct SvgOptions {
  double size = 1000;   ///< the picture fits in size x size pixels
  double margin = 20;   ///< free pixels on each side
};

/// Writes an SVG document: every top-level graphic of the drawing with its
/// children (chains with their pen-ups, polyline arc runs, circles, arcs,
/// ellipses), each found area filled with a hatch (islands left open by the
/// even-odd rule; drawn with true arcs where its curves are given), and every pick point marked; a pick that found nothing is
/// marked in red with its message. The drawing's y axis points up.
void WriteSvg(std::ostream& out, const mem::MemDrawing& drawing, const std::vector<SvgPick>& picks,
              const SvgOptions& options = {});

/// WriteSvg into a file; WriteError naming the file when it cannot be written.
void WriteSvgFile(const std::string& path, const mem::MemDrawing& drawing,
                  const std::vector<SvgPick>& picks, const SvgOptions& options = {});

}  // namespace pphatch::formats
