#include "memhost/sets.h"

#include <utility>

#include "memhost/arc_shape.h"
#include "memhost/drawing.h"

namespace pphatch::mem {

MemGraphicSets::MemGraphicSets(std::weak_ptr<MemDrawing> drawing,
                               std::shared_ptr<FaultInjector> faults)
    : drawing_(std::move(drawing)), faults_(std::move(faults)) {}

HostGraphicSetPtr MemGraphicSets::Add(const std::string& name, bool /*flag*/) {
  faults_->Enter("HostGraphicSets.Add");
  return std::make_shared<MemGraphicSet>(drawing_, faults_, name);
}

MemGraphicSet::MemGraphicSet(std::weak_ptr<MemDrawing> drawing,
                             std::shared_ptr<FaultInjector> faults, std::string name)
    : drawing_(std::move(drawing)), faults_(std::move(faults)), name_(std::move(name)) {}

std::shared_ptr<MemDrawing> MemGraphicSet::DrawingOrThrow() const {
  auto drawing = drawing_.lock();
  if (!drawing) throw HostError("the drawing of this set is gone");
  return drawing;
}

int MemGraphicSet::Count() {
  faults_->Enter("HostGraphicSet.Count");
  return static_cast<int>(members_.size());
}

HostGraphicPtr MemGraphicSet::Item(int index) {
  faults_->Enter("HostGraphicSet.Item");
  if (index < 0 || index >= static_cast<int>(members_.size())) {
    throw HostError("set index out of range");
  }
  return members_[static_cast<std::size_t>(index)];
}

void MemGraphicSet::AddGraphic(const HostGraphicPtr& graphic) {
  faults_->Enter("HostGraphicSet.AddGraphic");
  if (!graphic) throw HostError("no graphic to add");
  members_.push_back(graphic);
}

HostGraphicPtr MemGraphicSet::Add(int kind) {
  faults_->Enter("HostGraphicSet.Add");
  if (kind != kContainerKind && kind != kChainKind) throw HostError("unknown graphic kind");
  auto graphic = DrawingOrThrow()->CreateGraphic("GRAPHIC");
  members_.push_back(graphic);
  return graphic;
}

HostGraphicPtr MemGraphicSet::AddArcThroughPoints(double sx, double sy, double sz, double mx,
                                                  double my, double mz, double ex, double ey,
                                                  double ez) {
  faults_->Enter("HostGraphicSet.AddArcThroughPoints");
  const auto arc = ArcThroughPoints({sx, sy}, {mx, my}, {ex, ey});
  if (!arc) throw HostError("no arc through these points");
  auto graphic = DrawingOrThrow()->CreateGraphic("ARC");
  graphic->SetShape(arc->shape);
  // The end vertices keep the caller's exact points.
  const Vec3 first = arc->reversed ? Vec3{ex, ey, ez} : Vec3{sx, sy, sz};
  const Vec3 last = arc->reversed ? Vec3{sx, sy, sz} : Vec3{ex, ey, ez};
  const VertexData centre = graphic->VertexList()[0];
  const VertexData middle = graphic->VertexList()[3];
  graphic->SetVertexList({{centre.x, centre.y, mz},
                          {first.x, first.y, first.z},
                          {last.x, last.y, last.z},
                          {middle.x, middle.y, mz}});
  members_.push_back(graphic);
  return graphic;
}

void MemGraphicSet::Clear() {
  faults_->Enter("HostGraphicSet.Clear");
  members_.clear();
}

}  // namespace pphatch::mem
