// A list of graphics: the drawing's own list, or the children of a graphic.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "memhost/fault_injector.h"
#include "pphatch/host.h"

namespace pphatch::mem {

class MemDrawing;
class MemGraphic;
class PickIndex;
struct DrawingMove;

/// An ordered list of graphics. Graphics are only ever appended, so the
/// list stays sorted by their sequence numbers (the list's own count of
/// appends) and a position is found by binary search. The drawing's list keeps the pick index up to date.
class MemGraphics : public HostGraphics, public std::enable_shared_from_this<MemGraphics> {
 public:
  /// `parent` is null for the drawing's list, which alone has an index.
  MemGraphics(std::weak_ptr<MemDrawing> drawing, std::shared_ptr<FaultInjector> faults,
              std::weak_ptr<MemGraphic> parent, std::shared_ptr<PickIndex> index);

  int Count() override;
  HostGraphicPtr Item(int index) override;
  /// Kind 7 (container) or 11 (vertex chain): a new "GRAPHIC" at the end.
  HostGraphicPtr Add(int kind) override;
  void Remove(int index) override;
  /// The drawing's list finds top-level graphics; a child list its children.
  HostGraphicPtr GraphicFromID(int id) override;
  /// Box of the geometry of every graphic in the list; HostError when there
  /// is none. Min has z = 0.
  HostBoundingBoxPtr CalcBoundingBox() override;
  HostDrawingPtr Drawing() override;
  HostGraphicPtr Parent() override;

  // --- Model ---
  /// Appends a graphic that is in no list.
  void Append(const std::shared_ptr<MemGraphic>& graphic);
  /// Makes room for `count` graphics more, so that a reader appending a
  /// whole drawing does not grow the list and its table of IDs step by step.
  void Reserve(std::size_t count);
  /// Moves every graphic of `other`, in order, to the end of this list,
  /// making them (`move`) belong to this list's drawing; `other` is left empty.
  void TakeAllOf(MemGraphics& other, const DrawingMove& move);
  /// Makes the list (a graphic's children) and its graphics belong to another drawing.
  void MoveTo(const DrawingMove& move);
  /// Takes the graphic out of this list (nothing when it is not here).
  void Detach(MemGraphic& graphic);
  const std::vector<std::shared_ptr<MemGraphic>>& Items() const { return items_; }
  /// Position of the graphic in this list, or -1.
  int PositionOf(const MemGraphic& graphic) const;
  /// Called by a graphic of this list whose geometry changed.
  void ChildChanged(MemGraphic& graphic);
  /// The owning graphic, or null for the drawing's list.
  std::shared_ptr<MemGraphic> ParentGraphic() const { return parent_.lock(); }

 private:
  void Enter(const char* operation) const;
  void EraseAt(std::size_t position);
  // Files the graphic, just appended, under its ID.
  void AddId(MemGraphic& graphic);

  std::weak_ptr<MemDrawing> drawing_;
  std::shared_ptr<FaultInjector> faults_;
  std::weak_ptr<MemGraphic> parent_;
  int parentId_ = 0;
  std::shared_ptr<PickIndex> index_;
  std::vector<std::shared_ptr<MemGraphic>> items_;
  // The sequence number of the next graphic appended: numbers grow with
  // every append, so the list stays sorted by them.
  std::uint64_t nextSequence_ = 1;
  // The members by ID, sorted: IDs grow as graphics are made, so appending
  // mostly adds at the end, and a big drawing needs no table node a graphic.
  std::vector<std::pair<int, MemGraphic*>> byId_;
  // Where an entry of that ID is or would go; the entry itself, or end().
  std::vector<std::pair<int, MemGraphic*>>::iterator FindId(int id);
  std::vector<std::pair<int, MemGraphic*>>::iterator EntryOf(int id);
};

}  // namespace pphatch::mem
