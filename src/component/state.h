// The state shared by the component's operations: one module-wide copy per
// thread, and one object state per PickPointHatch.
#pragma once


#include "pphatch/host.h"
#include "pphatch/pick_diagnosis.h"

namespace pphatch {

/// Module-wide state; one copy per thread, shared by every object on it.
struct ModuleState {
  HostViewPtr View;                  ///< set by Init
  HostDrawingPtr Drawing;            ///< the drawing shown by View
  HostGraphicsPtr DrawingGraphics;   ///< the drawing's graphics, per request
  HostGraphicPtr CurrentGraphic;     ///< the graphic being examined or built
};

/// This thread's module-wide state.
ModuleState& Module();

/// State of one PickPointHatch object.
struct ObjectState {
  int TileMode = 0;                  ///< the drawing's "TileMode"; 1 turns on workplane and thickness tests
  double StartTime = 0;              ///< clock reading (seconds) at the start of the request
  HostWorkplanePtr Workplane;        ///< the drawing's workplane, per request
  HostGraphicSetsPtr SearchSets;     ///< the search's set factory
  HostGraphicSetPtr SearchSet;       ///< the search's candidate set
  int LastGraphicId = -1;            ///< graphic met last by the search; -1 none
  double GapTolerance = 0;           ///< free ends within it of a graphic are bridged
  double DiagnosisReach = 0;         ///< largest tolerance a diagnosis tries; 0: 1 % of the view
  PickDiagnosis Diagnosis;           ///< of the last request
};

/// Seconds of the steady clock (or of the test clock, when one is set).
double ClockSeconds();

/// Seconds allowed for one request, counted from ObjectState::StartTime.
inline constexpr double kRequestBudgetSeconds = 20.0;

/// True once the request's budget is spent.
bool BudgetExceeded(const ObjectState& state);

}  // namespace pphatch
