#include "drawing_access.h"

namespace pphatch::cli {

Picker& DrawingAccess::ThreadPicker() {
  // One picker per thread, made again if the thread serves another drawing.
  thread_local std::unique_ptr<Picker> picker;
  thread_local const mem::MemDrawing* pickerDrawing = nullptr;
  if (!picker || pickerDrawing != drawing_.get()) {
    picker.reset();
    picker = std::make_unique<Picker>(drawing_);
    pickerDrawing = drawing_.get();
  }
  return *picker;
}

}  // namespace pphatch::cli
