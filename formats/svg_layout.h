// Where things go in an SVG picture: the part of the drawing it frames,
// the pixel placement of drawing coordinates, round tick steps, and labels
// that do not overlap.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "memhost/outline.h"
#include "memhost/vec.h"

namespace pphatch::formats {

/// Pixel placement of drawing coordinates: the frame's box scaled into a
/// region whose top-left corner is at (left, top), y turned to point down.
class SvgPlacement {
 public:
  /// `box` fitted into `room` x `room` pixels at (left, top).
  SvgPlacement(const std::optional<mem::Box>& box, double room, double left, double top);

  double X(double x) const { return left_ + (x - box_.minX) * scale_; }
  double Y(double y) const { return top_ + (box_.maxY - y) * scale_; }
  double Length(double d) const { return d * scale_; }
  /// The drawing region's pixel size and corner.
  double Width() const { return width_; }
  double Height() const { return height_; }
  double Left() const { return left_; }
  double Top() const { return top_; }
  /// The framed part of the drawing.
  const mem::Box& Shown() const { return box_; }

 private:
  mem::Box box_{0, 0, 0, 0};
  double left_, top_;
  double scale_ = 1;
  double width_ = 0, height_ = 0;
};

/// The part of the drawing a picture shows: `requested` when given; else
/// the box of the graphics, less those lying far from where most of them
/// are (farther than the size of the middle four fifths of them), grown by
/// `include` (pick points and found areas) where those lie near that part.
/// Nothing for an empty picture.
std::optional<mem::Box> FramePicture(const std::vector<mem::Box>& graphics,
                                     const std::vector<mem::Box>& include,
                                     const std::optional<mem::Box>& requested);

/// True when the boxes overlap or touch.
bool Meets(const mem::Box& a, const mem::Box& b);

/// The round step (1, 2 or 5 times a power of ten) that cuts `span` into
/// at most `count` pieces.
double RoundStep(double span, int count);

/// A label's box in pixels: top-left corner and size.
struct LabelBox {
  double x = 0, y = 0, w = 0, h = 0;
};

/// Places one label of the given size beside each anchor (pixels), in
/// order, so that no label covers another label or any anchor's mark
/// (a square of `markRadius` around it); labels move farther out when the
/// near places are taken.
std::vector<LabelBox> PlaceLabels(const std::vector<mem::Vec2>& anchors,
                                  const std::vector<mem::Vec2>& sizes, double markRadius);

}  // namespace pphatch::formats

namespace pphatch::formats {

/// A number as short SVG text: two decimals, trailing zeros dropped.
std::string SvgNumber(double v);

/// Text made safe for XML character data and attribute values.
std::string XmlEscaped(const std::string& text);

}  // namespace pphatch::formats
