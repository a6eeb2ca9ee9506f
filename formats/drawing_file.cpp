#include "formats/drawing_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "formats/dxf_reader.h"
#include "formats/json_drawing.h"

namespace pphatch::formats {

namespace {

constexpr const char* kDwgAdvice = "this is a DWG file; save it as DXF";

// True when the file starts as DWG files do: "AC" and a version number
// ("AC1015", "AC1032", "AC2.10"). No DXF or JSON drawing starts that way.
bool LooksLikeDwg(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[3] = {};
  in.read(head, sizeof head);
  return in.gcount() == 3 && head[0] == 'A' && head[1] == 'C' &&
         std::isdigit(static_cast<unsigned char>(head[2]));
}

}  // namespace

LoadedDrawing ReadDrawingFile(const std::string& path, const LayerFilter& layers) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (LooksLikeDwg(path)) throw ReadError(Located(path, 0, kDwgAdvice));
  if (extension == ".dxf") return ReadDxfFile(path, layers);
  if (extension == ".json") {
    LoadedDrawing loaded = ReadJsonFile(path);
    loaded.summary.contents.format = "JSON";
    if (!layers.KeepsAll()) {
      loaded.summary.report.warnings.push_back("a JSON drawing has no layers; the layer selection does not apply");
    }
    return loaded;
  }
  if (extension == ".dwg") throw ReadError(Located(path, 0, "DWG files cannot be read; save the drawing as DXF"));
  throw ReadError(Located(path, 0, "unknown drawing format (expected a .dxf or .json file)"));
}

}  // namespace pphatch::formats
