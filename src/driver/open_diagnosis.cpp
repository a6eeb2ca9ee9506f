#include "driver/open_diagnosis.h"

#include <algorithm>
#include <cmath>

namespace pphatch {
namespace {

// A diagnosis names at most this many free ends: those nearest the click
// are where the user looks first.
constexpr size_t kFreeEndsShown = 8;

// Sizes this close count as one: a tolerance bridges gaps up to a
// billionth wider than itself, and gaps drawn alike measure a few roundings
// apart.
constexpr double kSameSize = 1e-9;

// The distinct bridge sizes above `gap`, smallest first (the bridges come
// shortest first); of sizes that count as one, the largest.
std::vector<double> SizesAbove(const std::vector<GapBridge>& bridges, double gap) {
  std::vector<double> sizes;
  for (const GapBridge& bridge : bridges) {
    if (bridge.size <= gap) continue;
    if (!sizes.empty() && bridge.size <= sizes.back() * (1 + kSameSize)) {
      sizes.back() = bridge.size;
    } else {
      sizes.push_back(bridge.size);
    }
  }
  return sizes;
}

}  // namespace

std::vector<PickGap> PickGaps(const std::vector<GapBridge>& bridges) {
  std::vector<PickGap> gaps;
  gaps.reserve(bridges.size());
  for (const GapBridge& b : bridges) gaps.push_back({b.from.x, b.from.y, b.to.x, b.to.y, b.size});
  return gaps;
}

PickDiagnosis DiagnoseNoArea(const OpenFace& open, Point2 click, double gap, const GapProbe& probe) {
  PickDiagnosis diagnosis;
  const std::vector<double> sizes = SizesAbove(open.bridges, gap);
  // The smallest size whose probe finds an area: probes of the sizes below
  // fail, and every size from it on succeeds. The largest is tried first,
  // so that a drawing no bridge closes costs one probe.
  std::optional<AreaBoundaries> found;
  if (!sizes.empty()) found = probe(sizes.back());
  if (found) {
    size_t low = 0, high = sizes.size() - 1;  // the answer lies in [low, high]
    while (low < high) {
      const size_t middle = low + (high - low) / 2;
      if (std::optional<AreaBoundaries> area = probe(sizes[middle])) {
        found = std::move(area);
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    diagnosis.cause = PickDiagnosis::Cause::kOpen;
    // The widest gap the area runs over: the tolerance that lays all its
    // bridges, at most the probe's size (sizes that count as one differ).
    diagnosis.closesAt = sizes[high];
    if (!found->bridged.empty()) diagnosis.closesAt = found->bridged.back().size;
    diagnosis.gaps = PickGaps(found->bridged);
    return diagnosis;
  }
  if (!open.freeEnds.empty()) {
    std::vector<Point2> ends = open.freeEnds;
    const auto away = [&](Point2 p) { return std::hypot(p.x - click.x, p.y - click.y); };
    std::stable_sort(ends.begin(), ends.end(), [&](Point2 a, Point2 b) { return away(a) < away(b); });
    if (ends.size() > kFreeEndsShown) ends.resize(kFreeEndsShown);
    diagnosis.cause = PickDiagnosis::Cause::kOpen;
    for (const Point2 p : ends) diagnosis.freeEnds.push_back({p.x, p.y});
    return diagnosis;
  }
  diagnosis.cause = open.clickOnGraphic ? PickDiagnosis::Cause::kOnBoundary : PickDiagnosis::Cause::kNotEnclosed;
  return diagnosis;
}

}  // namespace pphatch
