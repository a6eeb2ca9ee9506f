// Copies of cosmetic outlines and text outlines into plain chain graphics.
#include "scan/outline_copy.h"

#include "scan/chain_copy.h"
#include "scan/graphic_reads.h"

namespace pphatch {
namespace {

// Appends a copy of vertex k, marked pen-down when asked.
void Append(HostVertices& from, int k, HostVertices& to, bool mark) {
  HostVertexPtr added = AppendVertexCopy(from, k, to);
  if (mark) Must(added)->SetPenDown(true);
}

// Copies the inner vertices 1 .. n-2 of a chain into `chain`, splitting at
// pen-up vertices: a pen-up vertex k starts a new graphic when the move to
// k+1 is drawn and k+1 is not the last vertex, and is dropped otherwise.
// Returns the graphic that is current after the last inner vertex.
HostVerticesPtr CopyInnerPieces(const HostGraphicSetPtr& set, HostVertices& v, int n, int first,
                                HostVerticesPtr chain, bool mark) {
  for (int k = first; k <= n - 2; ++k) {
    if (PenDownAt(v, k)) {
      Append(v, k, *chain, mark);
    } else if (k + 1 != n - 1 && PenDownAt(v, k + 1)) {
      chain = StartChainWith(set, v, k, mark);
    }
  }
  return chain;
}

}  // namespace

// Every vertex, marked pen-down, into one new graphic.
void OpenOutlineCopy(const HostGraphicPtr& source, const HostGraphicSetPtr& set) {
  const HostVerticesPtr vertices = Must(Must(source)->Vertices());
  HostVertices& v = *vertices;
  const int n = v.Count();
  if (n <= 0) return;
  HostVerticesPtr chain = StartChainWith(set, v, 0, true);
  for (int k = 1; k < n; ++k) Append(v, k, *chain, true);
}

// Vertex 1, the inner pieces from vertex 2 on, then the last vertex.
void ClosedOutlineCopy(const HostGraphicPtr& source, const HostGraphicSetPtr& set) {
  const HostVerticesPtr vertices = Must(Must(source)->Vertices());
  HostVertices& v = *vertices;
  const int n = v.Count();
  HostVerticesPtr chain = StartChainWith(set, v, 1, false);
  chain = CopyInnerPieces(set, v, n, 2, chain, true);
  Append(v, n - 1, *chain, false);
}

// Vertex 0, the inner pieces, and the last vertex when its move is drawn.
void PenSplitCopy(const HostGraphicPtr& source, const HostGraphicSetPtr& set) {
  const HostVerticesPtr vertices = Must(Must(source)->Vertices());
  HostVertices& v = *vertices;
  const int n = v.Count();
  HostVerticesPtr chain = StartChainWith(set, v, 0, false);
  chain = CopyInnerPieces(set, v, n, 1, chain, false);
  if (PenDownAt(v, n - 1)) Append(v, n - 1, *chain, false);
}

}  // namespace pphatch
