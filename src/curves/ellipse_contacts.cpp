#include "curves/ellipse_contacts.h"

#include <cmath>
#include <optional>

#include "curves/conic_frame.h"
#include "geometry/box_tree.h"

namespace pphatch {
namespace {

// How far off the true ellipse a touching point may lie, in tolerances.
constexpr double kTouchTolerances = 4;

bool IsEllipse(const CurveRecord& r) { return HasConic(r) && r.TypeName != "CIRCLE" && r.PointCount >= 2; }

// The point where the segment a-b touches the ellipse, if it does: the foot
// of the ellipse's centre on the segment's line, in the ellipse's frame,
// lying on the unit circle within the allowed distance.
std::optional<Point2> TouchingPoint(const ConicFrame& frame, Point2 a, Point2 b, double allowed) {
  const Point2 p = frame.In(a), q = frame.In(b);
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double length2 = dx * dx + dy * dy;
  if (!(length2 > 0)) return std::nullopt;
  const double u = -(p.x * dx + p.y * dy) / length2;
  if (!(u >= 0 && u <= 1)) return std::nullopt;
  const Point2 foot{p.x + u * dx, p.y + u * dy};
  const double r = std::hypot(foot.x, foot.y);
  if (!(r > 0)) return std::nullopt;
  const Point2 onSegment = frame.Out(foot), onEllipse = frame.Out({foot.x / r, foot.y / r});
  if (std::hypot(onSegment.x - onEllipse.x, onSegment.y - onEllipse.y) > allowed) return std::nullopt;
  return onSegment;
}

// Puts p into the ellipse's chain on the chord its foot falls on, next to
// the chain point nearest to it; nothing when it lies on a chain point
// already or beyond the chain's ends.
void InsertIntoChain(CurveRecord& e, Point2 p, double tolerance) {
  int nearest = -1;
  double best = INFINITY;
  for (int k = 0; k < e.PointCount; ++k) {
    const double d = std::hypot(e.X[k] - p.x, e.Y[k] - p.y);
    if (d < best) {
      best = d;
      nearest = k;
    }
  }
  if (nearest < 0 || best <= tolerance) return;
  // A closed chain's first and last points are one: next to either, the
  // point may lie on the chord before the last or after the first.
  const int last = e.PointCount - 1;
  const bool closed = e.X[0] == e.X[last] && e.Y[0] == e.Y[last];
  const int seam = closed && (nearest == 0 || nearest == last) ? last - 1 : -1;
  for (const int k : {nearest, nearest - 1, seam, closed && nearest == last ? 0 : -1}) {
    if (k < 0 || k + 1 >= e.PointCount) continue;
    const double dx = e.X[k + 1] - e.X[k], dy = e.Y[k + 1] - e.Y[k];
    const double u = ((p.x - e.X[k]) * dx + (p.y - e.Y[k]) * dy) / (dx * dx + dy * dy);
    if (!(u > 0 && u < 1)) continue;
    e.X.insert(e.X.begin() + k + 1, p.x);
    e.Y.insert(e.Y.begin() + k + 1, p.y);
    ++e.PointCount;
    return;
  }
}

}  // namespace

void TouchEllipses(std::vector<CurveRecord>& records, double tolerance) {
  std::vector<int> ellipses;
  std::vector<Box> boxes(records.size());
  for (int r = 0; r < static_cast<int>(records.size()); ++r) {
    const CurveRecord& c = records[static_cast<size_t>(r)];
    for (int k = 0; k < c.PointCount; ++k) boxes[static_cast<size_t>(r)].Add(Point2{c.X[k], c.Y[k]});
    if (IsEllipse(c)) ellipses.push_back(r);
  }
  if (ellipses.empty()) return;
  const BoxTree tree(boxes);
  const double allowed = kTouchTolerances * tolerance;
  for (const int i : ellipses) {
    CurveRecord& e = records[static_cast<size_t>(i)];
    const ConicFrame frame(e);
    const double reach = e.Radius + allowed;
    std::vector<Point2> touches;
    tree.Query(Box{e.CenterX - reach, e.CenterY - reach, e.CenterX + reach, e.CenterY + reach}, [&](int j) {
      const CurveRecord& line = records[static_cast<size_t>(j)];
      if (j == i || line.Curved) return;
      for (int k = 0; k + 1 < line.PointCount; ++k) {
        const std::optional<Point2> t =
            TouchingPoint(frame, {line.X[k], line.Y[k]}, {line.X[k + 1], line.Y[k + 1]}, allowed);
        if (t) touches.push_back(*t);
      }
    });
    for (const Point2 t : touches) InsertIntoChain(e, t, tolerance);
  }
}

}  // namespace pphatch
