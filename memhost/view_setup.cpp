#include "memhost/view_setup.h"

#include <algorithm>
#include <cmath>

#include "memhost/drawing.h"

namespace pphatch::mem {

namespace {

// Doublings or halvings of the search square at most; 2^40 spans any
// drawing that doubles can hold sensibly.
constexpr int kMaxResizes = 40;

// The square of half-size `half` around p.
Box Square(Vec2 p, double half) { return {p.x - half, p.y - half, p.x + half, p.y + half}; }

}  // namespace

void ShowAroundClick(MemView& view, Vec2 click, std::size_t graphics) {
  view.FitToDrawing();
  PickIndex& index = view.DrawingModel()->Index();
  const std::optional<Box> bounds = index.Bounds();
  const std::size_t count = index.Size();
  if (!bounds || count <= graphics || graphics == 0) return;

  // Half the side of a square that covers the whole drawing from the click.
  const double reach =
      std::max({std::fabs(click.x - bounds->minX), std::fabs(bounds->maxX - click.x),
                std::fabs(click.y - bounds->minY), std::fabs(bounds->maxY - click.y)});
  // Start from the square that would hold `graphics` graphics at the
  // drawing's mean density, then let the neighbourhood decide: grow it until
  // it holds that many, or shrink it while its half still does.
  const double width = bounds->maxX - bounds->minX, height = bounds->maxY - bounds->minY;
  const double share = static_cast<double>(graphics) / static_cast<double>(count);
  double half = width > 0 && height > 0 ? 0.5 * std::sqrt(width * height * share)
                                        : 0.5 * std::max(width, height) * share;
  if (!(half > 0) || !std::isfinite(half)) return;
  int resizes = 0;
  if (index.CountInBox(Square(click, half), graphics) >= graphics) {
    while (resizes++ < kMaxResizes &&
           index.CountInBox(Square(click, half / 2), graphics) >= graphics) {
      half /= 2;
    }
  } else {
    while (resizes++ < kMaxResizes && half < reach &&
           index.CountInBox(Square(click, half), graphics) < graphics) {
      half *= 2;
    }
  }
  if (half >= reach) return;  // the whole drawing is the neighbourhood: keep it fitted

  const double zoom = view.Height() / (2 * half);
  if (!(zoom > view.Zoom()) || !std::isfinite(zoom)) return;
  view.SetCentre(click);
  view.SetZoom(zoom);
}

}  // namespace pphatch::mem
