#include "contour/suspended_fills.h"

#include <algorithm>
#include <string>

#include "component/continue_on_error.h"
#include "component/state.h"
#include "contour/search_state.h"

namespace pphatch {

namespace {

constexpr const char* kBrushStyle = "BrushStyle";

// True for the style that marks a graphic without a fill.
bool IsNoFill(const PropertyValue& style) {
  const std::string* text = std::get_if<std::string>(&style);
  return text != nullptr && *text == "None";
}

}  // namespace

SuspendedFills::~SuspendedFills() { Restore(); }

void SuspendedFills::Suspend(const HostPickResultPtr& picks) {
  const int count = RequireObject(picks)->Count();
  for (int k = 0; k < count; ++k) {
    Attempt([&] {
      HostGraphicPtr graphic = RequireObject(RequireObject(picks->Item(k))->Graphic());
      HostPropertyPtr property =
          RequireObject(RequireObject(graphic->Properties())->Item(kBrushStyle));
      PropertyValue style = property->Value();
      if (IsNoFill(style)) return;
      // The entry is made before the style is blanked, so a blanked fill is
      // always remembered; a graphic still blanked from an earlier pass
      // keeps the value it had before that pass.
      const int id = graphic->ID();
      const bool known = std::any_of(entries_.begin(), entries_.end(),
                                     [id](const Entry& e) { return e.id == id; });
      if (!known) entries_.push_back({id, std::move(style)});
      property->SetValue(PropertyValue(std::string()));
    });
  }
}

void SuspendedFills::Restore() {
  std::vector<Entry> failed;
  for (Entry& entry : entries_) {
    const bool restored = Attempt([&] {
      HostGraphicPtr graphic =
          RequireObject(RequireObject(Module().DrawingGraphics)->GraphicFromID(entry.id));
      RequireObject(RequireObject(graphic->Properties())->Item(kBrushStyle))->SetValue(entry.style);
    });
    if (!restored) failed.push_back(std::move(entry));
  }
  entries_ = std::move(failed);
}

}  // namespace pphatch
