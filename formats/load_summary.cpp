#include "formats/load_summary.h"

#include <iterator>
#include <span>

#include "formats/side_by_side.h"

namespace pphatch::formats {

namespace {

// The graphic and all its descendants.
int CountTree(const mem::MemGraphic& g) {
  int count = 1;
  for (const auto& child : g.ChildItems()) count += CountTree(*child);
  return count;
}

// "1 MTEXT entity" or "12 MTEXT entities"; without a name "1 entity".
std::string Entities(int count, const std::string& name) {
  return std::to_string(count) + (name.empty() ? "" : " " + name) +
         (count == 1 ? " entity" : " entities");
}

}  // namespace

void LoadReport::Append(LoadReport&& later) {
  for (const auto& [name, count] : later.ignored) ignored[name] += count;
  hiddenEntities += later.hiddenEntities;
  paperSpaceEntities += later.paperSpaceEntities;
  unselectedEntities += later.unselectedEntities;
  texts.insert(texts.end(), std::make_move_iterator(later.texts.begin()),
               std::make_move_iterator(later.texts.end()));
  limitReached = limitReached || later.limitReached;
  warnings.insert(warnings.end(), std::make_move_iterator(later.warnings.begin()),
                  std::make_move_iterator(later.warnings.end()));
}

std::vector<std::string> LoadReport::Lines() const {
  std::vector<std::string> lines;
  for (const auto& [name, count] : ignored) lines.push_back(Entities(count, name) + " ignored");
  if (hiddenEntities > 0) {
    lines.push_back(Entities(hiddenEntities, "") + " on layers that are off or frozen not loaded");
  }
  if (unselectedEntities > 0) {
    lines.push_back(Entities(unselectedEntities, "") + " on layers left out by the layer selection");
  }
  if (paperSpaceEntities > 0) {
    lines.push_back(Entities(paperSpaceEntities, "") + " in paper space not loaded");
  }
  lines.insert(lines.end(), warnings.begin(), warnings.end());
  return lines;
}

namespace {

// Top-level graphics from which a second thread counts half of them.
constexpr std::size_t kSummarizeInHalvesFrom = 65536;

// The counts and extents of a run of top-level graphics.
LoadSummary SummarizeRun(std::span<const std::shared_ptr<mem::MemGraphic>> graphics) {
  LoadSummary summary;
  // Drawings list graphics of one type in runs: the count of the type met
  // last is kept at hand instead of looked up again.
  const std::string* lastType = nullptr;
  int* lastCount = nullptr;
  for (const auto& g : graphics) {
    if (lastType == nullptr || g->TypeText() != *lastType) {
      lastType = &g->TypeText();
      lastCount = &summary.graphicsByType[*lastType];
    }
    ++*lastCount;
    summary.graphicsAtAnyDepth += CountTree(*g);
    summary.extents = mem::Union(summary.extents, mem::BoundsOf(*g));
  }
  summary.graphicCount = static_cast<int>(graphics.size());
  return summary;
}

}  // namespace

LoadSummary Summarize(const mem::MemDrawing& drawing, LoadReport report) {
  const std::span<const std::shared_ptr<mem::MemGraphic>> all(drawing.List()->Items());
  const std::size_t middle = all.size() >= kSummarizeInHalvesFrom ? all.size() / 2 : all.size();
  LoadSummary summary, later;
  if (middle == all.size()) {
    summary = SummarizeRun(all);
  } else {
    RunSideBySide([&] { summary = SummarizeRun(all.first(middle)); },
                  [&] { later = SummarizeRun(all.subspan(middle)); });
  }
  for (const auto& [type, count] : later.graphicsByType) summary.graphicsByType[type] += count;
  summary.graphicCount += later.graphicCount;
  summary.graphicsAtAnyDepth += later.graphicsAtAnyDepth;
  summary.extents = mem::Union(summary.extents, later.extents);
  summary.report = std::move(report);
  return summary;
}

}  // namespace pphatch::formats
