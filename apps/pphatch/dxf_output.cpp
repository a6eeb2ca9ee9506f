#include "dxf_output.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli_error.h"
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

void WriteDxfOutput(const std::string& drawingPath, const mem::MemDrawing& drawing,
                    const std::string& output, const std::vector<formats::PickArea>& areas,
                    bool solid) {
  formats::DxfWriteOptions options;
  if (solid) options.fill.pattern = "SOLID";
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

}  // namespace pphatch::cli
