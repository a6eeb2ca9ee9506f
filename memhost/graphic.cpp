#include "memhost/graphic.h"

#include <utility>

#include "memhost/drawing.h"
#include "memhost/graphic_copy.h"
#include "memhost/graphics.h"
#include "memhost/sets.h"
#include "memhost/vertices.h"

namespace pphatch::mem {

namespace {

// The in-memory workplane behind a host workplane; HostError for others.
std::shared_ptr<MemWorkplane> AsMemWorkplane(const HostWorkplanePtr& workplane) {
  auto mine = std::dynamic_pointer_cast<MemWorkplane>(workplane);
  if (!mine) throw HostError("not a workplane of this host");
  return mine;
}

// Puts the workplane on a graphic and all its descendants.
void ApplyToTree(MemGraphic& graphic, const std::shared_ptr<MemWorkplane>& workplane) {
  graphic.SetPlane(workplane);
  for (const auto& child : graphic.ChildItems()) ApplyToTree(*child, workplane);
}

const std::vector<std::shared_ptr<MemGraphic>> kNoChildren;

// The properties every new graphic of that type has. A drawing of a
// million graphics holds one table per type instead of one per graphic
// until a graphic's properties are handed out or changed.
const PropertyTable& DefaultProperties(const std::string& type) {
  static const PropertyTable plain = [] {
    PropertyTable props;
    props.Define("BrushStyle", std::string("None"));
    props.Define("Thickness", 0.0);
    props.Define("Info", std::string());
    return props;
  }();
  static const PropertyTable text = [] {
    PropertyTable props = plain.Clone();
    props.Define("TextMode", 0.0);
    return props;
  }();
  return type == "TEXT" ? text : plain;
}

}  // namespace

MemGraphic::MemGraphic(std::weak_ptr<MemDrawing> drawing, std::shared_ptr<FaultInjector> faults,
                       int id, std::string type, std::shared_ptr<MemWorkplane> workplane)
    : drawing_(std::move(drawing)),
      faults_(std::move(faults)),
      id_(id),
      type_(std::move(type)),
      workplane_(std::move(workplane)) {}

PropertyTable& MemGraphic::Props() {
  if (!props_) props_ = std::make_shared<PropertyTable>(DefaultProperties(type_).Clone());
  return *props_;
}

const PropertyTable& MemGraphic::Props() const {
  return props_ ? *props_ : DefaultProperties(type_);
}

std::string MemGraphic::Type() {
  Enter("HostGraphic.Type");
  return type_;
}

HostGraphicsPtr MemGraphic::Graphics() {
  Enter("HostGraphic.Graphics");
  return Children().shared_from_this();
}

HostVerticesPtr MemGraphic::Vertices() {
  Enter("HostGraphic.Vertices");
  return std::make_shared<MemVertices>(shared_from_this());
}

HostPropertiesPtr MemGraphic::Properties() {
  Enter("HostGraphic.Properties");
  Props();
  return std::make_shared<MemProperties>(props_, faults_, id_);
}

bool MemGraphic::Closed() {
  Enter("HostGraphic.Closed");
  return closed_;
}

void MemGraphic::SetClosed(bool closed) {
  Enter("HostGraphic.SetClosed");
  SetClosedFlag(closed);
}

int MemGraphic::ID() {
  Enter("HostGraphic.ID");
  return id_;
}

int MemGraphic::Index() {
  Enter("HostGraphic.Index");
  const auto owner = owner_.lock();
  return owner ? owner->PositionOf(*this) : -1;
}

std::string MemGraphic::InfoText() {
  Enter("HostGraphic.InfoText");
  return infoText_;
}

bool MemGraphic::IgnoreFlag() {
  Enter("HostGraphic.IgnoreFlag");
  return ignore_;
}

HostWorkplanePtr MemGraphic::Workplane() {
  Enter("HostGraphic.Workplane");
  return workplane_;
}

void MemGraphic::SetWorkplane(const HostWorkplanePtr& workplane) {
  Enter("HostGraphic.SetWorkplane");
  workplane_ = AsMemWorkplane(workplane);
}

void MemGraphic::ApplyWorkplane(const HostWorkplanePtr& workplane) {
  Enter("HostGraphic.ApplyWorkplane");
  ApplyToTree(*this, AsMemWorkplane(workplane));
}

std::array<double, 11> MemGraphic::GetArcData() {
  Enter("HostGraphic.GetArcData");
  if (!shape_) throw HostError("graphic has no arc data");
  return shape_->ArcData();
}

HostGraphicPtr MemGraphic::Duplicate() {
  Enter("HostGraphic.Duplicate");
  const auto drawing = DrawingOrThrow();
  auto copy = CopyGraphic(*this, *drawing);
  drawing->List()->Append(copy);
  return copy;
}

HostGraphicSetPtr MemGraphic::Explode() {
  Enter("HostGraphic.Explode");
  const bool group = type_ == "GRAPHIC" && !ChildItems().empty();
  if (type_ != "INSERT" && !group) throw HostError("graphic cannot be exploded");
  const auto drawing = DrawingOrThrow();
  auto parts = std::make_shared<MemGraphicSet>(drawing, faults_, "");
  for (const auto& child : ChildItems()) {
    auto part = CopyGraphic(*child, *drawing);
    drawing->List()->Append(part);
    parts->Hold(part);
  }
  return parts;
}

void MemGraphic::Delete() {
  Enter("HostGraphic.Delete");
  deleted_ = true;
  if (const auto owner = owner_.lock()) owner->Detach(*this);
}

void MemGraphic::SetClosedFlag(bool closed) {
  if (closed_ == closed) return;
  closed_ = closed;
  GeometryChanged();
}

void MemGraphic::AppendVertex(const VertexData& v) {
  vertices_.push_back(v);
  GeometryChanged();
}

void MemGraphic::SetVertex(int i, const VertexData& v) {
  vertices_.at(static_cast<std::size_t>(i)) = v;
  GeometryChanged();
}

void MemGraphic::SetVertexList(std::vector<VertexData> vertices) {
  vertices_ = std::move(vertices);
  GeometryChanged();
}

void MemGraphic::SetShape(const ArcShape& shape, bool rewriteVertices) {
  shape_ = std::make_unique<ArcShape>(shape);
  if (rewriteVertices) {
    vertices_.clear();
    for (const Vec2 p : shape.Layout()) vertices_.push_back({p.x, p.y, 0, true, false});
  }
  GeometryChanged();
}

MemGraphics& MemGraphic::Children() {
  if (!children_) {
    children_ = std::make_shared<MemGraphics>(drawing_, faults_, weak_from_this(), nullptr);
  }
  return *children_;
}

const std::vector<std::shared_ptr<MemGraphic>>& MemGraphic::ChildItems() const {
  return children_ ? children_->Items() : kNoChildren;
}

std::shared_ptr<MemDrawing> MemGraphic::DrawingOrThrow() const {
  auto drawing = drawing_.lock();
  if (!drawing) throw HostError("the drawing of this graphic is gone");
  return drawing;
}

void MemGraphic::MoveTo(const DrawingMove& move) {
  drawing_ = move.drawing;
  faults_ = move.faults;
  id_ += move.idShift;
  if (workplane_.get() == move.from) workplane_ = move.to;
  if (children_) children_->MoveTo(move);
}

void MemGraphic::GeometryChanged() {
  if (const auto owner = owner_.lock()) owner->ChildChanged(*this);
}

}  // namespace pphatch::mem
