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
  auto root = CopyOne(source, drawing, map);
  // Graphics still to copy, each with the copy that receives it as a child.
  std::vector<std::pair<const MemGraphic*, MemGraphic*>> pending;
  const auto pushChildren = [&pending](const MemGraphic& from, MemGraphic* to) {
    const auto& children = from.ChildItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it) pending.emplace_back(it->get(), to);
  };
  pushChildren(source, root.get());
  while (!pending.empty()) {
    const auto [from, parent] = pending.back();
    pending.pop_back();
    auto copy = CopyOne(*from, drawing, map);
    parent->Children().Append(copy);
    pushChildren(*from, copy.get());
  }
  return root;
}

std::shared_ptr<MemGraphic> CopyGraphic(const MemGraphic& source, MemDrawing& drawing,
                                        const Placement* placement) {
  if (!placement) return CopyGraphic(source, drawing, static_cast<const Affine2*>(nullptr));
  const Affine2 map = placement->Map();
  return CopyGraphic(source, drawing, &map);
}

}  // namespace pphatch::mem
