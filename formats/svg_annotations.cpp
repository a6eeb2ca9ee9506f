#include "formats/svg_annotations.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace pphatch::formats {

namespace {

// Pixel sizes of the bands and of the legend.
constexpr double kTickBand = 64;     // left of the drawing: y tick labels
constexpr double kTitleBand = 36;    // above the drawing
constexpr double kBottomBand = 64;   // below the drawing: x tick labels and the scale bar
constexpr double kNoteBand = 22;
constexpr double kLegendGap = 28;
constexpr double kLegendRow = 18;
constexpr double kTickLength = 6;
// Average width of a letter of the sans-serif font, in font sizes.
constexpr double kLetterWidth = 0.55;
// Least pixels between two x tick labels, and between two y tick labels.
constexpr double kXTickSpacing = 90;
constexpr double kYTickSpacing = 40;

// The short sign of a unit ("mm"); the unit's name when it has none; "units" when unknown.
std::string UnitSymbol(const std::string& units) {
  static const std::map<std::string, std::string> symbols{
      {"millimeters", "mm"}, {"centimeters", "cm"}, {"meters", "m"},  {"kilometers", "km"},
      {"inches", "in"},      {"feet", "ft"},        {"yards", "yd"},  {"miles", "mi"},
      {"decimeters", "dm"},  {"microns", "µm"},     {"nanometers", "nm"}};
  if (units.empty() || units == "unitless") return "units";
  const auto found = symbols.find(units);
  return found == symbols.end() ? units : found->second;
}

// The round length (1, 2 or 5 times a power of ten) not above `limit`.
double RoundBelow(double limit) {
  if (!(limit > 0)) return 0;
  const double power = std::pow(10.0, std::floor(std::log10(limit)));
  for (const double m : {5.0, 2.0, 1.0}) {
    if (m * power <= limit) return m * power;
  }
  return power;
}

// The hatched area of a pick: its outer boundary less its islands.
double HatchedArea(const SvgPick& pick) {
  double area = 0;
  for (std::size_t i = 0; i < pick.contours.size(); ++i) {
    const Contour& ring = pick.contours[i];
    double twice = 0;
    for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
      twice += ring[k][0] * ring[k + 1][1] - ring[k + 1][0] * ring[k][1];
    }
    area += (i == 0 ? 1 : -1) * std::fabs(twice / 2);
  }
  return area;
}

// Pixel width of a text at the picture's font size.
double TextWidth(const std::string& text, double fontSize = kSvgFontSize) {
  return static_cast<double>(text.size()) * kLetterWidth * fontSize;
}

// The tick values of [from, to] at the round step for `pixels` with labels `spacing` apart.
std::vector<double> Ticks(double from, double to, double pixels, double spacing) {
  const int count = std::max(1, static_cast<int>(pixels / spacing));
  const double step = RoundStep(to - from, count);
  // Counted, not stepped by adding: at coordinates far beyond the span a
  // step may be lost in rounding.
  std::vector<double> ticks;
  const double first = std::ceil(from / step);
  for (int i = 0; i <= count + 1; ++i) {
    const double t = (first + i) * step;
    if (t > to + step * 1e-9) break;
    if (ticks.empty() || t > ticks.back()) ticks.push_back(t);
  }
  return ticks;
}

}  // namespace

SvgBands Bands(bool annotated, double margin) {
  if (!annotated) return {margin, margin, 0};
  return {margin + kTickBand, margin + kTitleBand, kBottomBand};
}

SvgCanvas Canvas(const SvgPlacement& frame, const SvgBands& bands, double margin,
                 const std::vector<LegendLine>& legend, bool note) {
  SvgCanvas canvas;
  const double right = frame.Left() + frame.Width();
  canvas.legendLeft = right + kLegendGap;
  double legendWidth = 0, legendHeight = 0;
  if (!legend.empty()) {
    for (const LegendLine& line : legend) legendWidth = std::max(legendWidth, TextWidth(line.text));
    legendHeight = static_cast<double>(legend.size() + 1) * kLegendRow;
  }
  canvas.width = (legend.empty() ? right : canvas.legendLeft + legendWidth) + margin;
  const double bottom = frame.Top() + std::max(frame.Height(), legendHeight) + bands.bottom;
  canvas.noteBaseline = bottom + kNoteBand - 6;
  canvas.height = bottom + (note ? kNoteBand : 0) + margin;
  return canvas;
}

std::vector<LegendLine> LegendLines(const std::vector<SvgPick>& picks, const std::string& units) {
  std::vector<LegendLine> lines;
  const std::string symbol = UnitSymbol(units);
  for (std::size_t i = 0; i < picks.size(); ++i) {
    const SvgPick& pick = picks[i];
    std::string text = std::to_string(i + 1) + "  (" + SvgNumber(pick.x) + ", " + SvgNumber(pick.y) + ")  ";
    if (pick.ok) {
      text += "area " + SvgNumber(HatchedArea(pick)) + " " + symbol + "²";
    } else {
      text += "no area: " + (pick.reason.empty() ? pick.message : pick.reason);
    }
    lines.push_back({text, pick.ok});
  }
  return lines;
}

void WriteClip(std::ostream& out, const SvgPlacement& frame, double pad) {
  out << "<defs><clipPath id=\"frame\"><rect x=\"" << SvgNumber(frame.Left() - pad) << "\" y=\""
      << SvgNumber(frame.Top() - pad) << "\" width=\"" << SvgNumber(frame.Width() + 2 * pad)
      << "\" height=\"" << SvgNumber(frame.Height() + 2 * pad) << "\"/></clipPath></defs>\n";
}

void WriteTitle(std::ostream& out, const SvgAnnotations& notes, const SvgPlacement& frame) {
  out << "<text id=\"title\" x=\"" << SvgNumber(frame.Left()) << "\" y=\""
      << SvgNumber(frame.Top() - kTitleBand + 20) << "\" font-family=\"sans-serif\" font-size=\"16\" "
      << "font-weight=\"bold\">" << XmlEscaped(notes.title) << "<tspan id=\"date\" fill=\"#666\" "
      << "font-weight=\"normal\" font-size=\"13\">  " << XmlEscaped(notes.date) << "</tspan></text>\n";
}

void WriteTexts(std::ostream& out, const std::vector<PlacedText>& texts, const SvgPlacement& frame) {
  out << "<g id=\"texts\" fill=\"#888\" fill-opacity=\"0.6\" font-family=\"sans-serif\" "
         "clip-path=\"url(#frame)\">\n";
  const mem::Box& box = frame.Shown();
  for (const PlacedText& t : texts) {
    if (t.x < box.minX || t.x > box.maxX || t.y < box.minY || t.y > box.maxY) continue;
    out << "<text x=\"" << SvgNumber(frame.X(t.x)) << "\" y=\"" << SvgNumber(frame.Y(t.y))
        << "\" font-size=\"" << SvgNumber(std::max(4.0, frame.Length(t.height))) << "\">"
        << XmlEscaped(t.text) << "</text>\n";
  }
  out << "</g>\n";
}

void WritePickNumbers(std::ostream& out, const std::vector<SvgPick>& picks, const SvgPlacement& frame) {
  constexpr double kLabelHeight = 16, kDigitWidth = 8;
  std::vector<mem::Vec2> anchors, sizes;
  for (std::size_t i = 0; i < picks.size(); ++i) {
    anchors.push_back({frame.X(picks[i].x), frame.Y(picks[i].y)});
    sizes.push_back({static_cast<double>(std::to_string(i + 1).size()) * kDigitWidth + 6, kLabelHeight});
  }
  const std::vector<LabelBox> labels = PlaceLabels(anchors, sizes, 2 * kSvgMarkRadius);
  out << "<g id=\"pick-numbers\" font-family=\"sans-serif\" font-size=\"12\" font-weight=\"bold\">\n";
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const LabelBox& l = labels[i];
    const char* colour = picks[i].ok ? "#111" : kSvgFailColour;
    const double cx = l.x + l.w / 2, cy = l.y + l.h / 2;
    out << "<g class=\"pick-number\">";
    // A label pushed away from its mark is tied to it by a thin line.
    if (std::hypot(cx - anchors[i].x, cy - anchors[i].y) > 3 * kLabelHeight) {
      out << "<line x1=\"" << SvgNumber(anchors[i].x) << "\" y1=\"" << SvgNumber(anchors[i].y)
          << "\" x2=\"" << SvgNumber(cx) << "\" y2=\"" << SvgNumber(cy) << "\" stroke=\"" << colour
          << "\" stroke-width=\"0.6\"/>";
    }
    out << "<rect x=\"" << SvgNumber(l.x) << "\" y=\"" << SvgNumber(l.y) << "\" width=\""
        << SvgNumber(l.w) << "\" height=\"" << SvgNumber(l.h) << "\" rx=\"3\" fill=\"white\" stroke=\""
        << colour << "\"/><text x=\"" << SvgNumber(cx) << "\" y=\"" << SvgNumber(l.y + l.h - 4)
        << "\" text-anchor=\"middle\" fill=\"" << colour << "\">" << i + 1 << "</text></g>\n";
  }
  out << "</g>\n";
}

void WriteTicks(std::ostream& out, const SvgPlacement& frame) {
  const mem::Box& box = frame.Shown();
  const double bottom = frame.Top() + frame.Height(), left = frame.Left();
  out << "<g id=\"ticks\" stroke=\"#666\" font-family=\"sans-serif\" font-size=\"11\" fill=\"#444\">\n";
  out << "<rect x=\"" << SvgNumber(left) << "\" y=\"" << SvgNumber(frame.Top()) << "\" width=\""
      << SvgNumber(frame.Width()) << "\" height=\"" << SvgNumber(frame.Height())
      << "\" fill=\"none\" stroke-width=\"0.5\"/>\n";
  for (const double x : Ticks(box.minX, box.maxX, frame.Width(), kXTickSpacing)) {
    const double px = frame.X(x);
    out << "<line x1=\"" << SvgNumber(px) << "\" y1=\"" << SvgNumber(bottom) << "\" x2=\""
        << SvgNumber(px) << "\" y2=\"" << SvgNumber(bottom + kTickLength) << "\"/><text class=\"tick-x\" x=\""
        << SvgNumber(px) << "\" y=\"" << SvgNumber(bottom + kTickLength + 12)
        << "\" stroke=\"none\" text-anchor=\"middle\">" << SvgNumber(x) << "</text>\n";
  }
  for (const double y : Ticks(box.minY, box.maxY, frame.Height(), kYTickSpacing)) {
    const double py = frame.Y(y);
    out << "<line x1=\"" << SvgNumber(left - kTickLength) << "\" y1=\"" << SvgNumber(py) << "\" x2=\""
        << SvgNumber(left) << "\" y2=\"" << SvgNumber(py) << "\"/><text class=\"tick-y\" x=\""
        << SvgNumber(left - kTickLength - 3) << "\" y=\"" << SvgNumber(py + 4)
        << "\" stroke=\"none\" text-anchor=\"end\">" << SvgNumber(y) << "</text>\n";
  }
  out << "</g>\n";
}

void WriteScaleBar(std::ostream& out, const SvgPlacement& frame, const std::string& units) {
  const mem::Box& box = frame.Shown();
  const double length = RoundBelow((box.maxX - box.minX) / 4);
  if (!(length > 0)) return;
  const double x = frame.Left(), y = frame.Top() + frame.Height() + 36;
  const double half = frame.Length(length) / 2;
  out << "<g id=\"scale-bar\" font-family=\"sans-serif\" font-size=\"12\">"
      << "<rect x=\"" << SvgNumber(x) << "\" y=\"" << SvgNumber(y) << "\" width=\"" << SvgNumber(half)
      << "\" height=\"6\" fill=\"#222\" stroke=\"#222\"/><rect x=\"" << SvgNumber(x + half) << "\" y=\""
      << SvgNumber(y) << "\" width=\"" << SvgNumber(half)
      << "\" height=\"6\" fill=\"white\" stroke=\"#222\"/><text x=\"" << SvgNumber(x + 2 * half + 8)
      << "\" y=\"" << SvgNumber(y + 7) << "\">" << SvgNumber(length) << " " << XmlEscaped(UnitSymbol(units))
      << "</text></g>\n";
}

void WriteLegend(std::ostream& out, const std::vector<LegendLine>& legend, double left, double top) {
  if (legend.empty()) return;
  out << "<g id=\"legend\" font-family=\"sans-serif\" font-size=\"" << SvgNumber(kSvgFontSize) << "\">"
      << "<text x=\"" << SvgNumber(left) << "\" y=\"" << SvgNumber(top + 12)
      << "\" font-weight=\"bold\">Picks</text>\n";
  for (std::size_t i = 0; i < legend.size(); ++i) {
    out << "<text class=\"legend-entry\" x=\"" << SvgNumber(left) << "\" y=\""
        << SvgNumber(top + 12 + static_cast<double>(i + 1) * kLegendRow) << "\""
        << (legend[i].ok ? "" : std::string(" fill=\"") + kSvgFailColour + "\"") << ">"
        << XmlEscaped(legend[i].text) << "</text>\n";
  }
  out << "</g>\n";
}

void WriteNote(std::ostream& out, const std::string& text, double left, double baseline) {
  out << "<text id=\"note\" x=\"" << SvgNumber(left) << "\" y=\"" << SvgNumber(baseline)
      << "\" font-family=\"sans-serif\" font-size=\"12\" font-style=\"italic\" fill=\"#666\">"
      << XmlEscaped(text) << "</text>\n";
}

}  // namespace pphatch::formats
