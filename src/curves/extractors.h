// The extractors behind ExtractCurve, one per kind of host graphic, and the
// pieces they share. Only ExtractCurve calls them; each may raise HostError
// or ComputeError, which ExtractCurve turns into a false result.
#pragma once

#include <limits>
#include <string>

#include "curves/curve_record.h"
#include "pphatch/host.h"

namespace pphatch {

/// A full circle ("CIRCLE" or, for an ellipse, "GRAPHIC") sampled to 61 points.
bool ExtractCircle(HostGraphic& graphic, CurveRecord& record);

/// A circular or elliptical arc sampled by its sweep.
bool ExtractArc(HostGraphic& graphic, CurveRecord& record);

/// A curve: the outline child chosen by the brush style.
bool ExtractCurveGraphic(HostGraphic& graphic, CurveRecord& record);

/// A plain graphic: its own vertices.
bool ExtractPlainGraphic(HostGraphic& graphic, CurveRecord& record);

/// A polyline: its own vertices, or its outline child; false, with the record
/// untouched, when there is no vertex collection.
bool ExtractPolyline(HostGraphic& graphic, CurveRecord& record);

/// An outlined text: the vertices of its first child.
bool ExtractText(HostGraphic& graphic, CurveRecord& record);

/// Running coordinate sums and bounds of a chain being written.
/// The bounds start empty (infinite), so they are right for any coordinates;
/// only strictly larger or smaller values replace them.
struct ChainSums {
  double sumX = 0, sumY = 0;
  double maxX = -std::numeric_limits<double>::infinity();
  double maxY = -std::numeric_limits<double>::infinity();
  double minX = std::numeric_limits<double>::infinity();
  double minY = std::numeric_limits<double>::infinity();

  /// Takes one point into the sums and bounds; non-finite values are faults.
  void Add(double x, double y);

  /// Writes SumX, SumY and the bounds into the record.
  void WriteTo(CurveRecord& record) const;
};

/// The object a host call returned; a missing one fails like the call.
template <class Ptr>
Ptr Present(Ptr p, const char* what) {
  if (!p) throw HostError(std::string("the host returned no ") + what);
  return p;
}

}  // namespace pphatch
