#include "memhost/vertices.h"

#include <utility>

#include "memhost/fault_injector.h"
#include "memhost/graphic.h"

namespace pphatch::mem {

namespace {

// The stored vertex at `index`; HostError when there is none.
const VertexData& StoredVertex(const MemGraphic& graphic, int index) {
  const auto& list = graphic.VertexList();
  if (index < 0 || index >= static_cast<int>(list.size())) {
    throw HostError("vertex index out of range");
  }
  return list[static_cast<std::size_t>(index)];
}

}  // namespace

MemVertices::MemVertices(std::shared_ptr<MemGraphic> graphic) : graphic_(std::move(graphic)) {}

int MemVertices::Count() {
  graphic_->Enter("HostVertices.Count");
  return static_cast<int>(graphic_->VertexList().size());
}

HostVertexPtr MemVertices::Item(int index) {
  graphic_->Enter("HostVertices.Item");
  if (index < 0 || index >= static_cast<int>(graphic_->VertexList().size())) {
    throw HostError("vertex index out of range");
  }
  return std::make_shared<MemVertex>(graphic_, index);
}

HostVertexPtr MemVertices::Add(double x, double y, double z) {
  graphic_->Enter("HostVertices.Add");
  Vec3 p{x, y, z};
  if (graphic_->WorldMode()) p = graphic_->Plane()->ToPlane(p);
  graphic_->AppendVertex({p.x, p.y, p.z, true, false});
  return std::make_shared<MemVertex>(graphic_,
                                     static_cast<int>(graphic_->VertexList().size()) - 1);
}

void MemVertices::SetWorldMode(bool world) {
  graphic_->Enter("HostVertices.SetWorldMode");
  graphic_->SetWorldModeFlag(world);
}

MemVertex::MemVertex(std::shared_ptr<MemGraphic> graphic, int index)
    : graphic_(std::move(graphic)), index_(index) {}

Vec3 MemVertex::Read(const char* operation) {
  graphic_->Enter(operation);
  const VertexData& v = StoredVertex(*graphic_, index_);
  const Vec3 p{v.x, v.y, v.z};
  return graphic_->WorldMode() ? graphic_->Plane()->ToWorld(p) : p;
}

void MemVertex::Write(const char* operation, int axis, double value) {
  graphic_->Enter(operation);
  VertexData v = StoredVertex(*graphic_, index_);
  Vec3 p{v.x, v.y, v.z};
  if (graphic_->WorldMode()) p = graphic_->Plane()->ToWorld(p);
  (axis == 0 ? p.x : p.y) = value;
  if (graphic_->WorldMode()) p = graphic_->Plane()->ToPlane(p);
  v.x = p.x;
  v.y = p.y;
  v.z = p.z;
  graphic_->SetVertex(index_, v);
}

double MemVertex::X() { return Read("HostVertex.X").x; }
double MemVertex::Y() { return Read("HostVertex.Y").y; }
double MemVertex::Z() { return Read("HostVertex.Z").z; }
void MemVertex::SetX(double x) { Write("HostVertex.SetX", 0, x); }
void MemVertex::SetY(double y) { Write("HostVertex.SetY", 1, y); }

bool MemVertex::PenDown() {
  graphic_->Enter("HostVertex.PenDown");
  return StoredVertex(*graphic_, index_).penDown;
}

void MemVertex::SetPenDown(bool down) {
  graphic_->Enter("HostVertex.SetPenDown");
  VertexData v = StoredVertex(*graphic_, index_);
  v.penDown = down;
  graphic_->SetVertex(index_, v);
}

bool MemVertex::ArcPoint() {
  graphic_->Enter("HostVertex.ArcPoint");
  return StoredVertex(*graphic_, index_).arcPoint;
}

PointVertex::PointVertex(Vec3 point, std::shared_ptr<FaultInjector> faults)
    : point_(point), faults_(std::move(faults)) {}

double PointVertex::X() {
  faults_->Enter("HostVertex.X");
  return point_.x;
}
double PointVertex::Y() {
  faults_->Enter("HostVertex.Y");
  return point_.y;
}
double PointVertex::Z() {
  faults_->Enter("HostVertex.Z");
  return point_.z;
}
void PointVertex::SetX(double x) {
  faults_->Enter("HostVertex.SetX");
  point_.x = x;
}
void PointVertex::SetY(double y) {
  faults_->Enter("HostVertex.SetY");
  point_.y = y;
}
bool PointVertex::PenDown() {
  faults_->Enter("HostVertex.PenDown");
  return penDown_;
}
void PointVertex::SetPenDown(bool down) {
  faults_->Enter("HostVertex.SetPenDown");
  penDown_ = down;
}
bool PointVertex::ArcPoint() {
  faults_->Enter("HostVertex.ArcPoint");
  return false;
}

}  // namespace pphatch::mem
