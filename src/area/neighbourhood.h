// The graphics around a click, gathered through the view window by window.
#pragma once

#include <optional>
#include <unordered_set>
#include <vector>

#include "component/budget_guard.h"
#include "component/state.h"
#include "curves/curve_record.h"
#include "geometry/box_tree.h"

namespace pphatch {

/// The candidate chains of the graphics near a click. Each window is asked
/// of the view (PickWindow); every graphic it picks for the first time is
/// scanned (groups, inserts and outlines taken apart, graphics that bound
/// nothing left out) and its chains are extracted. A graphic whose chain
/// cannot be read is left out like any graphic that bounds nothing.
/// Uses the object's search set, which the request driver releases.
class Neighbourhood {
 public:
  Neighbourhood(ObjectState& state, BudgetGuard& budget);

  /// Takes in the graphics the view picks in the drawing box `box`.
  void Cover(const Box& box);
  /// How many graphics the view picks in the drawing box `box`.
  int CountIn(const Box& box) const;
  /// The chains taken in so far, in the order their graphics were met.
  std::vector<CurveRecord>& Chains() { return chains_; }
  /// How many graphics the drawing's own list holds (inserts, groups and
  /// the like count as one).
  int DrawingGraphicCount() const;
  /// The box of all the drawing's graphics; nothing for a drawing without any.
  std::optional<Box> DrawingBox() const;
  /// The height the view shows, in drawing units; nothing when the view
  /// has no usable size.
  static std::optional<double> ViewSpan();

 private:
  HostPickResultPtr Pick(const Box& box) const;

  ObjectState& state_;
  BudgetGuard& budget_;
  std::unordered_set<int> seen_;
  std::vector<CurveRecord> chains_;
};

}  // namespace pphatch
