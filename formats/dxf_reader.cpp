#include "formats/dxf_reader.h"

#include "formats/dxf_emit.h"
#include "formats/dxf_inventory.h"
#include "formats/dxf_pairs.h"
#include "formats/dxf_parse.h"

namespace pphatch::formats {

LoadedDrawing ReadDxfFile(const std::string& path, const LayerFilter& layers) {
  return ReadDxfTextOfLayers(ReadWholeFile(path), path, layers);
}

LoadedDrawing ReadDxfText(const std::string& text, const std::string& name) {
  return ReadDxfTextOfLayers(text, name, {});
}

LoadedDrawing ReadDxfTextOfLayers(const std::string& text, const std::string& name,
                                  const LayerFilter& layers) {
  const std::vector<DxfPair> pairs = SplitDxfPairs(text, name);
  DxfDocument document = ParseDxf(pairs, name);
  FileContents contents = DxfContents(document, layers);
  LeaveOutLayers(document, layers);
  auto drawing = mem::MemDrawing::Create();
  EmitDxfDocument(document, drawing, document.report, name);
  LoadSummary summary = Summarize(*drawing, std::move(document.report));
  summary.contents = std::move(contents);
  return {drawing, std::move(summary)};
}

}  // namespace pphatch::formats
