// Stable English codes for the reasons a pick found no area, for scripts;
// the message beside them stays the component's (translated) text.
#pragma once

#include <string>
#include <vector>

#include "formats/load_summary.h"
#include "pphatch/pick_diagnosis.h"
#include "picking.h"

namespace pphatch::cli {

/// What the tool knows about a failed pick besides the message.
struct FailureFacts {
  bool outsideDrawing = false;  ///< the point lies outside the drawing's extents
  PickDiagnosis::Cause cause = PickDiagnosis::Cause::kNotEnclosed;  ///< the component's diagnosis
  bool limitReached = false;    ///< a limit of the reader cut the drawing short
};

/// The code of a failed pick: "outside_drawing", "budget" (the request ran
/// out of its time budget), "limit" (the drawing was cut short by a limit
/// of the reader), "open" (the boundary around the point is open), else
/// "no_area".
std::string FailureCode(const FailureFacts& facts);

/// Sets the code of a failed outcome from the drawing's summary.
void AssignFailureCode(PickOutcome& outcome, const formats::LoadSummary& summary);

/// AssignFailureCode for every outcome.
void AssignFailureCodes(std::vector<PickOutcome>& outcomes, const formats::LoadSummary& summary);

/// The code in words for people ("the point lies outside the drawing"); empty for "no_area".
std::string FailureReason(const std::string& code);

}  // namespace pphatch::cli
