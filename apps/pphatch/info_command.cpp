// `pphatch info`: what a drawing holds, in its format's words, and what of
// it will never bound an area, and why.
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli_error.h"
#include "commands.h"
#include "load.h"

namespace pphatch::cli {

namespace {

// A coordinate in short form.
std::string Short(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// "1 TEXT entity" or "4 TEXT entities".
std::string Entities(int count, const std::string& name) {
  return std::to_string(count) + (name.empty() ? "" : " " + name) + (count == 1 ? " entity" : " entities");
}

// A name padded to a column, then the count.
void Row(const std::string& name, int count, const std::string& note = "") {
  std::cout << "    " << name << std::string(name.size() < 16 ? 16 - name.size() : 1, ' ') << count
            << (note.empty() ? "" : "  " + note) << '\n';
}

// Why the DXF entities of a kind that is loaded never bound an area.
const std::map<std::string, std::string>& NeverBounding() {
  static const std::map<std::string, std::string> reasons{
      {"DIMENSION", "dimensions"}, {"LEADER", "leaders"},     {"HATCH", "hatches"},
      {"POINT", "points"},         {"SOLID", "filled solids"}, {"TRACE", "traces"},
      {"3DFACE", "3D faces"},      {"3DSOLID", "3D solids"},   {"REGION", "regions"},
      {"BODY", "bodies"},          {"SURFACE", "surfaces"},
  };
  return reasons;
}

// The states of a layer: "off, frozen, left out".
std::string States(const formats::LayerSummary& layer) {
  std::string states;
  const auto add = [&](bool on, const char* word) {
    if (on) states += (states.empty() ? "" : ", ") + std::string(word);
  };
  add(layer.off, "off");
  add(layer.frozen, "frozen");
  add(layer.unselected, "ignored");
  return states;
}

// One line for each group of entities that will not bound an area, with the reason.
std::vector<std::string> NotBounding(const formats::LoadSummary& summary) {
  const formats::FileContents& contents = summary.contents;
  const formats::LoadReport& report = summary.report;
  std::vector<std::string> lines;
  if (contents.noEntitiesSection) {
    lines.push_back(contents.blocks > 0 ? "no drawing entities: the file holds only blocks"
                                        : "no drawing entities: the file has no ENTITIES section");
  }
  for (const auto& [name, count] : contents.entitiesByName) {
    const auto reason = NeverBounding().find(name);
    if (reason != NeverBounding().end()) {
      lines.push_back(Entities(count, name) + ": " + reason->second + " never bound an area");
    }
  }
  for (const auto& [name, count] : report.ignored) {
    const bool text = name == "TEXT" || name == "MTEXT" || name == "ATTRIB" || name == "ATTDEF";
    lines.push_back(Entities(count, name) + (text ? ": text never bounds an area" : ": not read"));
  }
  if (contents.thickEntities > 0 && contents.thicknessExcludes) {
    lines.push_back(Entities(contents.thickEntities, "") +
                    " with a thickness: in model space they are walls seen from above, not outlines");
  }
  if (report.hiddenEntities > 0) {
    lines.push_back(Entities(report.hiddenEntities, "") + " on layers that are off or frozen: not loaded");
  }
  if (report.unselectedEntities > 0) {
    lines.push_back(Entities(report.unselectedEntities, "") + " on layers left out by the layer options");
  }
  if (report.paperSpaceEntities > 0) {
    lines.push_back(Entities(report.paperSpaceEntities, "") + " in paper space: only model space is read");
  }
  lines.insert(lines.end(), report.warnings.begin(), report.warnings.end());
  return lines;
}

// The graphics as the in-memory host holds them.
void PrintHostKinds(const formats::LoadSummary& summary) {
  std::cout << "  graphics as loaded: " << summary.graphicCount << " top-level, "
            << summary.graphicsAtAnyDepth << " at any depth\n";
  for (const auto& [type, count] : summary.graphicsByType) Row(type, count);
}

}  // namespace

int RunInfoCommand(const InfoOptions& options) {
  const formats::LoadedDrawing loaded = LoadDrawing(options.drawing, options.layers.Filter());
  const formats::LoadSummary& summary = loaded.summary;
  const formats::FileContents& contents = summary.contents;
  std::cout << options.drawing << " (" << contents.format << ", units: "
            << (contents.units.empty() ? "not stated" : contents.units) << ")\n";
  if (contents.format == "DXF") {
    int total = 0;
    for (const auto& [name, count] : contents.entitiesByName) total += count;
    std::cout << "  entities in model space: " << total << '\n';
    for (const auto& [name, count] : contents.entitiesByName) Row(name, count);
    std::cout << "  layers: " << contents.layers.size() << '\n';
    for (const auto& [name, layer] : contents.layers) Row(name, layer.entities, States(layer));
    if (contents.blocks > 0) std::cout << "  blocks: " << contents.blocks << '\n';
    if (options.verbose) PrintHostKinds(summary);
  } else {
    PrintHostKinds(summary);
  }
  if (summary.extents) {
    const mem::Box& b = *summary.extents;
    std::cout << "  extents: x " << Short(b.minX) << " .. " << Short(b.maxX) << ", y "
              << Short(b.minY) << " .. " << Short(b.maxY) << " (" << Short(b.maxX - b.minX)
              << " x " << Short(b.maxY - b.minY) << ")\n";
  } else {
    std::cout << "  extents: none (no geometry)\n";
  }
  const std::vector<std::string> lines = NotBounding(summary);
  if (lines.empty()) {
    std::cout << "  everything loaded can bound an area\n";
  } else {
    std::cout << "  will not bound an area:\n";
    for (const std::string& line : lines) std::cout << "    " << line << '\n';
  }
  return kExitAllFound;
}

}  // namespace pphatch::cli
