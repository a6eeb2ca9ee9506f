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

/// A text of the drawing, placed: it bounds nothing but is worth showing.
struct PlacedText {
  double x = 0, y = 0;  ///< insertion point, drawing coordinates
  double height = 0;    ///< letter height, drawing units
  std::string text;
};

/// What a reader could not turn into graphics. The caller prints Lines()
/// (to stderr, say); nothing is dropped without being counted here.
struct LoadReport {
  /// Entities that were not understood, by entity name ("MTEXT" -> 12).
  std::map<std::string, int> ignored;
  /// Entities on layers that are off or frozen, not loaded.
  int hiddenEntities = 0;
  /// Entities of paper space (layouts), not loaded: only model space is read.
  int paperSpaceEntities = 0;
  /// Entities on layers that the layer selection leaves out, not loaded
  /// (those of block definitions included).
  int unselectedEntities = 0;
  /// The texts among the ignored entities, placed, for pictures.
  std::vector<PlacedText> texts;
  /// A limit of the reader (the depth of nested inserts) left geometry out.
  bool limitReached = false;
  /// Other findings, one sentence each ("INSERT of unknown block 'DOOR' left out").
  std::vector<std::string> warnings;

  /// Counts one entity that was not understood.
  void Ignore(const std::string& entityName) { ++ignored[entityName]; }
  /// One line per finding: "12 MTEXT entities ignored", then the warnings.
  std::vector<std::string> Lines() const;
  /// Adds the findings of a report on a later part of the same file.
  void Append(LoadReport&& later);
};

/// A layer of the file: its top-level model-space entities and its states.
struct LayerSummary {
  int entities = 0;
  bool off = false;
  bool frozen = false;
  bool unselected = false;  ///< left out by the layer selection
};

/// What the file holds in its own format's words, read before loading.
struct FileContents {
  /// "DXF" or "JSON".
  std::string format;
  /// Top-level model-space entities by the file's name for them ("LWPOLYLINE" -> 12).
  std::map<std::string, int> entitiesByName;
  /// The layers by name as the file writes it (DXF only).
  std::map<std::string, LayerSummary> layers;
  /// The drawing units ("millimeters"), "unitless", or empty when the file does not say.
  std::string units;
  /// Top-level model-space entities with a thickness.
  int thickEntities = 0;
  /// Entities with a thickness bound no area (the drawing is shown in model space).
  bool thicknessExcludes = false;
  /// Block definitions.
  int blocks = 0;
  /// The file has no ENTITIES section (it holds blocks, tables or nothing).
  bool noEntitiesSection = false;
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
  FileContents contents;
};

/// A drawing read from a file, with its summary.
struct LoadedDrawing {
  std::shared_ptr<mem::MemDrawing> drawing;
  LoadSummary summary;
};

/// The summary of a drawing, carrying the reader's report.
LoadSummary Summarize(const mem::MemDrawing& drawing, LoadReport report = {});

}  // namespace pphatch::formats
