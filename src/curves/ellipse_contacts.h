// Contacts of straight segments with ellipses.
#pragma once

#include <vector>

#include "curves/curve_record.h"

namespace pphatch {

/// Where a straight segment of a chain that samples no curve touches an
/// ellipse or an elliptical arc of the list (comes within four tolerances
/// of it, from outside), the touching point on the segment is put into the
/// ellipse's chain, between the chain points on either side of it: without
/// it the segment passes the chords by up to their sagitta, and an area
/// between the two leaks through the gap. Circles get their contacts from
/// RefineCircleContacts.
void TouchEllipses(std::vector<CurveRecord>& records, double tolerance);

}  // namespace pphatch
