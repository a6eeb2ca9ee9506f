#include "load.h"

#include "cli_error.h"
#include "formats/drawing_file.h"
#include "formats/errors.h"

namespace pphatch::cli {

formats::LoadedDrawing LoadDrawing(const std::string& path, const formats::LayerFilter& layers) {
  try {
    return formats::ReadDrawingFile(path, layers);
  } catch (const formats::ReadError& e) {
    throw CliError(e.what());
  }
}

void PrintReport(std::ostream& out, const std::string& path, const formats::LoadReport& report) {
  for (const std::string& line : report.Lines()) out << "pphatch: " << path << ": " << line << '\n';
}

}  // namespace pphatch::cli
