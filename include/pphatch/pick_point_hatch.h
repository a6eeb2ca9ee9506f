// PickPointHatch: finds the closed area around a picked point and returns its
// outer boundary and the boundaries of its islands as one graphic.
#pragma once

#include <any>
#include <functional>
#include <memory>
#include <string>

#include "pphatch/host.h"
#include "pphatch/pick_diagnosis.h"

namespace pphatch {

struct ObjectState;

/// The component's one class. Objects on the same thread share the view and
/// drawing bound by the last Init; objects on other threads do not see them.
class PickPointHatch {
 public:
  PickPointHatch();
  /// Empties the view and drawing of this thread, whatever other objects use them.
  ~PickPointHatch();
  PickPointHatch(const PickPointHatch&) = delete;
  PickPointHatch& operator=(const PickPointHatch&) = delete;

  /// Binds this thread's objects to the view and its drawing and reads the
  /// drawing's "TileMode". Host errors reach the caller.
  bool Init(const HostViewPtr& pwView);

  /// Finds the area around the view point (xView, yView). On success
  /// `resultGraphic` receives a container graphic outside the drawing whose
  /// first child is the outer boundary and whose further children are the
  /// islands, each a closed chain at z = 0, and the result is true. On
  /// failure `errorString` receives "Operation can not be performed with
  /// these objects." (or its translation) and the result is false.
  /// `reserved` is neither read nor written.
  bool CreateClosedContour(double xView, double yView, HostGraphicPtr& resultGraphic,
                           std::string& errorString, std::any& reserved);

  /// The gap tolerance in drawing units (default 0): a free end of a chain
  /// within it of another graphic (an end, any point of a line, the true
  /// curve of a circle, ellipse or arc) is joined to the nearest such point
  /// by a straight bridge for the search, and the result runs along it.
  /// Nearest first, an end bridges once, a bridge crosses no graphic and
  /// never joins an end to the chain it hangs on nearby. The drawing is not
  /// changed. With 0 nothing is bridged.
  double GapTolerance() const;
  /// Throws std::invalid_argument for a negative or non-finite tolerance.
  void SetGapTolerance(double gap);

  /// The largest gap tolerance the diagnosis of a failed request tries, in
  /// drawing units; 0 (the default) stands for 1 % of the view's height at
  /// the request. Throws std::invalid_argument for a negative or
  /// non-finite value.
  double DiagnosisReach() const;
  void SetDiagnosisReach(double reach);

  /// Why the last request found no area (the smallest closing tolerance and
  /// its gaps, else the free ends around the click, else another cause), or
  /// the bridges its area runs along. Computed only when a request fails, so
  /// a request that finds an area costs nothing more.
  const PickDiagnosis& Diagnosis() const;

  /// Object state, for the component's own operations.
  ObjectState& State() { return *state_; }

 private:
  std::unique_ptr<ObjectState> state_;
};

/// The text of a message of the component, in the user's language when the
/// language library has it, else from the component's own string table.
std::string MessageText(int id);

/// Replaces the system beep that a failed request sounds (nullptr restores it).
void SetBeepHandler(std::function<void()> handler);

/// Replaces the steady clock (seconds) that measures the request budget
/// (nullptr restores it). For tests that make time jump.
void SetClockForTesting(std::function<double()> clock);

}  // namespace pphatch
