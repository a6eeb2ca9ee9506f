// Copying vertices of a host chain into new plain chain graphics.
#pragma once

#include "geometry/incidence.h"
#include "pphatch/host.h"

namespace pphatch {

/// A new plain chain graphic (kind 11) made by the set; returns its vertices.
HostVerticesPtr NewChainInSet(const HostGraphicSetPtr& set);

/// X and Y of vertex k.
Point2 ReadVertex(HostVertices& vertices, int k);

/// A new plain chain graphic of the set that starts with (X, Y, 0) of
/// vertex k of `from`. Vertex k is read first, so a source that has no
/// vertex k leaves no empty graphic behind. Returns the new chain.
HostVerticesPtr StartChainWith(const HostGraphicSetPtr& set, HostVertices& from, int k,
                               bool markPenDown);

/// Appends (X, Y, 0) of vertex k of `from` to `to`; returns the new vertex.
HostVertexPtr AppendVertexCopy(HostVertices& from, int k, HostVertices& to);

/// PenDown of vertex k: false when the move to it is not drawn.
bool PenDownAt(HostVertices& vertices, int k);

/// ArcPoint of vertex k: true for the vertices of a polyline's arc run.
bool ArcPointAt(HostVertices& vertices, int k);

}  // namespace pphatch
