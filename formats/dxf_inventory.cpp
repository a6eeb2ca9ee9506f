#include "formats/dxf_inventory.h"

#include <algorithm>
#include <array>

namespace pphatch::formats {

std::string UnitsName(int insUnits) {
  static constexpr std::array<const char*, 21> kNames = {
      "unitless",    "inches",     "feet",        "miles",       "millimeters", "centimeters",
      "meters",      "kilometers", "microinches", "mils",        "yards",       "angstroms",
      "nanometers",  "microns",    "decimeters",  "decameters",  "hectometers", "gigameters",
      "astronomical units", "light years", "parsecs"};
  if (insUnits < 0 || insUnits >= static_cast<int>(kNames.size())) return kNames[0];
  return kNames[static_cast<std::size_t>(insUnits)];
}

FileContents DxfContents(const DxfDocument& document, const LayerFilter& filter) {
  FileContents contents;
  contents.format = "DXF";
  if (document.insUnits) contents.units = UnitsName(*document.insUnits);
  contents.thicknessExcludes = document.tileMode.value_or(0) == 1;
  contents.blocks = static_cast<int>(document.blocks.size());
  contents.noEntitiesSection = !document.hasEntitiesSection;
  // Layers of the table first, so that the names keep the table's spelling.
  std::map<std::string, std::string> spelling;  // key -> name as written
  for (const auto& [key, layer] : document.layers) {
    spelling[key] = layer.name;
    LayerSummary& summary = contents.layers[layer.name];
    summary.off = layer.off;
    summary.frozen = layer.frozen;
  }
  // Entities come in runs of one name and one layer: the counts of the
  // entity before are kept at hand instead of looked up again.
  const DxfEntity* previous = nullptr;
  int* byName = nullptr;
  int* onLayer = nullptr;
  for (const DxfEntity& e : document.entities) {
    if (e.paperSpace) continue;
    if (!previous || e.name != previous->name) byName = &contents.entitiesByName[e.name];
    if (!previous || e.layer != previous->layer) {
      const auto known = spelling.try_emplace(NameKey(e.layer), e.layer).first;
      onLayer = &contents.layers[known->second].entities;
    }
    previous = &e;
    ++*byName;
    if (e.thickness != 0) ++contents.thickEntities;
    ++*onLayer;
  }
  for (auto& [name, layer] : contents.layers) layer.unselected = !filter.Keeps(name);
  return contents;
}

void LeaveOutLayers(DxfDocument& document, const LayerFilter& filter) {
  if (filter.KeepsAll()) return;
  int& count = document.report.unselectedEntities;
  const auto leaveOut = [&](std::vector<DxfEntity>& entities, bool inBlock) {
    const auto end = std::remove_if(entities.begin(), entities.end(), [&](const DxfEntity& e) {
      if (e.paperSpace && !inBlock) return false;  // counted as paper space when placed
      if (inBlock && e.layer == "0") return false;
      return !filter.Keeps(e.layer);
    });
    count += static_cast<int>(entities.end() - end);
    entities.erase(end, entities.end());
  };
  for (std::vector<DxfEntity>& run : document.entities.AllRuns()) leaveOut(run, false);
  for (auto& [key, block] : document.blocks) leaveOut(block.entities, true);
}

}  // namespace pphatch::formats
