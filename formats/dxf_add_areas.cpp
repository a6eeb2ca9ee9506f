#include "formats/dxf_add_areas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "formats/dxf_source_scan.h"
#include "formats/hatch_entities.h"

namespace pphatch::formats {

namespace {

// Layer colours (the DXF colour index): hatches grey, boundaries red, labels blue.
constexpr int kGrey = 8, kRed = 1, kBlue = 5;
// A label's text height is this fraction of the smaller side of its area's box.
constexpr double kLabelHeight = 0.05;

// The area's contours as pieces, left out when fewer than three distinct
// points or no curve bound them; empty when the outer contour is left out.
std::vector<TrueContour> Fillable(const PickArea& area) {
  std::vector<TrueContour> rings;
  for (std::size_t i = 0; i < area.contours.size(); ++i) {
    TrueContour ring = i < area.curves.size() ? area.curves[i] : StraightContour(area.contours[i]);
    const bool curved = std::any_of(ring.begin(), ring.end(), [](const ContourPiece& p) { return p.arc; });
    if (!curved && ring.size() < 3) ring.clear();
    if (ring.empty() && i == 0) return {};
    if (!ring.empty()) rings.push_back(std::move(ring));
  }
  return rings;
}

// The width and height of the box of the contours' points (0 when none).
std::array<double, 2> BoxSides(const std::vector<const Contour*>& contours) {
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (const Contour* c : contours) {
    for (const Point2& p : *c) {
      minX = std::min(minX, p[0]), maxX = std::max(maxX, p[0]);
      minY = std::min(minY, p[1]), maxY = std::max(maxY, p[1]);
    }
  }
  if (maxX < minX) return {0, 0};
  return {maxX - minX, maxY - minY};
}

// The size of the box of all areas' points.
double AreasSize(const std::vector<PickArea>& areas) {
  std::vector<const Contour*> all;
  for (const PickArea& area : areas) {
    for (const Contour& c : area.contours) all.push_back(&c);
  }
  const auto sides = BoxSides(all);
  return std::max(sides[0], sides[1]);
}

// A LAYER table entry.
void AddLayer(DxfText& out, EntityContext& context, const DxfSourceMap& map, const char* name,
              int colour) {
  out.Add(0, "LAYER");
  if (map.Modern()) {
    out.Add(5, HandleText(context.TakeHandle()));
    if (!map.layerTableHandle.empty()) out.Add(330, map.layerTableHandle);
    out.Add(100, "AcDbSymbolTableRecord");
    out.Add(100, "AcDbLayerTableRecord");
  }
  out.Add(2, name);
  out.Add(70, 0);
  out.Add(62, colour);
  out.Add(6, "CONTINUOUS");
}

// The name of the n-th anonymous hatch block that no block of the file has.
std::string FreeBlockName(const DxfSourceMap& map, int& n) {
  std::string name = "*X" + std::to_string(n);
  while (map.blocks.count(name)) name = "*X" + std::to_string(++n);
  return name;
}

}  // namespace

std::string AddAreasToDxf(const std::string& source, const std::string& name,
                          const std::vector<PickArea>& areas, const DxfWriteOptions& options,
                          std::vector<std::string>& notes) {
  const DxfSourceMap map = ScanDxfSource(source, name);
  EntityContext context(map.Modern(), map.modelSpace, map.firstFreeHandle);
  HatchFill fill = options.fill;
  if (fill.pattern != "SOLID" && fill.scale <= 0) fill.scale = PatternScale(map.insunits, AreasSize(areas));
  const bool hatches = map.Modern();
  const bool boundaries = options.boundaries;
  if (!hatches && !areas.empty()) {
    // Older files have no HATCH entity: a hatch is a block of its lines,
    // and there is no solid fill.
    if (fill.pattern == "SOLID") {
      notes.push_back("the file is older than AutoCAD R13, which has no solid hatch: "
                      "the areas are hatched with lines");
      fill = HatchFill{};
    }
    if (fill.scale <= 0) fill.scale = PatternScale(map.insunits, AreasSize(areas));
  }

  DxfText entities(map.newline), blocks(map.newline);
  int blockCount = 0;
  for (const PickArea& area : areas) {
    const std::vector<TrueContour> rings = Fillable(area);
    if (rings.empty()) continue;
    if (hatches) {
      AddHatch(entities, context, rings, area.seed, fill);
    } else {
      AddLineHatch(blocks, entities, context, FreeBlockName(map, ++blockCount), rings, fill);
    }
    if (boundaries) {
      for (const TrueContour& ring : rings) AddBoundary(entities, context, ring);
    }
    if (!area.label.empty()) {
      const auto sides = BoxSides({&area.contours[0]});
      const double height = kLabelHeight * std::min(sides[0], sides[1]);
      AddLabel(entities, context, {area.seed[0], area.seed[1] - 2 * height}, height, area.label);
    }
  }
  DxfText layers(map.newline);
  if (map.layerTableEnd != kNowhere) {
    if (!map.layers.count(kHatchLayer)) AddLayer(layers, context, map, kHatchLayer, kGrey);
    if (boundaries && !map.layers.count(kBoundaryLayer)) {
      AddLayer(layers, context, map, kBoundaryLayer, kRed);
    }
    const bool labels = std::any_of(areas.begin(), areas.end(),
                                    [](const PickArea& a) { return !a.label.empty(); });
    if (labels && !map.layers.count(kLabelLayer)) AddLayer(layers, context, map, kLabelLayer, kBlue);
  }

  // A file without a BLOCKS section gets one before its entities.
  std::string blocksText = blocks.Text();
  if (!blocksText.empty() && map.blocksEnd == kNowhere) {
    DxfText head(map.newline), end(map.newline);
    head.Add(0, "SECTION");
    head.Add(2, "BLOCKS");
    end.Add(0, "ENDSEC");
    blocksText = head.Text() + blocksText + end.Text();
  }
  // Edits at offsets of the source, applied from the last to the first so
  // that each offset still points where the scan found it.
  std::vector<std::pair<std::size_t, std::string>> inserts;
  if (map.entitiesEnd != kNowhere) {
    inserts.push_back({map.entitiesEnd, entities.Text()});
  } else if (!entities.Text().empty()) {
    DxfText head(map.newline), end(map.newline);
    head.Add(0, "SECTION");
    head.Add(2, "ENTITIES");
    end.Add(0, "ENDSEC");
    const std::size_t at = map.objectsStart != kNowhere ? map.objectsStart
                           : map.eof != kNowhere        ? map.eof
                                                        : source.size();
    std::string text = head.Text() + entities.Text() + end.Text();
    if (map.blocksEnd == kNowhere) text = std::exchange(blocksText, "") + text;
    inserts.push_back({at, text});
  }
  if (!blocksText.empty()) {
    inserts.push_back({map.blocksEnd != kNowhere ? map.blocksEnd : map.entitiesStart, blocksText});
  }
  if (map.layerTableEnd != kNowhere) inserts.push_back({map.layerTableEnd, layers.Text()});
  std::sort(inserts.begin(), inserts.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });

  std::string out = source;
  bool seedDone = map.handseedValue == kNowhere;
  for (const auto& [at, text] : inserts) {
    if (!seedDone && map.handseedValue > at) {
      out.replace(map.handseedValue, map.handseedLength, HandleText(context.NextHandle()));
      seedDone = true;
    }
    out.insert(at, text);
  }
  if (!seedDone) out.replace(map.handseedValue, map.handseedLength, HandleText(context.NextHandle()));
  return out;
}

}  // namespace pphatch::formats
