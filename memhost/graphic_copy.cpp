#include "memhost/graphic_copy.h"

#include <utility>
#include <vector>

#include "memhost/arc_shape.h"
#include "memhost/chain_map.h"
#include "memhost/drawing.h"
#include "memhost/graphic.h"

namespace pphatch::mem {

namespace {

// The vertices of a "CIRCLE" or "ARC" under the map, its layout rewritten
// from the placed shape unless the map keeps it (a similarity that does not
// mirror): then the mapped vertices are already where the layout wants them.
std::vector<VertexData> PlacedLayout(std::vector<VertexData> vertices, const ArcShape& placed,
                                     const Affine2& map) {
  for (VertexData& v : vertices) {
    const Vec2 p = map.Apply({v.x, v.y});
    v.x = p.x;
    v.y = p.y;
  }
  if (map.IsSimilarity() && map.Determinant() > 0) return vertices;
  const std::vector<Vec2> layout = placed.Layout();
  if (vertices.size() < layout.size()) vertices.resize(layout.size());
  for (std::size_t k = 0; k < layout.size(); ++k) {
    vertices[k].x = layout[k].x;
    vertices[k].y = layout[k].y;
  }
  return vertices;
}

// A copy of the graphic alone, without its children.
std::shared_ptr<MemGraphic> CopyOne(const MemGraphic& source, MemDrawing& drawing,
                                    const Affine2* map) {
  auto copy = drawing.CreateGraphic(source.TypeText(), source.Plane());
  copy->SetInfoText(source.Info());
  copy->SetIgnored(source.Ignored());
  copy->SetClosedFlag(source.IsClosed());
  copy->Props() = source.Props().Clone();
  if (!map) {
    copy->SetVertexList(source.VertexList());
    if (source.Shape()) copy->SetShape(*source.Shape(), false);
  } else if (source.Shape()) {
    const ArcShape placed = Transformed(*source.Shape(), *map);
    copy->SetVertexList(PlacedLayout(source.VertexList(), placed, *map));
    copy->SetShape(placed, false);
  } else {
    copy->SetVertexList(MappedChain(source.VertexList(), *map));
  }
  return copy;
}

}  // namespace

// Copies the tree parents before children, depth first, in order, so that
// IDs are given out as a recursive copy would. The walk keeps its own stack,
// so that any nesting depth fits.
std::shared_ptr<MemGraphic> CopyGraphic(const MemGraphic& source, MemDrawing& drawing,
                                        const Affine2* map) {
  // Every copy is made first, parents before children, with its parent's
  // position in `copies`. Children are attached afterwards, deepest first:
  // attaching tells the parent's holders that its geometry changed, and a
  // parent not yet attached itself has no holders, so that costs nothing
  // however deep the tree is.
  std::vector<std::pair<std::shared_ptr<MemGraphic>, std::ptrdiff_t>> copies;
  std::vector<std::pair<const MemGraphic*, std::ptrdiff_t>> pending{{&source, -1}};
  while (!pending.empty()) {
    const auto [from, parent] = pending.back();
    pending.pop_back();
    copies.emplace_back(CopyOne(*from, drawing, map), parent);
    const auto self = static_cast<std::ptrdiff_t>(copies.size()) - 1;
    const auto& children = from->ChildItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it) pending.emplace_back(it->get(), self);
  }
  // Walking the copies backwards meets a parent's children last one first;
  // they are appended in their order once the parent itself is reached.
  std::vector<std::vector<std::shared_ptr<MemGraphic>>> children(copies.size());
  for (auto k = copies.size(); k-- > 0;) {
    auto& [copy, parent] = copies[k];
    auto& mine = children[k];
    for (auto it = mine.rbegin(); it != mine.rend(); ++it) copy->Children().Append(*it);
    mine.clear();
    if (parent >= 0) children[static_cast<size_t>(parent)].push_back(copy);
  }
  return copies[0].first;
}

std::shared_ptr<MemGraphic> CopyGraphic(const MemGraphic& source, MemDrawing& drawing,
                                        const Placement* placement) {
  if (!placement) return CopyGraphic(source, drawing, static_cast<const Affine2*>(nullptr));
  const Affine2 map = placement->Map();
  return CopyGraphic(source, drawing, &map);
}

}  // namespace pphatch::mem
