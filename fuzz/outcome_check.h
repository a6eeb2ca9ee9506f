// The rules every answer of CreateClosedContour keeps, whatever the drawing:
// a failure carries exactly the no-area message and no graphic; a success
// carries closed, finite boundaries, the first of which holds the click.
#pragma once

#include <string>
#include <vector>

#include "geometry/incidence.h"
#include "pphatch/host.h"

namespace pphatch::reliability {

/// The text of a request that finds no area.
inline constexpr const char* kNoAreaText = "Operation can not be performed with these objects.";

/// What a request answered, read back through the host interfaces.
struct Answer {
  bool ok = false;
  std::string error;
  /// Whether the request handed back a graphic at all.
  bool hasGraphic = false;
  /// The graphic's children: outer boundary first, then the islands.
  std::vector<std::vector<Point2>> contours;
  /// Most distance from z = 0 of any boundary point.
  double maxAbsZ = 0;
};

/// The answer of a request, with the result graphic's children read back.
Answer ReadAnswer(bool ok, const std::string& error, const HostGraphicPtr& result);

/// True when the point lies inside the closed chain or within `tolerance`
/// of it (the click may lie on the boundary).
bool ChainHoldsPoint(const std::vector<Point2>& chain, Point2 p, double tolerance);

/// The first rule the answer to a click at `click` (drawing coordinates)
/// breaks, in words; empty when it keeps them all.
std::string AnswerProblem(const Answer& answer, Point2 click);

}  // namespace pphatch::reliability
