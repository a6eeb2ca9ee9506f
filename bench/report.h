// The comparison table: one row per drawing, printed and written as CSV.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace pphatch::bench {

/// The value at quantile q (0..1) of the samples, by nearest rank.
double Quantile(std::vector<double> samples, double q);

/// Per-click times of one contender on one drawing.
struct Timing {
  /// Not measured at this size; `estimate` says how long one click would take.
  bool skipped = false;
  double estimate = 0;  ///< seconds, for a skipped contender
  std::vector<double> seconds;
  int agreeing = 0;  ///< clicks whose area matched pphatch's
  int compared = 0;  ///< clicks compared with pphatch

  double P50() const { return Quantile(seconds, 0.5); }
  double P95() const { return Quantile(seconds, 0.95); }
};

/// One drawing's row.
struct Row {
  std::string drawing;
  std::size_t pieces = 0;
  std::size_t graphics = 0;
  int clicks = 0;
  int found = 0;  ///< clicks where pphatch returned an area
  /// Clicks where pphatch found the area the drawing was made with (its net
  /// area and contour count); -1 when the drawing has no such area.
  int expected = -1;
  Timing pphatch;
  std::vector<double> pphatchCpu;  ///< CPU seconds of each pphatch click
  std::vector<double> peakKiB;     ///< heap peak of each pphatch click
  Timing geos;                     ///< whole drawing per click
  Timing cgal;                     ///< build and locate per click
  Timing cgalLocate;               ///< locate in a prebuilt arrangement
  double cgalBuildSeconds = 0;     ///< the prebuilt arrangement's build
  std::optional<double> dxfMBps;   ///< DXF load rate of this drawing
};

/// The table as text.
void PrintTable(std::ostream& out, const std::vector<Row>& rows);

/// The table as CSV, one line per drawing; times in milliseconds.
void WriteCsv(std::ostream& out, const std::vector<Row>& rows);

}  // namespace pphatch::bench
