#include "memhost/chain_map.h"

#include <algorithm>
#include <cmath>

#include "memhost/outline.h"

namespace pphatch::mem {

namespace {

// Largest angle between two samples of a circle of radius r for which the
// chord strays no more than 1e-4 r from the arc: r (1 - cos(step / 2)).
const double kMaxSampleStep = 2 * std::acos(1 - 1e-4);

// The vertex under the map, flags and z kept.
VertexData Mapped(const VertexData& v, const Affine2& map) {
  const Vec2 p = map.Apply({v.x, v.y});
  return {p.x, p.y, v.z, v.penDown, v.arcPoint};
}

// Appends the images of the points strictly inside the run's arc.
void AppendSamples(std::vector<VertexData>& out, const ArcRun& run, double z, const Affine2& map) {
  const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(run.sweep) / kMaxSampleStep)));
  for (int k = 1; k < steps; ++k) {
    const Vec2 p = map.Apply(run.PointAt(run.from + run.sweep * k / steps));
    out.push_back({p.x, p.y, z, true, false});
  }
}

}  // namespace

std::vector<VertexData> MappedChain(const std::vector<VertexData>& chain, const Affine2& map) {
  std::vector<VertexData> out;
  out.reserve(chain.size());
  if (chain.empty()) return out;
  if (map.IsSimilarity()) {
    for (const VertexData& v : chain) out.push_back(Mapped(v, map));
    return out;
  }
  const auto at = [&chain](std::size_t i) { return Vec2{chain[i].x, chain[i].y}; };
  const std::size_t n = chain.size();
  out.push_back(Mapped(chain[0], map));
  std::size_t i = 0;
  while (i + 1 < n) {
    const bool run = (chain[i].arcPoint || chain[i + 1].arcPoint) && i + 3 < n;
    if (!run) {
      out.push_back(Mapped(chain[i + 1], map));
      ++i;
      continue;
    }
    // The start and the end become plain vertices: nothing there may open
    // a run any more, and the line from the last sample to the end is drawn.
    out.back().arcPoint = false;
    AppendSamples(out, ReadArcRun(at(i), at(i + 1), at(i + 2), at(i + 3)), chain[i].z, map);
    VertexData end = Mapped(chain[i + 3], map);
    end.penDown = true;
    end.arcPoint = false;
    out.push_back(end);
    i += 3;
  }
  return out;
}

}  // namespace pphatch::mem
