#include "failure_code.h"

#include "component/state.h"

namespace pphatch::cli {

std::string FailureCode(const FailureFacts& facts) {
  if (facts.outsideDrawing) return "outside_drawing";
  if (facts.ms >= kRequestBudgetSeconds * 1000) return "budget";
  if (facts.limitReached) return "limit";
  return "no_area";
}

void AssignFailureCode(PickOutcome& outcome, const formats::LoadSummary& summary) {
  if (outcome.ok) return;
  const auto& box = summary.extents;
  const bool inside = box && outcome.at.x >= box->minX && outcome.at.x <= box->maxX &&
                      outcome.at.y >= box->minY && outcome.at.y <= box->maxY;
  outcome.code = FailureCode({!inside, outcome.ms, summary.report.limitReached});
}

void AssignFailureCodes(std::vector<PickOutcome>& outcomes, const formats::LoadSummary& summary) {
  for (PickOutcome& outcome : outcomes) AssignFailureCode(outcome, summary);
}

std::string FailureReason(const std::string& code) {
  if (code == "outside_drawing") return "the point lies outside the drawing";
  if (code == "budget") return "the search ran out of its time budget";
  if (code == "limit") return "a limit of the reader left part of the drawing out";
  return "";
}

}  // namespace pphatch::cli
