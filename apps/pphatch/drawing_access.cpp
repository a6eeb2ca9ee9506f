#include "drawing_access.h"

namespace pphatch::cli {

Picker& DrawingAccess::ThreadPicker() {
  std::unique_ptr<Picker>& picker = pickers_[std::this_thread::get_id()];
  if (!picker) picker = std::make_unique<Picker>(drawing_);
  return *picker;
}

}  // namespace pphatch::cli
