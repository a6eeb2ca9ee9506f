// CurveRecord: one graphic, or one traced contour, as a chain of plane points.
#pragma once

#include <string>
#include <vector>

namespace pphatch {

/// A chain of points in drawing coordinates with its bounds and marks.
/// A closed chain repeats its first point as its last one. Copying a record
/// copies its points.
struct CurveRecord {
  int PointCount = 0;        ///< number of points in use
  std::vector<double> X;     ///< x of points 0 .. PointCount-1 (may be larger)
  std::vector<double> Y;     ///< y of points 0 .. PointCount-1 (may be larger)
  bool Closed = false;       ///< first and last point coincide within GeomTolerance
  double SumX = 0;           ///< sum of the x of the chain, a cheap fingerprint
  double SumY = 0;           ///< sum of the y of the chain
  std::string Kind;          ///< "External" or "Internal" for found contours
  double MaxX = 0, MaxY = 0; ///< bounds of the points
  double MinX = 0, MinY = 0;
  bool Used = false;         ///< the driver's mark: accounted for by a contour
  std::string TypeName;      ///< "CIRCLE", "GRAPHIC", "PWW30CURVE", "PWW50Polyline", "TEXT"
  bool ExactCircle = false;  ///< CIRCLE only: the two radii are exactly equal
  double Radius = 0;         ///< CIRCLE only: (major) radius
  double CenterX = 0, CenterY = 0;  ///< CIRCLE only: centre
  bool Curved = false;       ///< the chain samples a curve (circle, ellipse, arc, curve graphic)
  bool Conic = false;        ///< circles, ellipses and their arcs: the fields below hold the curve
  double MinorRadius = 0;    ///< Conic only: minor radius (Radius for a circle)
  double AxisX = 1, AxisY = 0;  ///< Conic only: unit direction of the major axis
};

}  // namespace pphatch
