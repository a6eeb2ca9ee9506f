#include "formats/drawing_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "formats/dxf_reader.h"
#include "formats/json_drawing.h"

namespace pphatch::formats {

LoadedDrawing ReadDrawingFile(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".dxf") return ReadDxfFile(path);
  if (extension == ".json") return ReadJsonFile(path);
  throw ReadError(Located(path, 0, "unknown drawing format (expected a .dxf or .json file)"));
}

}  // namespace pphatch::formats
