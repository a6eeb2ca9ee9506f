#include "formats/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

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
constexpr const char* kFailColour = "#d01010";
constexpr const char* kBridgeColour = "#e07000";
// Pixel sizes of the marks and the hatch.
constexpr double kHatchSpacing = 7;
constexpr double kMarkRadius = 4;
constexpr double kFontSize = 13;

// Pixel placement of drawing coordinates: the drawing's box is scaled to fit
// the picture with the margin around it, y turned to point down.
class Frame {
 public:
  Frame(const std::optional<Box>& box, const SvgOptions& options) : margin_(options.margin) {
    const Box b = box.value_or(Box{0, 0, 0, 0});
    minX_ = b.minX;
    maxY_ = b.maxY;
    const double dx = b.maxX - b.minX, dy = b.maxY - b.minY;
    const double room = std::max(1.0, options.size - 2 * margin_);
    const double extent = std::max(dx, dy);
    scale_ = extent > 0 ? room / extent : 1;
    width_ = 2 * margin_ + dx * scale_;
    height_ = 2 * margin_ + dy * scale_;
  }

  double X(double x) const { return margin_ + (x - minX_) * scale_; }
  double Y(double y) const { return margin_ + (maxY_ - y) * scale_; }
  double Length(double d) const { return d * scale_; }
  double Width() const { return width_; }
  double Height() const { return height_; }

 private:
  double margin_;
  double minX_ = 0, maxY_ = 0;
  double scale_ = 1;
  double width_ = 0, height_ = 0;
};

// A number as short SVG text: two decimals, trailing zeros dropped.
std::string Num(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  std::string s = text;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

// Text made safe for XML character data and attribute values.
std::string Escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

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

// The box of the drawing, the pick points and the found contours.
std::optional<Box> PictureBox(const std::vector<Outline>& outlines,
                              const std::vector<SvgPick>& picks) {
  std::optional<Box> box;
  for (const Outline& outline : outlines) box = mem::Union(box, outline.Bounds());
  for (const SvgPick& pick : picks) {
    Grow(box, pick.x, pick.y);
    for (const Contour& ring : pick.contours) {
      for (const auto& p : ring) Grow(box, p[0], p[1]);
    }
  }
  return box;
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
  for (const Contour& ring : pick.contours) {
    if (ring.empty()) continue;
    path.MoveTo({ring[0][0], ring[0][1]});
    for (std::size_t k = 1; k < ring.size(); ++k) path.LineTo({ring[k][0], ring[k][1]});
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

// The mark of a pick point; a failed pick in red with its message.
void WritePickMark(std::ostream& out, const SvgPick& pick, const Frame& frame) {
  const double x = frame.X(pick.x), y = frame.Y(pick.y);
  const char* colour = pick.ok ? "#111" : kFailColour;
  out << "<g stroke=\"" << colour << "\" stroke-width=\"1.5\"><circle cx=\"" << Num(x) << "\" cy=\""
      << Num(y) << "\" r=\"" << Num(kMarkRadius) << "\" fill=\"white\"/>";
  out << "<path d=\"M" << Num(x - 2 * kMarkRadius) << ' ' << Num(y) << " H" << Num(x + 2 * kMarkRadius)
      << " M" << Num(x) << ' ' << Num(y - 2 * kMarkRadius) << " V" << Num(y + 2 * kMarkRadius)
      << "\"/></g>\n";
  if (pick.ok || pick.message.empty()) return;
  // The message runs to the right of the mark, or to its left in the right half.
  const bool leftward = x > frame.Width() / 2;
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
  for (const auto& graphic : drawing.List()->Items()) outlines.push_back(mem::BuildOutline(*graphic));
  const Frame frame(PictureBox(outlines, picks), options);

  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Num(frame.Width()) << "\" height=\""
      << Num(frame.Height()) << "\" viewBox=\"0 0 " << Num(frame.Width()) << ' '
      << Num(frame.Height()) << "\">\n";
  WriteDefs(out);
  out << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";

  out << "<g id=\"areas\">\n";
  std::size_t colour = 0;
  for (const SvgPick& pick : picks) {
    if (!pick.ok) continue;
    WriteArea(out, pick, colour, frame);
    colour = (colour + 1) % kAreaColours.size();
  }
  out << "</g>\n";

  out << "<g id=\"drawing\" fill=\"none\" stroke=\"#222\" stroke-width=\"1\" "
         "stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
  for (const Outline& outline : outlines) WriteGraphic(out, outline, frame);
  out << "</g>\n";

  out << "<g id=\"picks\">\n";
  for (const SvgPick& pick : picks) {
    WriteGapMarks(out, pick, frame);
    WritePickMark(out, pick, frame);
  }
  out << "</g>\n</svg>\n";
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
