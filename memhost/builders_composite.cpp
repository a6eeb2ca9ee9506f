// Builders of composite graphics and of the kinds that never bound an area.
#include <cmath>
#include <utility>

#include "memhost/builders.h"
#include "memhost/graphic_copy.h"

namespace pphatch::mem {

namespace {

// The ring with its first point repeated at the end, unless it is already.
std::vector<Vec2> ClosedRing(std::vector<Vec2> ring) {
  if (!ring.empty() && !(ring.back() == ring.front())) ring.push_back(ring.front());
  return ring;
}

}  // namespace

GraphicPtr AddGroup(const Into& into) { return AddContainer(into, "GRAPHIC"); }
GraphicPtr AddData(const Into& into) { return AddContainer(into, "DATA"); }
GraphicPtr AddContainer(const Into& into, const std::string& type) {
  return into.Put(into.Make(type));
}
GraphicPtr AddWall(const Into& into) { return AddContainer(into, "PWW60Wall"); }
GraphicPtr AddDoubleLine(const Into& into) { return AddContainer(into, "PWW25DblLine"); }
GraphicPtr AddMultiline(const Into& into) { return AddContainer(into, "PW_Multiline"); }
GraphicPtr AddDrafting(const Into& into) { return AddContainer(into, "PWDrafting"); }
GraphicPtr AddRegion(const Into& into) { return AddContainer(into, "PWW70Region"); }

GraphicPtr NewBlock(MemDrawing& drawing) { return drawing.CreateGraphic("BLOCK"); }

GraphicPtr AddInsert(const Into& into, const GraphicPtr& block, const Placement& placement) {
  return AddMappedInsert(into, block, placement.Map());
}

GraphicPtr AddMappedInsert(const Into& into, const GraphicPtr& block, const Affine2& map) {
  // A flattening map would squash circles to segments the shapes cannot hold.
  if (map.Determinant() == 0) throw HostError("an insert needs non-zero scales");
  auto insert = into.Put(into.Make("INSERT"));
  for (const auto& part : block->ChildItems()) {
    insert->Children().Append(CopyGraphic(*part, into.Drawing(), &map));
  }
  return insert;
}

GraphicPtr AddText(const Into& into, double textMode,
                   const std::vector<std::vector<Vec2>>& letters) {
  auto text = into.Put(into.Make("TEXT"));
  text->Props().Define("TextMode", textMode);
  std::vector<ChainPoint> outline;
  for (const auto& letter : letters) {
    if (letter.empty()) continue;
    for (std::size_t k = 0; k < letter.size(); ++k) {
      outline.push_back({letter[k].x, letter[k].y, !(k == 0 && !outline.empty()), false});
    }
    if (!(letter.back() == letter.front())) outline.push_back({letter[0].x, letter[0].y});
  }
  AddFlaggedChain(text, outline);
  return text;
}

GraphicPtr AddCosmeticChild(const GraphicPtr& graphic, const std::string& info,
                            const std::vector<Vec2>& outline, bool closed) {
  auto child = AddChain(graphic, outline, closed);
  child->Props().Define("Info", info);
  child->SetInfoText(info);
  return child;
}

GraphicPtr AddIntProp(const Into& into, const std::string& info, const std::vector<Vec2>& own,
                      const std::vector<Vec2>& outline, bool closed) {
  auto g = AddTyped(into, "PWW50IntProp", own, closed);
  AddCosmeticChild(g, info, outline, closed);
  return g;
}

GraphicPtr AddHatch(const Into& into, const std::vector<Vec2>& ring, const std::string& brush) {
  auto hatch = AddTyped(into, "GRAPHIC", ClosedRing(ring), true);
  hatch->SetInfoText("Hatch");
  hatch->Props().Define("BrushStyle", brush);
  return hatch;
}

GraphicPtr AddDimension(const Into& into, Vec2 a, Vec2 b, double offset) {
  auto dim = AddContainer(into, "PWW25DimLin");
  const Vec2 d = b - a;
  const double len = Length(d);
  const Vec2 off = len > 0 ? (offset / len) * Vec2{-d.y, d.x} : Vec2{0, offset};
  AddLine(dim, a, a + off);
  AddLine(dim, b, b + off);
  AddLine(dim, a + off, b + off);
  return dim;
}

GraphicPtr AddPoint(const Into& into, Vec2 p) { return AddTyped(into, "PWW30POINT", {p}); }

GraphicPtr AddSolid(const Into& into, Vec2 min, Vec2 max) {
  return AddTyped(into, "PWW40CUBE", {min, {max.x, min.y}, max, {min.x, max.y}, min}, true);
}

GraphicPtr AddSurface(const Into& into, const std::vector<Vec2>& ring) {
  return AddTyped(into, "SURFACE", ClosedRing(ring), true);
}

}  // namespace pphatch::mem
