#include "memhost/drawing.h"

#include "memhost/sets.h"

namespace pphatch::mem {

MemDrawing::MemDrawing()
    : faults_(std::make_shared<FaultInjector>()),
      index_(std::make_shared<PickIndex>()),
      props_(std::make_shared<PropertyTable>()),
      workplane_(MemWorkplane::Identity(faults_)) {
  props_->Define("TileMode", 0.0);
}

std::shared_ptr<MemDrawing> MemDrawing::Create() {
  std::shared_ptr<MemDrawing> drawing(new MemDrawing());
  drawing->list_ = std::make_shared<MemGraphics>(drawing, drawing->faults_,
                                                 std::weak_ptr<MemGraphic>(), drawing->index_);
  return drawing;
}

HostGraphicsPtr MemDrawing::Graphics() {
  faults_->Enter("HostDrawing.Graphics");
  return list_;
}

HostGraphicSetsPtr MemDrawing::GraphicSets() {
  faults_->Enter("HostDrawing.GraphicSets");
  return std::make_shared<MemGraphicSets>(weak_from_this(), faults_);
}

HostPropertiesPtr MemDrawing::Properties() {
  faults_->Enter("HostDrawing.Properties");
  return std::make_shared<MemProperties>(props_, faults_, 0);
}

HostWorkplanePtr MemDrawing::Workplane() {
  faults_->Enter("HostDrawing.Workplane");
  return workplane_;
}

HostGraphicPtr MemDrawing::NewFreeGraphic() {
  faults_->Enter("HostDrawing.NewFreeGraphic");
  return CreateGraphic("GRAPHIC", MemWorkplane::Identity(faults_));
}

std::shared_ptr<MemGraphic> MemDrawing::CreateGraphic(const std::string& type,
                                                      std::shared_ptr<MemWorkplane> workplane) {
  return std::make_shared<MemGraphic>(weak_from_this(), faults_, nextId_++, type,
                                      workplane ? std::move(workplane) : workplane_);
}

void MemDrawing::TakeGraphicsOf(MemDrawing& other) {
  list_->TakeAllOf(*other.list_,
                   {weak_from_this(), faults_, nextId_ - 1, other.workplane_.get(), workplane_});
  nextId_ += other.nextId_ - 1;
}

}  // namespace pphatch::mem
