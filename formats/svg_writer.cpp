#include "formats/svg_writer.h"

#include <algorithm>
#include <numbers>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

#include "formats/svg_annotations.h"
#include "formats/svg_layout.h"
#include "memhost/arc_shape.h"
#include "memhost/graphic.h"
#include "memhost/outline.h"

namespace pphatch::formats {

namespace {

using mem::Box;
using mem::Outline;
using mem::Vec2;

// Colours of the found areas, used in turn; each has a hatch pattern of its own.
constexpr std::array<const char*, 5> kAreaColours = {"#1f5fa8", "#2e8b57", "#b8760b", "#8b3a8b",
                                                     "#c05020"};
constexpr const char* kFailColour = kSvgFailColour;
constexpr const char* kBridgeColour = "#e07000";
// Pixel sizes of the marks and the hatch.
constexpr double kHatchSpacing = 7;
constexpr double kMarkRadius = kSvgMarkRadius;
constexpr double kFontSize = kSvgFontSize;

// Pixel placement of drawing coordinates.
using Frame = SvgPlacement;

// Short names for the picture's number and text forms.
std::string Num(double v) { return SvgNumber(v); }
std::string Escape(const std::string& text) { return XmlEscaped(text); }

// Builds path data, joining pieces that continue where the last one ended.
class PathData {
 public:
  explicit PathData(const Frame& frame) : frame_(frame) {}

  // Starts a new piece at p unless the pen is already there.
  void MoveTo(Vec2 p) {
    if (pen_ && *pen_ == p) return;
    data_ << (data_.tellp() > 0 ? " M" : "M") << Point(p);
    pen_ = p;
  }
  void LineTo(Vec2 p) {
    data_ << " L" << Point(p);
    pen_ = p;
  }
  // A circular arc of the drawing, counter-clockwise over less than a full turn.
  void Arc(const mem::ArcPiece& arc) {
    const Vec2 from = OnArc(arc, arc.start), to = OnArc(arc, arc.start + arc.sweep);
    MoveTo(from);
    const std::string r = Num(frame_.Length(arc.radius));
    // With y turned down, counter-clockwise in the drawing is the negative
    // sweep direction of SVG (sweep flag 0).
    data_ << " A" << r << ' ' << r << " 0 " << (arc.sweep > mem::kFullTurn / 2 ? 1 : 0) << " 0 "
          << Point(to);
    pen_ = to;
  }
  // A piece of a found contour: a line, or an arc of a circle or ellipse,
  // split in halves when it turns by more than half a turn so that the
  // flags of each SVG arc are plain.
  void Piece(const ContourPiece& piece) {
    if (!piece.arc) {
      LineTo(piece.to);
      return;
    }
    const double span = piece.t1 - piece.t0;
    const int parts = std::fabs(span) > mem::kFullTurn / 2 ? 2 : 1;
    const std::string rx = Num(frame_.Length(Length(piece.u)));
    const std::string ry = Num(frame_.Length(Length(piece.v)));
    // With y turned down, angles turn the other way: the axis angle is
    // negated and a counter-clockwise arc has sweep flag 0.
    const double axis = -std::atan2(piece.u.y, piece.u.x) * 180 / std::numbers::pi;
    for (int k = 1; k <= parts; ++k) {
      const Vec2 to = k == parts ? piece.to : piece.At(piece.t0 + span * k / parts);
      data_ << " A" << rx << ' ' << ry << ' ' << Num(axis) << " 0 " << (span > 0 ? 0 : 1) << ' '
            << Point(to);
      pen_ = to;
    }
  }
  void Close() {
    data_ << " Z";
    pen_.reset();
  }
  std::string Text() const { return data_.str(); }

 private:
  static Vec2 OnArc(const mem::ArcPiece& arc, double angle) {
    return arc.centre + arc.radius * Vec2{std::cos(angle), std::sin(angle)};
  }
  std::string Point(Vec2 p) const { return Num(frame_.X(p.x)) + ' ' + Num(frame_.Y(p.y)); }

  const Frame& frame_;
  std::ostringstream data_;
  std::optional<Vec2> pen_;
};

// Grows a box by one point.
void Grow(std::optional<Box>& box, double x, double y) {
  box = mem::Union(box, Box{x, y, x, y});
}

// The boxes of the pick points and of their found areas.
std::vector<Box> PickBoxes(const std::vector<SvgPick>& picks) {
  std::vector<Box> boxes;
  for (const SvgPick& pick : picks) {
    std::optional<Box> box;
    Grow(box, pick.x, pick.y);
    boxes.push_back(*box);
    for (const Contour& ring : pick.contours) {
      for (const auto& p : ring) Grow(box, p[0], p[1]);
    }
    boxes.push_back(*box);
  }
  return boxes;
}

// The patterns and the styles of the picture.
void WriteDefs(std::ostream& out) {
  out << "<defs>\n";
  for (std::size_t i = 0; i < kAreaColours.size(); ++i) {
    out << "<pattern id=\"hatch" << i << "\" patternUnits=\"userSpaceOnUse\" width=\""
        << Num(kHatchSpacing) << "\" height=\"" << Num(kHatchSpacing)
        << "\" patternTransform=\"rotate(45)\"><line x1=\"0\" y1=\"0\" x2=\"0\" y2=\""
        << Num(kHatchSpacing) << "\" stroke=\"" << kAreaColours[i]
        << "\" stroke-width=\"1.2\"/></pattern>\n";
  }
  out << "</defs>\n";
}

// One found area: a tinted fill and the hatch, islands open by the even-odd rule.
void WriteArea(std::ostream& out, const SvgPick& pick, std::size_t colour, const Frame& frame) {
  PathData path(frame);
  // The true contours when given, else the contours' points.
  const std::vector<TrueContour> straight = [&] {
    std::vector<TrueContour> rings;
    if (pick.curves.empty()) {
      for (const Contour& c : pick.contours) rings.push_back(StraightContour(c));
    }
    return rings;
  }();
  for (const TrueContour& contour : pick.curves.empty() ? straight : pick.curves) {
    if (contour.empty()) continue;
    path.MoveTo(contour.front().from);
    for (const ContourPiece& piece : contour) path.Piece(piece);
    path.Close();
  }
  const std::string d = path.Text();
  if (d.empty()) return;
  out << "<path d=\"" << d << "\" fill=\"" << kAreaColours[colour]
      << "\" fill-opacity=\"0.15\" fill-rule=\"evenodd\" stroke=\"none\"/>\n";
  out << "<path d=\"" << d << "\" fill=\"url(#hatch" << colour << ")\" fill-rule=\"evenodd\" stroke=\""
      << kAreaColours[colour] << "\" stroke-width=\"2\"/>\n";
}

// The lines, arcs, circles and points of one top-level graphic.
void WriteGraphic(std::ostream& out, const Outline& outline, const Frame& frame) {
  PathData path(frame);
  for (const auto& s : outline.segments) {
    path.MoveTo(s.a);
    path.LineTo(s.b);
  }
  for (const auto& arc : outline.arcs) {
    if (arc.sweep >= mem::kFullTurn) {
      out << "<circle cx=\"" << Num(frame.X(arc.centre.x)) << "\" cy=\"" << Num(frame.Y(arc.centre.y))
          << "\" r=\"" << Num(frame.Length(arc.radius)) << "\"/>\n";
    } else {
      path.Arc(arc);
    }
  }
  const std::string d = path.Text();
  if (!d.empty()) out << "<path d=\"" << d << "\"/>\n";
  for (const Vec2 p : outline.points) {
    out << "<circle cx=\"" << Num(frame.X(p.x)) << "\" cy=\"" << Num(frame.Y(p.y))
        << "\" r=\"1.5\" fill=\"#222\"/>\n";
  }
}

// The mark of a pick point; a failed pick in red, with its message when `withMessage`.
void WritePickMark(std::ostream& out, const SvgPick& pick, const Frame& frame, bool withMessage) {
  const double x = frame.X(pick.x), y = frame.Y(pick.y);
  const char* colour = pick.ok ? "#111" : kFailColour;
  out << "<g stroke=\"" << colour << "\" stroke-width=\"1.5\"><circle cx=\"" << Num(x) << "\" cy=\""
      << Num(y) << "\" r=\"" << Num(kMarkRadius) << "\" fill=\"white\"/>";
  out << "<path d=\"M" << Num(x - 2 * kMarkRadius) << ' ' << Num(y) << " H" << Num(x + 2 * kMarkRadius)
      << " M" << Num(x) << ' ' << Num(y - 2 * kMarkRadius) << " V" << Num(y + 2 * kMarkRadius)
      << "\"/></g>\n";
  if (pick.ok && !pick.label.empty()) {
    // Below the mark, or above it in the lower half, so that it stays off
    // the boundary that a label usually sits near.
    const double below =
        y > frame.Top() + frame.Height() / 2 ? -2 * kMarkRadius - 2 : 2 * kMarkRadius + kFontSize;
    out << "<text x=\"" << Num(x + 3 * kMarkRadius) << "\" y=\"" << Num(y + below)
        << "\" fill=\"#111\" font-family=\"sans-serif\" font-size=\"" << Num(kFontSize)
        << "\">" << Escape(pick.label) << "</text>\n";
  }
  if (pick.ok || pick.message.empty() || !withMessage) return;
  // The message runs to the right of the mark, or to its left in the right half.
  const bool leftward = x > frame.Left() + frame.Width() / 2;
  out << "<text x=\"" << Num(leftward ? x - 3 * kMarkRadius : x + 3 * kMarkRadius) << "\" y=\""
      << Num(y - 2 * kMarkRadius) << "\" fill=\"" << kFailColour << "\" font-family=\"sans-serif\" "
      << "font-size=\"" << Num(kFontSize) << "\" text-anchor=\"" << (leftward ? "end" : "start")
      << "\">" << Escape(pick.message) << "</text>\n";
}

// The gaps of a pick: each gap of a failed pick circled in red with its
// size, each bridge of a found area drawn with its size; a failed pick's
// free ends ringed in red.
void WriteGapMarks(std::ostream& out, const SvgPick& pick, const Frame& frame) {
  const char* colour = pick.ok ? kBridgeColour : kFailColour;
  for (const SvgGap& gap : pick.gaps) {
    const double x = frame.X((gap.from[0] + gap.to[0]) / 2), y = frame.Y((gap.from[1] + gap.to[1]) / 2);
    const double r = std::max(2 * kMarkRadius, frame.Length(gap.size) / 2 + kMarkRadius);
    out << "<g stroke=\"" << colour << "\" fill=\"none\" stroke-width=\"1.5\">";
    if (pick.ok) {
      out << "<path d=\"M" << Num(frame.X(gap.from[0])) << ' ' << Num(frame.Y(gap.from[1])) << " L"
          << Num(frame.X(gap.to[0])) << ' ' << Num(frame.Y(gap.to[1])) << "\" stroke-width=\"3\"/>";
    }
    out << "<circle cx=\"" << Num(x) << "\" cy=\"" << Num(y) << "\" r=\"" << Num(r) << "\"/></g>\n";
    char size[32];
    std::snprintf(size, sizeof size, "%.6g", gap.size);
    out << "<text x=\"" << Num(x + r + 2) << "\" y=\"" << Num(y - r) << "\" fill=\"" << colour
        << "\" font-family=\"sans-serif\" font-size=\"" << Num(kFontSize) << "\">" << size << "</text>\n";
  }
  for (const Point2& end : pick.freeEnds) {
    out << "<circle cx=\"" << Num(frame.X(end[0])) << "\" cy=\"" << Num(frame.Y(end[1])) << "\" r=\""
        << Num(2 * kMarkRadius) << "\" stroke=\"" << kFailColour << "\" stroke-width=\"1.5\" fill=\"none\"/>\n";
  }
}

}  // namespace

void WriteSvg(std::ostream& out, const mem::MemDrawing& drawing, const std::vector<SvgPick>& picks,
              const SvgOptions& options) {
  std::vector<Outline> outlines;
  std::vector<Box> boxes;
  for (const auto& graphic : drawing.List()->Items()) {
    outlines.push_back(mem::BuildOutline(*graphic));
    boxes.push_back(outlines.back().Bounds().value_or(Box{0, 0, 0, 0}));
  }
  const std::optional<Box> shown = FramePicture(boxes, PickBoxes(picks), options.frame);
  const SvgAnnotations* notes = options.annotations ? &*options.annotations : nullptr;
  const SvgBands bands = Bands(notes != nullptr, options.margin);
  const Frame frame(shown, options.size - 2 * options.margin, bands.left, bands.top);
  // Graphics beside the frame are left out (and counted); those across its edge are clipped.
  std::vector<bool> drawn;
  int leftOut = 0;
  for (const Box& b : boxes) {
    drawn.push_back(shown && Meets(b, *shown));
    leftOut += drawn.back() ? 0 : 1;
  }
  const std::vector<LegendLine> legend = notes ? LegendLines(picks, notes->units) : std::vector<LegendLine>{};
  const SvgCanvas canvas = Canvas(frame, bands, options.margin, legend, leftOut > 0);

  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Num(canvas.width) << "\" height=\""
      << Num(canvas.height) << "\" viewBox=\"0 0 " << Num(canvas.width) << ' '
      << Num(canvas.height) << "\">\n";
  WriteDefs(out);
  WriteClip(out, frame, options.margin / 2);
  out << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  if (notes) WriteTitle(out, *notes, frame);

  out << "<g id=\"areas\" clip-path=\"url(#frame)\">\n";
  std::size_t colour = 0;
  for (const SvgPick& pick : picks) {
    if (!pick.ok) continue;
    WriteArea(out, pick, colour, frame);
    colour = (colour + 1) % kAreaColours.size();
  }
  out << "</g>\n";

  WriteTexts(out, options.texts, frame);
  out << "<g id=\"drawing\" fill=\"none\" stroke=\"#222\" stroke-width=\"1\" "
         "stroke-linecap=\"round\" stroke-linejoin=\"round\" clip-path=\"url(#frame)\">\n";
  for (std::size_t i = 0; i < outlines.size(); ++i) {
    if (drawn[i]) WriteGraphic(out, outlines[i], frame);
  }
  out << "</g>\n";

  out << "<g id=\"picks\">\n";
  for (const SvgPick& pick : picks) {
    WriteGapMarks(out, pick, frame);
    WritePickMark(out, pick, frame, notes == nullptr);
  }
  out << "</g>\n";
  if (notes) {
    WritePickNumbers(out, picks, frame);
    WriteTicks(out, frame);
    WriteScaleBar(out, frame, notes->units);
    WriteLegend(out, legend, canvas.legendLeft, frame.Top());
  }
  if (leftOut > 0) {
    WriteNote(out, std::to_string(leftOut) + (leftOut == 1 ? " graphic" : " graphics") +
                       (options.frame ? " outside the frame" : " far outside") + ", not shown",
              frame.Left(), canvas.noteBaseline);
  }
  out << "</svg>\n";
}

void WriteSvgFile(const std::string& path, const mem::MemDrawing& drawing,
                  const std::vector<SvgPick>& picks, const SvgOptions& options) {
  std::ofstream file(path, std::ios::binary);
  if (!file) throw WriteError(path + ": cannot open for writing");
  WriteSvg(file, drawing, picks, options);
  file.flush();
  if (!file) throw WriteError(path + ": cannot write");
}

}  // namespace pphatch::formats
