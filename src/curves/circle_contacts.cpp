#include "curves/circle_contacts.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "component/view_convert.h"
#include "curves/chain_geometry.h"
#include "geometry/box_tree.h"
#include "geometry/checked_math.h"
#include "geometry/incidence.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Start of the nearest-point search: farther than any point of a chain.
constexpr double kFarDistance = 1e7;

// Point count of a sampled full circle; the chord limit and the segment
// margin are measured in steps of this size.
constexpr double kCircleSamples = 61;

bool IsCircleType(const CurveRecord& r) { return r.TypeName == "CIRCLE"; }
bool IsFullCircle(const CurveRecord& r) { return IsCircleType(r) && r.Closed; }
bool IsArc(const CurveRecord& r) { return IsCircleType(r) && !r.Closed; }
Point2 CenterOf(const CurveRecord& r) { return {r.CenterX, r.CenterY}; }
Point2 FirstPoint(const CurveRecord& r) { return ChainPoint(r, 0); }
Point2 LastPoint(const CurveRecord& r) { return ChainPoint(r, r.PointCount - 1); }

// Farthest a new point may lie from the chain point it is put next to: the
// length of one sampling step around the full circle.
double ChordLimit(const CurveRecord& r) { return kTwoPi * r.Radius / kCircleSamples; }

// Band around a circle for the box rejection of straight segments; a
// touching segment lies outside the circle, a little more than the sagitta
// of one sampling step away from the chords.
double SegmentMargin(const CurveRecord& r) {
  return r.Radius * kPi * kPi / kCircleSamples / kCircleSamples * 2.001;
}

// True when the centres of two circle-type records coincide.
bool Concentric(const CurveRecord& a, const CurveRecord& b) {
  return Coincide(CenterOf(a), CenterOf(b));
}

// True when two circles touch within GeomTolerance, from outside when the
// centre distance exceeds the larger radius, from inside otherwise.
bool Tangent(const CurveRecord& a, const CurveRecord& b) {
  const double d = Distance(CenterOf(a), CenterOf(b));
  const double big = std::max(a.Radius, b.Radius);
  const double small = std::min(a.Radius, b.Radius);
  const double s = d > big ? big + small : big - small;
  return std::fabs(s - d) < GeomTolerance();
}

// True when an end point of one chain coincides with an end point of the other.
bool EndPointsMeet(const CurveRecord& a, const CurveRecord& b) {
  const Point2 a0 = FirstPoint(a), a1 = LastPoint(a);
  const Point2 b0 = FirstPoint(b), b1 = LastPoint(b);
  return Coincide(a0, b0) || Coincide(a0, b1) || Coincide(a1, b0) || Coincide(a1, b1);
}

// True when both chains are open and share an end point.
bool ShareEndPoint(const CurveRecord& a, const CurveRecord& b) {
  return !a.Closed && !b.Closed && EndPointsMeet(a, b);
}

// Side (-1, 0, 1) of p with respect to the line from centre j to centre i.
int SideOfCentreLine(const CurveRecord& i, const CurveRecord& j, Point2 p) {
  const Point2 ci = CenterOf(i), cj = CenterOf(j);
  const double d = Distance(ci, cj);
  const double ux = CheckedDivide(ci.x - cj.x, d);
  const double uy = CheckedDivide(ci.y - cj.y, d);
  return TolerantSign((p.y - cj.y) * ux - (p.x - cj.x) * uy);
}

// True when both arcs have their end points on different sides of the line
// through the two centres.
bool BothStraddle(const CurveRecord& i, const CurveRecord& j) {
  const auto straddles = [&](const CurveRecord& arc) {
    return SideOfCentreLine(i, j, FirstPoint(arc)) != SideOfCentreLine(i, j, LastPoint(arc));
  };
  return straddles(i) && straddles(j);
}

// Index of the chain point nearest to p and its distance (the first of equal
// points wins); nothing for an empty chain.
std::optional<int> NearestPoint(const CurveRecord& r, Point2 p, double& distance) {
  std::optional<int> nearest;
  distance = kFarDistance;
  for (int q = 0; q < r.PointCount; ++q) {
    const double dq = Distance(ChainPoint(r, q), p);
    if (dq < distance) {
      distance = dq;
      nearest = q;
    }
  }
  return nearest;
}

// True when some point of the chain coincides with p.
bool AnyPointCoincides(const CurveRecord& r, Point2 p) {
  for (int q = 0; q < r.PointCount; ++q) {
    if (Coincide(ChainPoint(r, q), p)) return true;
  }
  return false;
}

// True when p's foot on the chord from -> to lies strictly inside it, more
// than GeomTolerance from `from`.
bool ChordTakes(Point2 from, Point2 to, Point2 p) {
  const double e = GeomTolerance();
  const double length = Distance(from, to);
  if (!(length > e)) return false;
  const double t = ((p.x - from.x) * (to.x - from.x) + (p.y - from.y) * (to.y - from.y)) / length;
  return e < t && t < length;
}

// Stores p as point `position`, moving the points from there on up by one.
void InsertAt(CurveRecord& r, int position, Point2 p) {
  CheckedFinite(p.x);
  CheckedFinite(p.y);
  r.X.insert(r.X.begin() + position, p.x);
  r.Y.insert(r.Y.begin() + position, p.y);
  ++r.PointCount;
}

// Puts p into the circle-type chain next to its nearest point, on the chord
// after it or else the chord before it, when that point is within the chord
// limit and does not coincide with p already.
//
// A closed chain keeps its first and last point at the same place: a point
// on the chord from the seam to point 1 goes in after point 0, and a point on
// the chord from point m-2 to the seam goes in before the last point.
void InsertContact(CurveRecord& r, Point2 p) {
  const int m = r.PointCount;
  if (m < 2) return;
  double distance = 0;
  const std::optional<int> nearest = NearestPoint(r, p, distance);
  if (!nearest || distance >= ChordLimit(r)) return;
  const int q = *nearest;
  const Point2 vq = ChainPoint(r, q);
  if (Coincide(vq, p)) return;

  if (q < m - 1) {
    if (ChordTakes(vq, ChainPoint(r, q + 1), p)) return InsertAt(r, q + 1, p);
  } else if (r.Closed && ChordTakes(vq, ChainPoint(r, 1), p)) {
    return InsertAt(r, 1, p);
  }

  if (q > 0) {
    if (ChordTakes(ChainPoint(r, q - 1), vq, p)) InsertAt(r, q, p);
  } else if (r.Closed && ChordTakes(ChainPoint(r, m - 2), vq, p)) {
    InsertAt(r, m - 1, p);
  }
}

// Moves the circle-type chain's point nearest to t onto t, when it is within
// the chord limit. A closed chain's seam moves as a whole; an open chain's
// end points are where it meets its neighbours, so they stay and t is put in
// beside them instead.
void MoveNearestOnto(CurveRecord& r, Point2 t) {
  const int m = r.PointCount;
  double distance = 0;
  const std::optional<int> nearest = NearestPoint(r, t, distance);
  if (!nearest || distance >= ChordLimit(r)) return;
  const int q = *nearest;
  const bool seam = q == 0 || q == m - 1;
  if (seam && !r.Closed) return InsertContact(r, t);
  CheckedFinite(t.x);
  CheckedFinite(t.y);
  if (seam) {
    SetChainPoint(r, 0, t);
    SetChainPoint(r, m - 1, t);
  } else {
    SetChainPoint(r, q, t);
  }
}

// The records near each circle: only chains whose points come within a
// circle's box (widened by its segment margin) can touch it. Found through
// a tree of the records' boxes, in list order, so that the pairs are met in
// the order a loop over all records would meet them.
class NearCircles {
 public:
  NearCircles(const std::vector<CurveRecord>& records, int n) : records_(records) {
    std::vector<Box> boxes;
    boxes.reserve(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
      Box box;
      for (int q = 0; q < records[k].PointCount; ++q) box.Add(ChainPoint(records[k], q));
      boxes.push_back(box);
    }
    tree_ = BoxTree(boxes);
  }

  /// Indices of the records whose points come near circle i, ascending.
  const std::vector<int>& Of(int i) {
    const CurveRecord& c = records_[i];
    const double reach = c.Radius + SegmentMargin(c) + 2 * GeomTolerance();
    near_.clear();
    tree_.Query(Box{c.CenterX - reach, c.CenterY - reach, c.CenterX + reach, c.CenterY + reach},
                [this](int k) { near_.push_back(k); });
    std::sort(near_.begin(), near_.end());
    return near_;
  }

 private:
  const std::vector<CurveRecord>& records_;
  BoxTree tree_;
  std::vector<int> near_;
};

// Vertices of other chains that lie on circle i become points of i.
void InsertVerticesOnCircles(std::vector<CurveRecord>& records, int n, NearCircles& near) {
  const double e = GeomTolerance();
  for (int i = 0; i < n; ++i) {
    if (!IsCircleType(records[i]) || records[i].PointCount < 1) continue;
    for (const int j : near.Of(i)) {
      CurveRecord& ci = records[i];
      const CurveRecord& cj = records[j];
      if (j == i || IsFullCircle(cj) || cj.PointCount < 1) continue;
      if (ShareEndPoint(ci, cj)) continue;
      if (IsCircleType(cj)) {
        if (Concentric(ci, cj) || !Tangent(ci, cj)) continue;
        if (IsArc(ci) && !BothStraddle(ci, cj)) continue;
      }
      const Point2 centre = CenterOf(ci);
      const double r = ci.Radius;
      for (int k = 0; k < cj.PointCount; ++k) {
        const Point2 p = ChainPoint(cj, k);
        if (std::fabs(p.x - centre.x) > r + e || std::fabs(p.y - centre.y) > r + e) continue;
        if (!(std::fabs(Distance(p, centre) - r) <= e)) continue;
        if (AnyPointCoincides(ci, p)) continue;
        InsertContact(ci, p);
      }
    }
  }
}

// The touching point of two tangent circle-type records goes into both.
void InsertTouchingPoints(std::vector<CurveRecord>& records, int n, NearCircles& near) {
  const double e = GeomTolerance();
  for (int i = 0; i < n; ++i) {
    if (!IsCircleType(records[i]) || records[i].PointCount < 1) continue;
    for (const int j : near.Of(i)) {
      if (j == i || !IsCircleType(records[j])) continue;
      CurveRecord& ci = records[i];
      CurveRecord& cj = records[j];
      if (ci.PointCount < 1 || cj.PointCount < 1) continue;
      if (Concentric(ci, cj) || !Tangent(ci, cj)) continue;
      if (IsArc(ci) && IsArc(cj) && (ShareEndPoint(ci, cj) || !BothStraddle(ci, cj))) continue;
      const Point2 centreI = CenterOf(ci), centreJ = CenterOf(cj);
      const double d = Distance(centreI, centreJ);
      const double ux = CheckedDivide(centreI.x - centreJ.x, d);
      const double uy = CheckedDivide(centreI.y - centreJ.y, d);
      Point2 t{centreJ.x + cj.Radius * ux, centreJ.y + cj.Radius * uy};
      if (std::fabs(Distance(t, centreI) - ci.Radius) > e) {
        t = {centreJ.x - cj.Radius * ux, centreJ.y - cj.Radius * uy};
      }
      InsertContact(ci, t);
      InsertContact(cj, t);
    }
  }
}

// Where a straight segment of another chain touches circle i, the nearest
// point of i is moved onto the touching point.
void MoveOntoTouchingSegments(std::vector<CurveRecord>& records, int n, NearCircles& near) {
  const double e = GeomTolerance();
  for (int i = 0; i < n; ++i) {
    if (!IsCircleType(records[i]) || records[i].PointCount < 1) continue;
    for (const int j : near.Of(i)) {
      CurveRecord& ci = records[i];
      const CurveRecord& cj = records[j];
      if (IsCircleType(cj) || ci.PointCount < 1 || cj.PointCount < 1) continue;
      if (IsArc(ci) && EndPointsMeet(ci, cj)) continue;
      const Point2 c = CenterOf(ci);
      const double r = ci.Radius;
      const double w = SegmentMargin(ci);
      for (int k = 0; k + 1 < cj.PointCount; ++k) {
        const Point2 a = ChainPoint(cj, k), b = ChainPoint(cj, k + 1);
        if ((a.x - c.x > r + w && b.x - c.x > r + w) || (a.y - c.y > r + w && b.y - c.y > r + w) ||
            (a.x - c.x < -r - w && b.x - c.x < -r - w) ||
            (a.y - c.y < -r - w && b.y - c.y < -r - w)) {
          continue;
        }
        const double length = Distance(a, b);
        if (length > e) {
          const double along = ((c.x - a.x) * (b.x - a.x) + (c.y - a.y) * (b.y - a.y)) / length;
          if (along < e || along > length) continue;
        }
        const Line line = LineThrough(a, b);
        if (std::fabs(line.a) < e && std::fabs(line.b) < e) continue;
        const double dist = std::fabs(line.b * c.y + line.a * c.x - line.c) /
                            std::sqrt(line.a * line.a + line.b * line.b);
        if (!(std::fabs(dist - r) <= e)) continue;
        const std::optional<Point2> t =
            IntersectLines(line.a, line.b, line.c, -line.b, line.a, -line.b * c.x + line.a * c.y);
        if (!t || PointOnSegment(a.x, a.y, b.x, b.y, t->x, t->y) != 1) continue;
        MoveNearestOnto(ci, *t);
      }
    }
  }
}

}  // namespace

void RefineCircleContacts(std::vector<CurveRecord>& records, int n) {
  n = std::clamp(n, 0, static_cast<int>(records.size()));
  for (int i = 0; i < n; ++i) RequireChainPoints(records[i]);
  bool anyCircle = false;
  for (int i = 0; i < n && !anyCircle; ++i) anyCircle = IsCircleType(records[i]);
  if (!anyCircle) return;
  NearCircles near(records, n);
  InsertVerticesOnCircles(records, n, near);
  InsertTouchingPoints(records, n, near);
  MoveOntoTouchingSegments(records, n, near);
}

}  // namespace pphatch
