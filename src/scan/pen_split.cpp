// Pen-up pieces of vertex chains and arc runs of polylines.
#include "scan/pen_split.h"

#include <cmath>

#include "component/view_convert.h"
#include "geometry/angles.h"
#include "geometry/tolerance.h"
#include "scan/chain_copy.h"
#include "scan/graphic_reads.h"

namespace pphatch {
namespace {

// A new piece in the set, in plane coordinates, starting with vertex k of the source.
HostVerticesPtr StartPiece(const HostGraphicSetPtr& set, HostVertices& source, int k) {
  const Point2 p = ReadVertex(source, k);
  HostVerticesPtr piece = NewChainInSet(set);
  piece->SetWorldMode(false);
  piece->Add(p.x, p.y, 0);
  return piece;
}

// Puts the arc through S, the middle of the run's arc and E into the set;
// nothing when S lies on the centre.
void AddArcRun(HostVertices& v, int i, const HostGraphicSetPtr& set) {
  const Point2 s = ReadVertex(v, i);
  const Point2 c = ReadVertex(v, i + 1);
  const Point2 d = ReadVertex(v, i + 2);
  const Point2 e = ReadVertex(v, i + 3);
  const double r = std::sqrt((s.x - c.x) * (s.x - c.x) + (s.y - c.y) * (s.y - c.y));
  if (!(r > GeomTolerance())) return;
  const double rx = (s.x - c.x) / r;
  const double ry = (s.y - c.y) / r;
  const int sense = TolerantSign((d.y - s.y) * rx - (d.x - s.x) * ry);
  const Point2 m = ArcMidpoint(c.x, c.y, s.x, s.y, e.x, e.y, r, sense);
  Must(set)->AddArcThroughPoints(s.x, s.y, 0, m.x, m.y, 0, e.x, e.y, 0);
}

// True when the chain draws one piece, all of its vertices, and curve
// extraction reads the graphic's own vertices (a childless chain or
// polyline): the piece would be a copy of the graphic, so the graphic
// itself stands for it, and no copy is made.
bool IsItsOwnPiece(const HostGraphicPtr& graphic, HostVertices& v, int n) {
  for (int j = 2; j < n; ++j) {
    if (!PenDownAt(v, j)) return false;
  }
  if (ChildCount(graphic) != 0) return false;
  const std::string type = TypeOf(graphic);
  return type == "GRAPHIC" || type == "PWW50Polyline";
}

}  // namespace

// Each drawn piece of the chain as a plain graphic of the set.
void SplitAtPenUps(const HostGraphicPtr& graphic, const HostGraphicSetPtr& set, bool closeChain) {
  const HostVerticesPtr vertices = Must(Must(graphic)->Vertices());
  HostVertices& v = *vertices;
  v.SetWorldMode(false);
  const int n = v.Count();
  int k = 1;
  while (k < n && !PenDownAt(v, k)) ++k;
  if (k >= n) return;
  if (k == 1 && !closeChain && IsItsOwnPiece(graphic, v, n)) {
    Must(set)->AddGraphic(graphic);
    return;
  }

  HostVerticesPtr piece = StartPiece(set, v, k - 1);
  for (int j = k; j < n;) {
    if (PenDownAt(v, j)) {
      if (closeChain && j == n - 1) {
        const Point2 first = ReadVertex(v, 0);
        piece->Add(first.x, first.y, 0);
      } else {
        AppendVertexCopy(v, j, *piece);
      }
      ++j;
      continue;
    }
    int m = j + 1;
    while (m < n && !PenDownAt(v, m)) ++m;
    if (m >= n) return;
    piece = StartPiece(set, v, m - 1);
    j = m;
  }
}

// Straight runs as plain graphics, arc runs as arcs.
void DecomposeArcPolyline(const HostGraphicPtr& graphic, const HostGraphicSetPtr& set) {
  const HostVerticesPtr vertices = Must(Must(graphic)->Vertices());
  HostVertices& v = *vertices;
  const int n = v.Count();
  int i = 0;
  while (i < n - 1) {
    const bool a = ArcPointAt(v, i);
    const bool b = ArcPointAt(v, i + 1);
    if (a || b) {
      AddArcRun(v, i, set);
      i += 3;  // the next run starts at the arc's end point
      continue;
    }
    // Vertex i+1 is known to be plain, so the run has at least two vertices
    // and i always advances.
    HostVerticesPtr piece = StartChainWith(set, v, i, false);
    AppendVertexCopy(v, i + 1, *piece);
    ++i;
    for (int j = i + 1; j < n; ++j) {
      if (ArcPointAt(v, j)) {
        i = j - 1;  // the arc starts at the last straight vertex
        break;
      }
      AppendVertexCopy(v, j, *piece);
      i = j;
    }
  }
}

// Middle of the arc S-E about C in the direction given by sense.
Point2 ArcMidpoint(double cx, double cy, double sx, double sy, double ex, double ey, double r,
                   int sense) {
  if (std::fabs(r) < GeomTolerance()) return Point2{cx, cy};
  const double a1 = VectorAngle((sy - cy) / r, (sx - cx) / r);
  double a2 = VectorAngle((ey - cy) / r, (ex - cx) / r);
  if ((sense == 1 && a1 > a2) || (sense != 1 && a1 < a2)) a2 -= kTwoPi;
  const double mid = (a2 + a1) / 2;
  return Point2{std::cos(mid) * r + cx, std::sin(mid) * r + cy};
}

}  // namespace pphatch
