#include "memhost/graphics.h"

#include <algorithm>
#include <utility>

#include "memhost/drawing.h"
#include "memhost/graphic.h"
#include "memhost/outline.h"
#include "memhost/pick_index.h"
#include "memhost/vertices.h"

namespace pphatch::mem {

namespace {

// A bounding box whose corners are free vertices.
class MemBoundingBox : public HostBoundingBox {
 public:
  MemBoundingBox(Vec3 min, Vec3 max, std::shared_ptr<FaultInjector> faults)
      : min_(min), max_(max), faults_(std::move(faults)) {}
  HostVertexPtr Min() override {
    faults_->Enter("HostBoundingBox.Min");
    return std::make_shared<PointVertex>(min_, faults_);
  }
  HostVertexPtr Max() override {
    faults_->Enter("HostBoundingBox.Max");
    return std::make_shared<PointVertex>(max_, faults_);
  }

 private:
  Vec3 min_, max_;
  std::shared_ptr<FaultInjector> faults_;
};

}  // namespace

MemGraphics::MemGraphics(std::weak_ptr<MemDrawing> drawing, std::shared_ptr<FaultInjector> faults,
                         std::weak_ptr<MemGraphic> parent, std::shared_ptr<PickIndex> index)
    : drawing_(std::move(drawing)),
      faults_(std::move(faults)),
      parent_(std::move(parent)),
      index_(std::move(index)) {
  if (const auto p = parent_.lock()) parentId_ = p->Id();
}

void MemGraphics::Enter(const char* operation) const { faults_->Enter(operation, parentId_); }

int MemGraphics::Count() {
  Enter("HostGraphics.Count");
  return static_cast<int>(items_.size());
}

HostGraphicPtr MemGraphics::Item(int index) {
  Enter("HostGraphics.Item");
  if (index < 0 || index >= static_cast<int>(items_.size())) {
    throw HostError("graphic index out of range");
  }
  return items_[static_cast<std::size_t>(index)];
}

HostGraphicPtr MemGraphics::Add(int kind) {
  Enter("HostGraphics.Add");
  if (kind != kContainerKind && kind != kChainKind) throw HostError("unknown graphic kind");
  const auto drawing = drawing_.lock();
  if (!drawing) throw HostError("the drawing of this list is gone");
  const auto parent = parent_.lock();
  auto graphic = drawing->CreateGraphic("GRAPHIC", parent ? parent->Plane() : nullptr);
  Append(graphic);
  return graphic;
}

void MemGraphics::Remove(int index) {
  Enter("HostGraphics.Remove");
  if (index < 0 || index >= static_cast<int>(items_.size())) {
    throw HostError("graphic index out of range");
  }
  EraseAt(static_cast<std::size_t>(index));
}

HostGraphicPtr MemGraphics::GraphicFromID(int id) {
  Enter("HostGraphics.GraphicFromID");
  const auto it = EntryOf(id);
  if (it == byId_.end()) throw HostError("no graphic with ID " + std::to_string(id));
  return it->second->shared_from_this();
}

std::vector<std::pair<int, MemGraphic*>>::iterator MemGraphics::FindId(int id) {
  return std::lower_bound(byId_.begin(), byId_.end(), id,
                          [](const std::pair<int, MemGraphic*>& entry, int key) { return entry.first < key; });
}

std::vector<std::pair<int, MemGraphic*>>::iterator MemGraphics::EntryOf(int id) {
  const auto it = FindId(id);
  return it != byId_.end() && it->first == id ? it : byId_.end();
}

HostBoundingBoxPtr MemGraphics::CalcBoundingBox() {
  Enter("HostGraphics.CalcBoundingBox");
  std::optional<Box> box;
  if (index_) {
    box = index_->Bounds();
  } else {
    for (const auto& g : items_) box = Union(box, BoundsOf(*g));
  }
  if (!box) throw HostError("no geometry to bound");
  return std::make_shared<MemBoundingBox>(Vec3{box->minX, box->minY, 0},
                                          Vec3{box->maxX, box->maxY, 0}, faults_);
}

HostDrawingPtr MemGraphics::Drawing() {
  Enter("HostGraphics.Drawing");
  auto drawing = drawing_.lock();
  if (!drawing) throw HostError("the drawing of this list is gone");
  return drawing;
}

HostGraphicPtr MemGraphics::Parent() {
  Enter("HostGraphics.Parent");
  auto parent = parent_.lock();
  if (!parent) throw HostError("the drawing's own list has no parent graphic");
  return parent;
}

void MemGraphics::Append(const std::shared_ptr<MemGraphic>& graphic) {
  if (!graphic->owner_.expired()) throw HostError("graphic is already in a list");
  graphic->owner_ = weak_from_this();
  graphic->sequence_ = nextSequence_++;
  items_.push_back(graphic);
  AddId(*graphic);
  ChildChanged(*graphic);
}

void MemGraphics::AddId(MemGraphic& graphic) {
  const int id = graphic.Id();
  if (byId_.empty() || byId_.back().first < id) {
    byId_.emplace_back(id, &graphic);
  } else if (const auto it = EntryOf(id); it != byId_.end()) {
    it->second = &graphic;
  } else {
    byId_.emplace(FindId(id), id, &graphic);
  }
}

void MemGraphics::Reserve(std::size_t count) {
  items_.reserve(items_.size() + count);
  byId_.reserve(byId_.size() + count);
}

void MemGraphics::TakeAllOf(MemGraphics& other, const DrawingMove& move) {
  Reserve(other.items_.size());
  const std::weak_ptr<MemGraphics> self = weak_from_this();
  for (std::shared_ptr<MemGraphic>& graphic : other.items_) {
    graphic->MoveTo(move);
    graphic->owner_ = self;
    graphic->sequence_ = nextSequence_++;
    AddId(*graphic);
    ChildChanged(*graphic);
    items_.push_back(std::move(graphic));
  }
  other.items_.clear();
  other.byId_.clear();
  if (other.index_) other.index_->Clear();
}

void MemGraphics::MoveTo(const DrawingMove& move) {
  drawing_ = move.drawing;
  faults_ = move.faults;
  parentId_ += move.idShift;
  for (auto& entry : byId_) entry.first += move.idShift;
  for (const auto& graphic : items_) graphic->MoveTo(move);
}

void MemGraphics::Detach(MemGraphic& graphic) {
  const int position = PositionOf(graphic);
  if (position >= 0) EraseAt(static_cast<std::size_t>(position));
}

void MemGraphics::EraseAt(std::size_t position) {
  const std::shared_ptr<MemGraphic> graphic = items_[position];
  if (index_) index_->Erase(*graphic);
  if (const auto it = EntryOf(graphic->Id()); it != byId_.end()) byId_.erase(it);
  graphic->owner_.reset();
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
  if (const auto parent = parent_.lock()) parent->GeometryChanged();
}

int MemGraphics::PositionOf(const MemGraphic& graphic) const {
  const auto it = std::lower_bound(
      items_.begin(), items_.end(), graphic.Sequence(),
      [](const std::shared_ptr<MemGraphic>& g, std::uint64_t key) { return g->Sequence() < key; });
  if (it == items_.end() || it->get() != &graphic) return -1;
  return static_cast<int>(it - items_.begin());
}

void MemGraphics::ChildChanged(MemGraphic& graphic) {
  if (index_) {
    index_->MarkDirty(graphic);
  } else if (const auto parent = parent_.lock()) {
    parent->GeometryChanged();
  }
}

}  // namespace pphatch::mem
