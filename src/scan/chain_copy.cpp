// Copying vertices of a host chain into new plain chain graphics.
#include "scan/chain_copy.h"

#include "scan/graphic_reads.h"

namespace pphatch {

// A new kind-11 graphic of the set, and its vertex chain.
HostVerticesPtr NewChainInSet(const HostGraphicSetPtr& set) {
  return Must(Must(Must(set)->Add(kChainKind))->Vertices());
}

// X and Y of vertex k.
Point2 ReadVertex(HostVertices& vertices, int k) {
  const HostVertexPtr v = Must(vertices.Item(k));
  Point2 p;
  p.x = v->X();
  p.y = v->Y();
  return p;
}

// A new chain of the set, begun with a copy of vertex k (read before the graphic is made).
HostVerticesPtr StartChainWith(const HostGraphicSetPtr& set, HostVertices& from, int k,
                               bool markPenDown) {
  const Point2 p = ReadVertex(from, k);
  HostVerticesPtr chain = NewChainInSet(set);
  HostVertexPtr added = chain->Add(p.x, p.y, 0);
  if (markPenDown) Must(added)->SetPenDown(true);
  return chain;
}

// Appends a copy of vertex k's position.
HostVertexPtr AppendVertexCopy(HostVertices& from, int k, HostVertices& to) {
  const Point2 p = ReadVertex(from, k);
  return to.Add(p.x, p.y, 0);
}

// PenDown of vertex k.
bool PenDownAt(HostVertices& vertices, int k) { return Must(vertices.Item(k))->PenDown(); }

// ArcPoint of vertex k.
bool ArcPointAt(HostVertices& vertices, int k) { return Must(vertices.Item(k))->ArcPoint(); }

}  // namespace pphatch
