// What an SVG picture tells besides the drawing: title, coordinate ticks,
// scale bar, numbered picks with their legend, the drawing's texts, and a
// note about graphics left out. Each piece writes one SVG group.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "formats/svg_layout.h"
#include "formats/svg_writer.h"

namespace pphatch::formats {

/// Pixel sizes of the pick marks and of the picture's text.
inline constexpr double kSvgMarkRadius = 4;
inline constexpr double kSvgFontSize = 13;
inline constexpr const char* kSvgFailColour = "#d01010";

/// The bands around the drawing region that the annotations take.
struct SvgBands {
  double left = 0, top = 0;  ///< the drawing region's corner (margin included)
  double bottom = 0;         ///< below the drawing region: ticks and scale bar
};

/// The bands of a picture with or without annotations.
SvgBands Bands(bool annotated, double margin);

/// One entry of the legend.
struct LegendLine {
  std::string text;
  bool ok = true;  ///< the pick found an area
};

/// The picture's size and where the legend and the note go.
struct SvgCanvas {
  double width = 0, height = 0;
  double legendLeft = 0;
  double noteBaseline = 0;
};

/// The canvas around the placed drawing, its bands, the legend and maybe a note.
SvgCanvas Canvas(const SvgPlacement& frame, const SvgBands& bands, double margin,
                 const std::vector<LegendLine>& legend, bool note);

/// "1  (25, 27)  area 201.06 mm²", or for a failed pick
/// "2  (300, 300)  no area: REASON" (the message when no reason is known),
/// one per pick in order.
std::vector<LegendLine> LegendLines(const std::vector<SvgPick>& picks, const std::string& units);

/// The clip path "frame": the drawing region grown by `pad` pixels.
void WriteClip(std::ostream& out, const SvgPlacement& frame, double pad);
/// The title: file name and date, above the drawing region.
void WriteTitle(std::ostream& out, const SvgAnnotations& notes, const SvgPlacement& frame);
/// The texts inside the frame, faint, at their height.
void WriteTexts(std::ostream& out, const std::vector<PlacedText>& texts, const SvgPlacement& frame);
/// The number of each pick beside its mark, no label over another or over a mark.
void WritePickNumbers(std::ostream& out, const std::vector<SvgPick>& picks, const SvgPlacement& frame);
/// Drawing coordinates along the bottom and the left edge of the drawing region.
void WriteTicks(std::ostream& out, const SvgPlacement& frame);
/// A bar of a round length in drawing units, below the ticks.
void WriteScaleBar(std::ostream& out, const SvgPlacement& frame, const std::string& units);
/// The legend, a line per pick, from (left, top).
void WriteLegend(std::ostream& out, const std::vector<LegendLine>& legend, double left, double top);
/// A note in small grey letters at (left, baseline).
void WriteNote(std::ostream& out, const std::string& text, double left, double baseline);

}  // namespace pphatch::formats
