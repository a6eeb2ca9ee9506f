#include "dxf_output.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>

#include <stdlib.h>
#include <unistd.h>

#include "cli_error.h"
#include "files.h"
#include "formats/errors.h"

namespace pphatch::cli {

bool IsAsciiDxf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension != ".dxf") return false;
  static const std::string kBinarySentinel = "AutoCAD Binary DXF";
  std::ifstream file(path, std::ios::binary);
  std::string head(kBinarySentinel.size(), '\0');
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  return head != kBinarySentinel;
}

namespace {

// Writes the DXF file `output` (a path; the writers write files only).
void WriteDxfFile(const std::string& drawingPath, const mem::MemDrawing& drawing,
                  const std::string& output, const std::vector<formats::PickArea>& areas,
                  const formats::DxfWriteOptions& options) {
  try {
    if (IsAsciiDxf(drawingPath)) {
      for (const std::string& note : formats::WriteDxfOverSource(drawingPath, output, areas, options)) {
        std::cerr << "pphatch: " << output << ": " << note << '\n';
      }
    } else {
      formats::WriteDxfResult(output, areas, &drawing, options);
    }
  } catch (const formats::ReadError& e) {
    throw CliError(e.what());
  } catch (const formats::WriteError& e) {
    throw CliError(e.what());
  }
}

// Removes a scratch file when it goes out of scope.
struct ScratchFile {
  std::filesystem::path path;
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

}  // namespace

void WriteDxfOutput(const std::string& drawingPath, const mem::MemDrawing& drawing,
                    const std::string& output, const std::vector<formats::PickArea>& areas,
                    bool solid, const std::vector<formats::GapMark>& gaps) {
  formats::DxfWriteOptions options;
  if (solid) options.fill.pattern = "SOLID";
  options.gaps = gaps;
  if (output != kStandardStream) {
    OpenForWriting(output);  // says why a file cannot be written before the writer tries
    WriteDxfFile(drawingPath, drawing, output, areas, options);
    return;
  }
  // Standard output: through a scratch file, copied out once complete.
  std::string name = (std::filesystem::temp_directory_path() / "pphatch_XXXXXX.dxf").string();
  const int descriptor = mkstemps(name.data(), 4);
  if (descriptor < 0) throw CliError("cannot make a scratch file for the DXF: " + SystemReason());
  close(descriptor);
  const ScratchFile scratch{name};
  WriteDxfFile(drawingPath, drawing, name, areas, options);
  std::ifstream in(scratch.path, std::ios::binary);
  std::cout << in.rdbuf();
  std::cout.flush();
}

}  // namespace pphatch::cli
