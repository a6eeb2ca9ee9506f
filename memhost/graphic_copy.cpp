#include "memhost/graphic_copy.h"

#include <utility>
#include <vector>

#include "memhost/drawing.h"
#include "memhost/graphic.h"

namespace pphatch::mem {

namespace {

// A copy of the graphic alone, without its children.
std::shared_ptr<MemGraphic> CopyOne(const MemGraphic& source, MemDrawing& drawing,
                                    const Placement* placement) {
  auto copy = drawing.CreateGraphic(source.TypeText(), source.Plane());
  copy->SetInfoText(source.Info());
  copy->SetIgnored(source.Ignored());
  copy->SetClosedFlag(source.IsClosed());
  copy->Props() = source.Props().Clone();
  std::vector<VertexData> vertices = source.VertexList();
  if (placement) {
    for (VertexData& v : vertices) {
      const Vec2 p = placement->Apply({v.x, v.y});
      v.x = p.x;
      v.y = p.y;
    }
  }
  copy->SetVertexList(std::move(vertices));
  if (source.Shape()) {
    copy->SetShape(placement ? Transformed(*source.Shape(), *placement) : *source.Shape(), false);
  }
  return copy;
}

}  // namespace

// Copies the tree parents before children, depth first, in order, so that
// IDs are given out as a recursive copy would. The walk keeps its own stack,
// so that any nesting depth fits.
std::shared_ptr<MemGraphic> CopyGraphic(const MemGraphic& source, MemDrawing& drawing,
                                        const Placement* placement) {
  auto root = CopyOne(source, drawing, placement);
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
    auto copy = CopyOne(*from, drawing, placement);
    parent->Children().Append(copy);
    pushChildren(*from, copy.get());
  }
  return root;
}

}  // namespace pphatch::mem
