// The in-memory drawing: graphics list, sets, properties, workplane.
#pragma once

#include <memory>
#include <string>

#include "memhost/fault_injector.h"
#include "memhost/graphic.h"
#include "memhost/graphics.h"
#include "memhost/pick_index.h"
#include "memhost/properties.h"
#include "memhost/workplane.h"
#include "pphatch/host.h"

namespace pphatch::mem {

/// A drawing. Graphic IDs are positive, unique within the drawing and never
/// reused. Its properties start with "TileMode" = 0; its workplane is the
/// world frame until SetWorkplane.
class MemDrawing : public HostDrawing, public std::enable_shared_from_this<MemDrawing> {
 public:
  /// A new, empty drawing.
  static std::shared_ptr<MemDrawing> Create();

  HostGraphicsPtr Graphics() override;
  HostGraphicSetsPtr GraphicSets() override;
  HostPropertiesPtr Properties() override;
  HostWorkplanePtr Workplane() override;
  /// A kind-11 "GRAPHIC" in no list, on the world frame.
  HostGraphicPtr NewFreeGraphic() override;

  // --- Model ---
  /// A new graphic with a fresh ID, in no list, with the default properties
  /// of its type; on `workplane`, or on the drawing's workplane when null.
  std::shared_ptr<MemGraphic> CreateGraphic(const std::string& type,
                                            std::shared_ptr<MemWorkplane> workplane = nullptr);
  /// Moves the top-level graphics of `other`, a drawing nothing else
  /// refers to (one another thread filled, say), to the end of this
  /// drawing's list, as though they had been made here in that order: the
  /// IDs of every one of them follow this drawing's, and those on `other`'s
  /// workplane are put on this drawing's. `other` is left empty.
  void TakeGraphicsOf(MemDrawing& other);
  /// The drawing's own list.
  const std::shared_ptr<MemGraphics>& List() const { return list_; }
  /// The spatial index of the top-level graphics.
  PickIndex& Index() { return *index_; }
  FaultInjector& Faults() { return *faults_; }
  const std::shared_ptr<FaultInjector>& FaultsPtr() const { return faults_; }
  const std::shared_ptr<MemWorkplane>& CurrentWorkplane() const { return workplane_; }
  /// Replaces the drawing's workplane (graphics keep theirs).
  void SetWorkplane(std::shared_ptr<MemWorkplane> workplane) { workplane_ = std::move(workplane); }
  PropertyTable& Props() { return *props_; }
  const PropertyTable& Props() const { return *props_; }

 private:
  MemDrawing();

  std::shared_ptr<FaultInjector> faults_;
  std::shared_ptr<PickIndex> index_;
  std::shared_ptr<MemGraphics> list_;
  std::shared_ptr<PropertyTable> props_;
  std::shared_ptr<MemWorkplane> workplane_;
  int nextId_ = 1;
};

}  // namespace pphatch::mem
