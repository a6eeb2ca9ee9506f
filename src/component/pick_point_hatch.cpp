// PickPointHatch: creation, binding to a view, and the end of an object's life.
// CreateClosedContour, the request itself, lives with the request driver.
#include "pphatch/pick_point_hatch.h"

#include <cmath>
#include <stdexcept>

#include "component/property_value.h"
#include "component/state.h"

namespace pphatch {
namespace {

// The name of the drawing property that switches the workplane and
// thickness tests of the scan on (value 1).
constexpr const char* kTileModeProperty = "TileMode";

// Dereferences a host object, failing like a call on a released object.
template <class T>
T& Required(const std::shared_ptr<T>& object, const char* what) {
  if (!object) throw HostError(std::string("no ") + what);
  return *object;
}

}  // namespace

// A fresh object: TileMode 0, no workplane or sets, no graphic met yet
// (LastGraphicId -1, the value every request starts from).
PickPointHatch::PickPointHatch() : state_(std::make_unique<ObjectState>()) {}

// Releases this thread's view and drawing, even if other objects still use
// them: their next request fails at its first host call.
PickPointHatch::~PickPointHatch() {
  ModuleState& module = Module();
  module.View.reset();
  module.Drawing.reset();
}

// Binds every object of this thread to the view and reads "TileMode". No
// error is trapped; the view is replaced before anything can fail, and the
// drawing as soon as the view has given it.
bool PickPointHatch::Init(const HostViewPtr& pwView) {
  ModuleState& module = Module();
  module.View = pwView;
  module.Drawing = Required(module.View, "view").Drawing();
  HostPropertiesPtr properties = Required(module.Drawing, "drawing").Properties();
  HostPropertyPtr tileMode = Required(properties, "properties").Item(kTileModeProperty);
  state_->TileMode = PropertyInt32(Required(tileMode, "property").Value(0));
  return true;
}

namespace {
// A tolerance or reach: finite and not negative.
double CheckedLength(double value, const char* what) {
  if (!std::isfinite(value) || value < 0) {
    throw std::invalid_argument(std::string(what) + " must be finite and not negative");
  }
  return value;
}
}  // namespace

double PickPointHatch::GapTolerance() const { return state_->GapTolerance; }
void PickPointHatch::SetGapTolerance(double gap) { state_->GapTolerance = CheckedLength(gap, "the gap tolerance"); }
double PickPointHatch::DiagnosisReach() const { return state_->DiagnosisReach; }
void PickPointHatch::SetDiagnosisReach(double reach) {
  state_->DiagnosisReach = CheckedLength(reach, "the diagnosis reach");
}
const PickDiagnosis& PickPointHatch::Diagnosis() const { return state_->Diagnosis; }

}  // namespace pphatch
