// Extractors for circles, ellipses and arcs: the curve is sampled into a chain.
#include <array>
#include <cmath>

#include "curves/chain_points.h"
#include "curves/extractors.h"
#include "geometry/angles.h"
#include "geometry/checked_math.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Axis ratios closer to 1 than this are circles: rounding in the host's
// turns and scales leaves differences of a few units in the last place.
constexpr double kCircleRatio = 1e-9;

// A full circle or ellipse is sampled every 6 degrees: 60 steps, 61 points.
constexpr int kCircleSteps = 60;

// Steps of an arc per full turn of its sweep.
constexpr double kArcStepsPerTurn = 61;

// More steps than a thousand full turns would need means the host's angles
// are corrupt; refusing them keeps the chain's size bounded.
constexpr double kMaxArcSteps = kArcStepsPerTurn * 1000;

// Indices into the host's arc data.
enum ArcData {
  kCenterX = 0,
  kCenterY = 1,
  kAxisEndX = 3,
  kAxisEndY = 4,
  kAxisRatio = 6,
  kStartAngle = 7,
  kEndAngle = 8
};

// The shape of a circle or ellipse as the host describes it: its centre, the
// unit direction of the major axis, the major and minor radii and their ratio.
struct Conic {
  double cx = 0, cy = 0;
  double ux = 0, uy = 0;
  double r = 0, rm = 0;
  double ratio = 0;
};

// Reads the conic from the arc data; a zero major radius is a division fault.
Conic ReadConic(const std::array<double, 11>& a, double cx, double cy) {
  Conic c;
  c.cx = cx;
  c.cy = cy;
  const double mx = CheckedFinite(a[kAxisEndX] - cx);
  const double my = CheckedFinite(a[kAxisEndY] - cy);
  c.r = CheckedFinite(std::sqrt(CheckedFinite(mx * mx + my * my)));
  c.ratio = CheckedFinite(a[kAxisRatio]);
  c.rm = CheckedFinite(c.r * c.ratio);
  c.ux = CheckedDivide(mx, c.r);
  c.uy = CheckedDivide(my, c.r);
  return c;
}

// The point at parametric angle t of a true ellipse (r != rm):
// centre + cos t * major + sin t * ratio * (major turned by +90 degrees).
// The parameter is measured from the major axis, so the axis direction is
// applied exactly once; it is applied by the unit vector rather than by an
// angle so that an axis close to vertical is not snapped to vertical.
void EllipsePoint(const Conic& c, double t, double& x, double& y) {
  const double px = c.r * std::cos(t);
  const double py = c.rm * std::sin(t);
  x = CheckedFinite(c.cx + px * c.ux - py * c.uy);
  y = CheckedFinite(c.cy + px * c.uy + py * c.ux);
}

// The point at angle theta of a true circle, measured from the x axis.
void CirclePoint(const Conic& c, double theta, double& x, double& y) {
  x = CheckedFinite(c.cx + c.r * std::cos(theta));
  y = CheckedFinite(c.cy + c.r * std::sin(theta));
}

// Kind and circle data shared by circles and arcs: a ratio within
// kCircleRatio of 1 is a circle (exact when the radii are equal), any other
// an ellipse. The ratio has no unit, so it is not compared with the
// tolerance, which is a length and grows with the drawing.
void WriteCircleData(const Conic& c, CurveRecord& record) {
  if (std::fabs(c.ratio - 1) < kCircleRatio) {
    record.TypeName = "CIRCLE";
    record.ExactCircle = (c.r == c.rm);
  } else {
    record.TypeName = "GRAPHIC";
  }
  record.Radius = c.r;
  record.CenterX = c.cx;
  record.CenterY = c.cy;
  record.Curved = true;
  record.Conic = true;
  record.MinorRadius = c.rm;
  record.AxisX = c.ux;
  record.AxisY = c.uy;
}

// Steps of an arc of the given sweep: 61 per full turn, at least 5 for a
// very short arc, at least 10 for any other and 20 from 10/61 of a turn on.
int ArcSteps(double sweep) {
  const double steps = CheckedFinite(std::fabs(sweep) / kTwoPi * kArcStepsPerTurn);
  if (steps > kMaxArcSteps) throw ComputeError("arc sweep out of range");
  const int k = static_cast<int>(std::floor(steps));
  if (k < 1) return 5;
  if (k < 10) return 10;
  if (k < 20) return 20;
  return k;
}

// X and Y of one host vertex.
void VertexPoint(HostVertices& vertices, int index, double& x, double& y) {
  const HostVertexPtr v = Present(vertices.Item(index), "vertex");
  x = v->X();
  y = v->Y();
}

// Puts the host's own end points of a circular arc at the chain's ends, so
// that the chain meets the graphics joined to the arc exactly. Vertex 3, a
// point inside the arc, tells which end vertex the counter-clockwise
// sampling starts from.
void TakeHostEnds(HostGraphic& graphic, const Conic& c, int k, CurveRecord& record) {
  const HostVerticesPtr vertices = Present(graphic.Vertices(), "vertices");
  if (vertices->Count() < 4) throw ComputeError("an arc without its end vertices");
  double x1, y1, x2, y2, x3, y3;
  VertexPoint(*vertices, 1, x1, y1);
  VertexPoint(*vertices, 2, x2, y2);
  VertexPoint(*vertices, 3, x3, y3);
  const double sA = CheckedDivide(y1 - c.cy, c.r);
  const double cA = CheckedDivide(x1 - c.cx, c.r);
  const double turn = CheckedFinite((y3 - c.cy) * cA - (x3 - c.cx) * sA);
  const bool startsAtFirst = turn > 0;
  record.X[0] = startsAtFirst ? x1 : x2;
  record.Y[0] = startsAtFirst ? y1 : y2;
  record.X[k] = startsAtFirst ? x2 : x1;
  record.Y[k] = startsAtFirst ? y2 : y1;
}

}  // namespace

// A circle (centre from vertex 0) or an ellipse, 61 points from the end of
// the major axis on, counter-clockwise, the last an exact copy of the first.
bool ExtractCircle(HostGraphic& graphic, CurveRecord& record) {
  const std::array<double, 11> a = graphic.GetArcData();
  const HostVerticesPtr vertices = Present(graphic.Vertices(), "vertices");
  vertices->SetWorldMode(false);
  if (vertices->Count() < 1) throw ComputeError("a circle without its centre vertex");
  double cx, cy;
  VertexPoint(*vertices, 0, cx, cy);
  const Conic c = ReadConic(a, cx, cy);

  record.PointCount = kCircleSteps + 1;
  record.X.resize(kCircleSteps + 1);
  record.Y.resize(kCircleSteps + 1);
  ChainSums sums;
  for (int i = 0; i <= kCircleSteps; ++i) {
    const double theta = (2.0 * i) * kPi / kCircleSteps;
    double x, y;
    // A true circle is not turned: its first point is (cx + r, cy).
    if (c.r == c.rm) {
      CirclePoint(c, theta, x, y);
    } else {
      EllipsePoint(c, theta, x, y);
    }
    record.X[i] = x;
    record.Y[i] = y;
    sums.Add(x, y);
  }
  // Exact closure; the sums keep the computed last point.
  record.X[kCircleSteps] = record.X[0];
  record.Y[kCircleSteps] = record.Y[0];
  record.Closed = true;
  sums.WriteTo(record);
  WriteCircleData(c, record);
  return true;
}

// An arc, sampled counter-clockwise from its start to its end angle. A
// circular arc's angles are directions measured from the major axis and its
// ends become the host's end vertices; an elliptical arc's angles are the
// ellipse's parameters, so its chain runs between the same end points as
// the arc drawn by the host.
bool ExtractArc(HostGraphic& graphic, CurveRecord& record) {
  const std::array<double, 11> a = graphic.GetArcData();
  double s = CheckedFinite(a[kStartAngle]);
  const double e = CheckedFinite(a[kEndAngle]);
  // An arc through angle 0 runs from s - 2 pi up to e.
  if (s > e) s -= kTwoPi;
  const Conic c = ReadConic(a, a[kCenterX], a[kCenterY]);
  const double axisAngle = VectorAngle(c.uy, c.ux);
  const int k = ArcSteps(e - s);
  const double step = (e - s) / k;

  record.PointCount = k + 1;
  record.X.resize(k + 1);
  record.Y.resize(k + 1);
  ChainSums sums;
  for (int i = 0; i <= k; ++i) {
    const double t = i * step + s;
    double x, y;
    if (c.r == c.rm) {
      CirclePoint(c, t + axisAngle, x, y);
    } else {
      EllipsePoint(c, t, x, y);
    }
    record.X[i] = x;
    record.Y[i] = y;
    sums.Add(x, y);
  }
  // The sums and bounds keep the sampled ends.
  if (std::fabs(c.r - c.rm) < GeomTolerance()) TakeHostEnds(graphic, c, k, record);
  record.Closed = PointsCoincide(record.X[0], record.Y[0], record.X[k], record.Y[k]);
  sums.WriteTo(record);
  WriteCircleData(c, record);
  return true;
}

}  // namespace pphatch
