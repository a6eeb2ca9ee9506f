#include "memhost/graphic_copy.h"

#include "memhost/drawing.h"
#include "memhost/graphic.h"

namespace pphatch::mem {

std::shared_ptr<MemGraphic> CopyGraphic(const MemGraphic& source, MemDrawing& drawing,
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
  for (const auto& child : source.ChildItems()) {
    copy->Children().Append(CopyGraphic(*child, drawing, placement));
  }
  return copy;
}

}  // namespace pphatch::mem
