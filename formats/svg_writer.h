// SVG pictures of an in-memory drawing with hatched areas drawn over it.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "formats/dxf_writer.h"
#include "formats/errors.h"
#include "formats/true_contour.h"
#include "formats/load_summary.h"
#include "memhost/drawing.h"
#include "memhost/outline.h"

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
  std::vector<TrueContour> curves{};  ///< the contours on the drawing's curves; may be empty
  std::string label{};           ///< shown beside a pick that found its area, when not empty
  std::string reason{};          ///< why it found nothing, in words, for the legend
  /// A failed pick: the gaps that keep it open, each circled in red with
  /// its size. A found area: the bridges it runs along, drawn with their size.
  std::vector<SvgGap> gaps{};
  /// A failed pick that no small gap closes: where its boundary is open.
  std::vector<Point2> freeEnds{};
};

/// What an annotated picture tells besides the drawing.
struct SvgAnnotations {
  std::string title;  ///< the drawing's file name
  std::string date;   ///< when the picture was made
  std::string units;  ///< the drawing units ("millimeters"); empty when not known
};

/// Size and content of the picture.
struct SvgOptions {
  double size = 1000;   ///< the drawing fits in size x size pixels
  double margin = 20;   ///< free pixels on each side
  /// The part of the drawing shown; by default the part where the graphics
  /// are, far outliers left out (with a note saying how many).
  std::optional<mem::Box> frame;
  /// Texts of the drawing, shown faintly.
  std::vector<PlacedText> texts;
  /// A title, coordinate ticks, a scale bar and a legend of numbered picks.
  std::optional<SvgAnnotations> annotations;
};

/// Writes an SVG document: every top-level graphic of the drawing in the
/// frame with its children (chains with their pen-ups, polyline arc runs,
/// circles, arcs, ellipses), each found area filled with a hatch (islands
/// left open by the even-odd rule; drawn with true arcs where its curves are
/// given), and every pick point marked; a pick that found nothing is marked
/// in red, with its message beside it or, in an annotated picture, in the
/// legend. The drawing's y axis points up.
void WriteSvg(std::ostream& out, const mem::MemDrawing& drawing, const std::vector<SvgPick>& picks,
              const SvgOptions& options = {});

/// WriteSvg into a file; WriteError naming the file when it cannot be written.
void WriteSvgFile(const std::string& path, const mem::MemDrawing& drawing,
                  const std::vector<SvgPick>& picks, const SvgOptions& options = {});

}  // namespace pphatch::formats
