#include "support/chains.h"

#include <cmath>

#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Fills bounds, sums and Closed from the record's points, as extraction does
// (bounds start at +-1e7 and only strictly larger or smaller values replace them).
void FinishChain(CurveRecord& c) {
  c.PointCount = static_cast<int>(c.X.size());
  c.MaxX = c.MaxY = -1e7;
  c.MinX = c.MinY = 1e7;
  c.SumX = c.SumY = 0;
  for (int i = 0; i < c.PointCount; ++i) {
    if (c.X[i] > c.MaxX) c.MaxX = c.X[i];
    if (c.Y[i] > c.MaxY) c.MaxY = c.Y[i];
    if (c.X[i] < c.MinX) c.MinX = c.X[i];
    if (c.Y[i] < c.MinY) c.MinY = c.Y[i];
    c.SumX += c.X[i];
    c.SumY += c.Y[i];
  }
  const double e = GeomTolerance();
  c.Closed = c.PointCount > 0 && std::fabs(c.X.front() - c.X.back()) < e &&
             std::fabs(c.Y.front() - c.Y.back()) < e;
}

}  // namespace

CurveRecord MakeChain(const std::vector<Point2>& points) {
  CurveRecord c;
  for (const Point2& p : points) {
    c.X.push_back(p.x);
    c.Y.push_back(p.y);
  }
  FinishChain(c);
  c.TypeName = "GRAPHIC";
  return c;
}

CurveRecord MakeCircle(double cx, double cy, double r) {
  CurveRecord c = MakeArc(cx, cy, r, 0, 2 * kPi, 60);
  c.X[60] = c.X[0];
  c.Y[60] = c.Y[0];
  FinishChain(c);
  c.Closed = true;
  return c;
}

CurveRecord MakeArc(double cx, double cy, double r, double from, double to, int steps) {
  std::vector<Point2> points;
  for (int i = 0; i <= steps; ++i) points.push_back(OnCircle(cx, cy, r, from + i * (to - from) / steps));
  CurveRecord c = MakeChain(points);
  c.TypeName = "CIRCLE";
  c.ExactCircle = true;
  c.Radius = r;
  c.CenterX = cx;
  c.CenterY = cy;
  return c;
}

Point2 OnCircle(double cx, double cy, double r, double angle) {
  return {r * std::cos(angle) + cx, r * std::sin(angle) + cy};
}

double Degrees(double degrees) { return degrees * kPi / 180; }

}  // namespace pphatch
