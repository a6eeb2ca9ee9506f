#include "formats/dxf_add_areas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "formats/dxf_source_scan.h"
#include "formats/hatch_entities.h"

namespace pphatch::formats {

namespace {

// Layer colours (the DXF colour index): hatches grey, boundaries red, labels
// blue, gap marks magenta.
constexpr int kGrey = 8, kRed = 1, kBlue = 5, kMagenta = 6;
// A gap's circle is at least this share of the areas' extent wide, so that
// the smallest gaps still show.
constexpr double kGapMarkShare = 0.005;
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

// What is added to a file, as DXF text.
struct Additions {
  DxfText entities, blocks, layers;
  std::uint64_t nextHandle;  ///< the new $HANDSEED
};

// A whole section holding the body.
std::string Section(const char* name, const std::string& body, const std::string& newline) {
  DxfText head(newline), end(newline);
  head.Add(0, "SECTION");
  head.Add(2, name);
  end.Add(0, "ENDSEC");
  return head.Text() + body + end.Text();
}

// The source with the additions where the scan found their places: the
// entities at the end of ENTITIES, the blocks at the end of BLOCKS, the
// layers at the end of the LAYER table (new sections where a file has
// none), and the new handle seed.
std::string Place(const std::string& source, const DxfSourceMap& map, const Additions& add) {
  const std::string& nl = map.newline;
  std::string blocks = add.blocks.Text();
  if (!blocks.empty() && map.blocksEnd == kNowhere) blocks = Section("BLOCKS", blocks, nl);
  // Edits at offsets of the source, applied from the last to the first so
  // that each offset still points where the scan found it.
  struct Edit {
    std::size_t at;
    std::string text;     ///< inserted at `at`
    bool seed = false;    ///< instead: the handle seed's value, which starts at `at`, replaced
  };
  std::vector<Edit> inserts;
  if (map.entitiesEnd != kNowhere) {
    inserts.push_back({map.entitiesEnd, add.entities.Text()});
  } else {
    const std::size_t at = map.objectsStart != kNowhere ? map.objectsStart
                           : map.eof != kNowhere        ? map.eof
                                                        : source.size();
    std::string text = Section("ENTITIES", add.entities.Text(), nl);
    // Blocks come before the entities that insert them.
    if (map.blocksEnd == kNowhere) text = std::exchange(blocks, "") + text;
    inserts.push_back({at, text});
  }
  if (!blocks.empty()) {
    inserts.push_back({map.blocksEnd != kNowhere ? map.blocksEnd : map.entitiesStart, blocks});
  }
  if (map.layerTableEnd != kNowhere) inserts.push_back({map.layerTableEnd, add.layers.Text()});
  if (map.handseedValue != kNowhere) inserts.push_back({map.handseedValue, "", true});
  std::sort(inserts.begin(), inserts.end(), [](const Edit& a, const Edit& b) { return a.at > b.at; });

  std::string out = source;
  for (const Edit& edit : inserts) {
    if (edit.seed) {
      out.replace(edit.at, map.handseedLength, HandleText(add.nextHandle));
    } else {
      out.insert(edit.at, edit.text);
    }
  }
  return out;
}

// The width or height of the box of the areas and the gaps, whichever is larger.
double Extent(const std::vector<PickArea>& areas, const std::vector<GapMark>& gaps) {
  std::vector<Contour> ends;
  std::vector<const Contour*> contours;
  for (const PickArea& area : areas) {
    for (const Contour& c : area.contours) contours.push_back(&c);
  }
  for (const GapMark& gap : gaps) ends.push_back({gap.from, gap.to});
  for (const Contour& c : ends) contours.push_back(&c);
  const auto sides = BoxSides(contours);
  return std::max(sides[0], sides[1]);
}

// A circle round each gap with its size beside it, and each bridge an area
// runs along as a line, on the gap layer.
void AddGapMarks(DxfText& out, EntityContext& context, const std::vector<GapMark>& gaps,
                 double extent) {
  for (const GapMark& gap : gaps) {
    const double x = (gap.from[0] + gap.to[0]) / 2, y = (gap.from[1] + gap.to[1]) / 2;
    const double r = std::max(gap.size, kGapMarkShare * extent);
    if (gap.bridged) {
      context.Begin(out, "LINE", kGapLayer);
      if (context.Modern()) out.Add(100, "AcDbLine");
      out.Add(10, gap.from[0]);
      out.Add(20, gap.from[1]);
      out.Add(30, 0.0);
      out.Add(11, gap.to[0]);
      out.Add(21, gap.to[1]);
      out.Add(31, 0.0);
    }
    context.Begin(out, "CIRCLE", kGapLayer);
    if (context.Modern()) out.Add(100, "AcDbCircle");
    out.Add(10, x);
    out.Add(20, y);
    out.Add(30, 0.0);
    out.Add(40, r);
    char size[32];
    std::snprintf(size, sizeof size, "%.6g", gap.size);
    AddLabel(out, context, {x + r, y + r}, r, size, kGapLayer);
  }
}

}  // namespace

std::string AddAreasToDxf(const std::string& source, const std::string& name,
                          const std::vector<PickArea>& areas, const DxfWriteOptions& options,
                          std::vector<std::string>& notes) {
  const DxfSourceMap map = ScanDxfSource(source, name);
  EntityContext context(map.Modern(), map.modelSpace, map.firstFreeHandle);
  const bool hatches = map.Modern();
  HatchFill fill = options.fill;
  if (!hatches && fill.pattern == "SOLID" && !areas.empty()) {
    // Older files have no HATCH entity: a hatch is a block of its lines.
    notes.push_back("the file is older than AutoCAD R13, which has no solid hatch: "
                    "the areas are hatched with lines");
    fill = HatchFill{};
  }
  if (fill.pattern != "SOLID" && fill.scale <= 0) fill.scale = PatternScale(map.insunits, AreasSize(areas));

  Additions add{DxfText(map.newline), DxfText(map.newline), DxfText(map.newline), 0};
  int blockCount = 0;
  bool labels = false;
  for (const PickArea& area : areas) {
    const std::vector<TrueContour> rings = Fillable(area);
    if (rings.empty()) continue;
    if (hatches) {
      AddHatch(add.entities, context, rings, area.seed, fill);
    } else {
      AddLineHatch(add.blocks, add.entities, context, FreeBlockName(map, ++blockCount), rings, fill);
    }
    if (options.boundaries) {
      for (const TrueContour& ring : rings) AddBoundary(add.entities, context, ring);
    }
    if (!area.label.empty()) {
      const auto sides = BoxSides({&area.contours[0]});
      const double height = kLabelHeight * std::min(sides[0], sides[1]);
      AddLabel(add.entities, context, {area.seed[0], area.seed[1] - 2 * height}, height, area.label);
      labels = true;
    }
  }
  AddGapMarks(add.entities, context, options.gaps, Extent(areas, options.gaps));
  if (add.entities.Text().empty()) return source;  // nothing to add
  if (map.layerTableEnd != kNowhere) {
    if (!map.layers.count(kHatchLayer)) AddLayer(add.layers, context, map, kHatchLayer, kGrey);
    if (options.boundaries && !map.layers.count(kBoundaryLayer)) {
      AddLayer(add.layers, context, map, kBoundaryLayer, kRed);
    }
    if (labels && !map.layers.count(kLabelLayer)) AddLayer(add.layers, context, map, kLabelLayer, kBlue);
    if (!options.gaps.empty() && !map.layers.count(kGapLayer)) {
      AddLayer(add.layers, context, map, kGapLayer, kMagenta);
    }
  }
  add.nextHandle = context.NextHandle();
  return Place(source, map, add);
}

}  // namespace pphatch::formats
