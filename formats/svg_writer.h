// SVG pictures of an in-memory drawing with hatched areas drawn over it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "formats/dxf_writer.h"
#include "formats/errors.h"
#include "memhost/drawing.h"

namespace pphatch::formats {

/// A gap in a boundary: between a free end and the nearest point of
/// another graphic, drawing coordinates.
struct SvgGap {
  Point2 from{}, to{};
  double size = 0;
};

/// One pick to show over the drawing.
struct SvgPick {
  double x = 0, y = 0;           ///< the picked point, drawing coordinates
  bool ok = false;               ///< an area was found
  std::vector<Contour> contours;  ///< outer boundary first, then the islands
  std::string message;           ///< shown beside a pick that found nothing
  /// A failed pick: the gaps that keep it open, each circled in red with
  /// its size. A found area: the bridges it runs along, drawn with their size.
  std::vector<SvgGap> gaps;
  /// A failed pick that no small gap closes: where its boundary is open.
  std::vector<Point2> freeEnds;
};

/// Size of the picture.
struct SvgOptions {
  double size = 1000;   ///< the picture fits in size x size pixels
  double margin = 20;   ///< free pixels on each side
};

/// Writes an SVG document: every top-level graphic of the drawing with its
/// children (chains with their pen-ups, polyline arc runs, circles, arcs,
/// ellipses), each found area filled with a hatch (islands left open by the
/// even-odd rule), and every pick point marked; a pick that found nothing is
/// marked in red with its message. The drawing's y axis points up.
void WriteSvg(std::ostream& out, const mem::MemDrawing& drawing, const std::vector<SvgPick>& picks,
              const SvgOptions& options = {});

/// WriteSvg into a file; WriteError naming the file when it cannot be written.
void WriteSvgFile(const std::string& path, const mem::MemDrawing& drawing,
                  const std::vector<SvgPick>& picks, const SvgOptions& options = {});

}  // namespace pphatch::formats
