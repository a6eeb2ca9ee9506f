#include "formats/svg_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <unordered_map>

namespace pphatch::formats {

namespace {

using mem::Box;
using mem::Vec2;

// Share of the graphics at each end left out when finding where most of them are.
constexpr double kTailShare = 0.1;

// The value at share q of the sorted values.
double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(std::lround(q * static_cast<double>(values.size() - 1)));
  return values[at];
}

// True when the label boxes overlap.
bool Overlap(const LabelBox& a, const LabelBox& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Label boxes in square cells, so that a crowd of labels is checked cell by cell.
class LabelGrid {
 public:
  void Add(const LabelBox& box) {
    const std::size_t index = boxes_.size();
    boxes_.push_back(box);
    ForCells(box, [&](long long key) {
      cells_[key].push_back(index);
      return false;
    });
  }
  // True when the box overlaps one added before.
  bool Hits(const LabelBox& box) const {
    return ForCells(box, [&](long long key) {
      const auto cell = cells_.find(key);
      if (cell == cells_.end()) return false;
      return std::any_of(cell->second.begin(), cell->second.end(),
                         [&](std::size_t i) { return Overlap(boxes_[i], box); });
    });
  }

 private:
  static constexpr double kCell = 32;  // pixels
  // Calls visit(key) for each cell the box covers until it returns true.
  template <typename Visit>
  static bool ForCells(const LabelBox& box, Visit visit) {
    // Far-off marks (picks outside the frame) stay within the range of the keys.
    const auto cell = [](double v) {
      return static_cast<long long>(std::floor(std::clamp(v / kCell, -1e9, 1e9)));
    };
    for (long long cx = cell(box.x); cx <= cell(box.x + box.w); ++cx) {
      for (long long cy = cell(box.y); cy <= cell(box.y + box.h); ++cy) {
        if (visit(cx * 4'000'003LL + cy)) return true;
      }
    }
    return false;
  }

  std::vector<LabelBox> boxes_;
  std::unordered_map<long long, std::vector<std::size_t>> cells_;
};

}  // namespace

SvgPlacement::SvgPlacement(const std::optional<mem::Box>& box, double room, double left, double top)
    : left_(left), top_(top) {
  if (box) box_ = *box;
  const double dx = box_.maxX - box_.minX, dy = box_.maxY - box_.minY;
  const double extent = std::max(dx, dy);
  scale_ = extent > 0 ? std::max(1.0, room) / extent : 1;
  width_ = dx * scale_;
  height_ = dy * scale_;
}

bool Meets(const Box& a, const Box& b) {
  return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

std::optional<Box> FramePicture(const std::vector<Box>& graphics, const std::vector<Box>& include,
                                const std::optional<Box>& requested) {
  if (requested) return requested;
  std::optional<Box> frame, near;
  if (!graphics.empty()) {
    std::vector<double> xs, ys;
    for (const Box& g : graphics) {
      xs.push_back((g.minX + g.maxX) / 2);
      ys.push_back((g.minY + g.maxY) / 2);
    }
    Box core{Quantile(xs, kTailShare), Quantile(ys, kTailShare), Quantile(xs, 1 - kTailShare),
             Quantile(ys, 1 - kTailShare)};
    // "Far" is measured in the size of the core; a core of one point has no
    // size, and then nothing is far.
    const double reach = std::max(core.maxX - core.minX, core.maxY - core.minY);
    if (reach > 0) near = Box{core.minX - reach, core.minY - reach, core.maxX + reach, core.maxY + reach};
    for (const Box& g : graphics) {
      if (!near || Meets(g, *near)) frame = mem::Union(frame, g);
    }
  }
  for (const Box& b : include) {
    if (!near || Meets(b, *near)) frame = mem::Union(frame, b);
  }
  return frame;
}

double RoundStep(double span, int count) {
  if (!(span > 0) || count < 1) return 1;
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10 * power;
}

std::vector<LabelBox> PlaceLabels(const std::vector<Vec2>& anchors, const std::vector<Vec2>& sizes,
                                  double markRadius) {
  LabelGrid taken;
  for (const Vec2 a : anchors) {
    taken.Add({a.x - markRadius, a.y - markRadius, 2 * markRadius, 2 * markRadius});
  }
  // Directions tried in turn: right above, right, right below, below, left
  // below, left, left above, above.
  constexpr std::array<std::array<double, 2>, 8> kDirections = {
      {{1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}}};
  constexpr int kRings = 6;
  std::vector<LabelBox> labels;
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    const Vec2 a = anchors[i], size = sizes[i];
    LabelBox chosen{};
    bool found = false;
    for (int ring = 1; ring <= kRings && !found; ++ring) {
      const double gap = markRadius + 2 + (ring - 1) * size.y;
      for (const auto& d : kDirections) {
        // The label's corner nearest the anchor sits `gap` away from it.
        chosen = {a.x + d[0] * gap - (d[0] < 0 ? size.x : d[0] == 0 ? size.x / 2 : 0),
                  a.y + d[1] * gap - (d[1] < 0 ? size.y : d[1] == 0 ? size.y / 2 : 0), size.x, size.y};
        found = !taken.Hits(chosen);
        if (found) break;
      }
    }
    taken.Add(chosen);
    labels.push_back(chosen);
  }
  return labels;
}

}  // namespace pphatch::formats

namespace pphatch::formats {

std::string SvgNumber(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  std::string s = text;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string XmlEscaped(const std::string& text) {
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

}  // namespace pphatch::formats
