#include "failure_code.h"

namespace pphatch::cli {

std::string FailureCode(const FailureFacts& facts) {
  if (facts.outsideDrawing) return "outside_drawing";
  if (facts.cause == PickDiagnosis::Cause::kBudget) return "budget";
  // A drawing cut short may look open only for what was left out.
  if (facts.limitReached) return "limit";
  if (facts.cause == PickDiagnosis::Cause::kOpen) return "open";
  return "no_area";
}

void AssignFailureCode(PickOutcome& outcome, const formats::LoadSummary& summary) {
  if (outcome.ok) return;
  const auto& box = summary.extents;
  const bool inside = box && outcome.at.x >= box->minX && outcome.at.x <= box->maxX &&
                      outcome.at.y >= box->minY && outcome.at.y <= box->maxY;
  outcome.code = FailureCode({!inside, outcome.diagnosis.cause, summary.report.limitReached});
}

void AssignFailureCodes(std::vector<PickOutcome>& outcomes, const formats::LoadSummary& summary) {
  for (PickOutcome& outcome : outcomes) AssignFailureCode(outcome, summary);
}

std::string FailureReason(const std::string& code) {
  if (code == "outside_drawing") return "the point lies outside the drawing";
  if (code == "budget") return "the search ran out of its time budget";
  if (code == "open") return "the boundary around the point is open";
  if (code == "limit") return "a limit of the reader left part of the drawing out";
  return "";
}

}  // namespace pphatch::cli
