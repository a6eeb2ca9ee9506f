#include "load.h"

#include <memory>
#include <vector>

#include "cli_error.h"
#include "formats/drawing_file.h"
#include "formats/errors.h"

namespace pphatch::cli {

namespace {

// Keeps the drawing until the process exits. Taking apart a drawing of a
// million graphics one allocation at a time costs a good part of what
// reading it did; at exit the system takes the memory back at once.
void KeepUntilExit(std::shared_ptr<mem::MemDrawing> drawing) {
  static auto* const kept = new std::vector<std::shared_ptr<mem::MemDrawing>>;
  kept->push_back(std::move(drawing));
}

}  // namespace

formats::LoadedDrawing LoadDrawing(const std::string& path, const formats::LayerFilter& layers) {
  try {
    formats::LoadedDrawing loaded = formats::ReadDrawingFile(path, layers);
    KeepUntilExit(loaded.drawing);
    return loaded;
  } catch (const formats::ReadError& e) {
    throw CliError(e.what());
  }
}

void PrintReport(std::ostream& out, const std::string& path, const formats::LoadReport& report) {
  for (const std::string& line : report.Lines()) out << "pphatch: " << path << ": " << line << '\n';
}

}  // namespace pphatch::cli
