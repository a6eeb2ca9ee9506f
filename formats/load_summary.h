// What a reader loaded: counts by graphic kind, extents, and what it left out.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "memhost/drawing.h"
#include "memhost/outline.h"

namespace pphatch::formats {

/// Most graphics a reader makes of one file (inserts of blocks multiply);
/// a file that would make more is refused rather than exhausting memory.
inline constexpr double kMaxLoadedGraphics = 1'000'000;

/// What a reader could not turn into graphics. The caller prints Lines()
/// (to stderr, say); nothing is dropped without being counted here.
struct LoadReport {
  /// Entities that were not understood, by entity name ("MTEXT" -> 12).
  std::map<std::string, int> ignored;
  /// Entities on layers that are off or frozen, not loaded.
  int hiddenEntities = 0;
  /// Entities of paper space (layouts), not loaded: only model space is read.
  int paperSpaceEntities = 0;
  /// Other findings, one sentence each ("INSERT of unknown block 'DOOR' left out").
  std::vector<std::string> warnings;

  /// Counts one entity that was not understood.
  void Ignore(const std::string& entityName) { ++ignored[entityName]; }
  /// One line per finding: "12 MTEXT entities ignored", then the warnings.
  std::vector<std::string> Lines() const;
};

/// Counts and extents of a loaded drawing, for an "info" listing.
struct LoadSummary {
  /// Top-level graphics by type name ("GRAPHIC" -> 40, "CIRCLE" -> 3).
  std::map<std::string, int> graphicsByType;
  /// Top-level graphics in all.
  int graphicCount = 0;
  /// Graphics at any depth (children of inserts, groups, walls... included).
  int graphicsAtAnyDepth = 0;
  /// Box of all drawn geometry; nothing for a drawing without geometry.
  std::optional<mem::Box> extents;
  LoadReport report;
};

/// A drawing read from a file, with its summary.
struct LoadedDrawing {
  std::shared_ptr<mem::MemDrawing> drawing;
  LoadSummary summary;
};

/// The summary of a drawing, carrying the reader's report.
LoadSummary Summarize(const mem::MemDrawing& drawing, LoadReport report = {});

}  // namespace pphatch::formats
