// Blanking the fills of the graphics under the pick point while the search
// picks through the view, and putting them back.
#pragma once

#include <vector>

#include "pphatch/host.h"

namespace pphatch {

/// The graphics whose "BrushStyle" the search has blanked, with the value
/// each had. Restoring finds them again by ID in the drawing's graphics.
/// The destructor restores whatever is still blanked, so no exit of the
/// search, errors included, leaves a fill blanked.
class SuspendedFills {
 public:
  SuspendedFills() = default;
  SuspendedFills(const SuspendedFills&) = delete;
  SuspendedFills& operator=(const SuspendedFills&) = delete;
  ~SuspendedFills();

  /// Blanks the "BrushStyle" of every picked graphic whose style is not
  /// "None", remembering the old value. A graphic whose style cannot be
  /// read, identified or written is passed over; one still remembered from
  /// an earlier pass keeps its first value.
  void Suspend(const HostPickResultPtr& picks);

  /// Puts every remembered style back. Graphics that cannot be restored
  /// stay remembered and are tried again at the next restore.
  void Restore();

  /// Number of graphics whose fill is still blanked.
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    int id;
    PropertyValue style;
  };
  std::vector<Entry> entries_;
};

}  // namespace pphatch
