// A vertex chain placed by an affine map, with its polyline arc runs.
#pragma once

#include <vector>

#include "memhost/affine.h"
#include "memhost/graphic.h"

namespace pphatch::mem {

/// The chain under the map (z kept). Under a similarity every vertex is
/// mapped: a mapped arc run still describes the mapped arc, since its sense
/// point lies on the arc (and a mirror moves it to the other side). Under
/// any other map a run's arc becomes elliptical, so each complete run
/// (start, centre, sense point, end; read as picking reads it) becomes its
/// start, points along the image of its arc (chord error below 1e-4 of the
/// ellipse's largest radius) and its end; none of them keeps an arc flag,
/// and all but the start are pen down.
std::vector<VertexData> MappedChain(const std::vector<VertexData>& chain, const Affine2& map);

}  // namespace pphatch::mem
