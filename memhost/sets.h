// Free sets of graphics and their factory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "memhost/fault_injector.h"
#include "pphatch/host.h"

namespace pphatch::mem {

class MemDrawing;
class MemGraphic;

/// The factory of free sets of one drawing.
class MemGraphicSets : public HostGraphicSets {
 public:
  MemGraphicSets(std::weak_ptr<MemDrawing> drawing, std::shared_ptr<FaultInjector> faults);
  HostGraphicSetPtr Add(const std::string& name = "", bool flag = false) override;

 private:
  std::weak_ptr<MemDrawing> drawing_;
  std::shared_ptr<FaultInjector> faults_;
};

/// A free set: references to graphics that stay where they are, plus
/// graphics the set made itself, which belong to no list.
class MemGraphicSet : public HostGraphicSet {
 public:
  MemGraphicSet(std::weak_ptr<MemDrawing> drawing, std::shared_ptr<FaultInjector> faults,
                std::string name);
  int Count() override;
  HostGraphicPtr Item(int index) override;
  void AddGraphic(const HostGraphicPtr& graphic) override;
  /// Kind 7 or 11: a new "GRAPHIC" that only this set holds.
  HostGraphicPtr Add(int kind) override;
  /// A circular "ARC" from start through middle to end, held by this set
  /// only; vertices 1 and 2 are the given end points (in the arc's
  /// counter-clockwise order), vertex 3 the point at the middle angle.
  /// HostError when the points coincide or lie on one line.
  HostGraphicPtr AddArcThroughPoints(double sx, double sy, double sz, double mx, double my,
                                     double mz, double ex, double ey, double ez) override;
  /// Empties the set. Graphics it made itself are in no list, so they are
  /// gone once nobody else holds them.
  void Clear() override;

  // --- Model ---
  /// Adds a member without counting a host call.
  void Hold(const HostGraphicPtr& graphic) { members_.push_back(graphic); }
  const std::vector<HostGraphicPtr>& Members() const { return members_; }
  const std::string& Name() const { return name_; }

 private:
  std::shared_ptr<MemDrawing> DrawingOrThrow() const;

  std::weak_ptr<MemDrawing> drawing_;
  std::shared_ptr<FaultInjector> faults_;
  std::string name_;
  std::vector<HostGraphicPtr> members_;
};

}  // namespace pphatch::mem
