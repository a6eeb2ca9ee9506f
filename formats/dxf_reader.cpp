#include "formats/dxf_reader.h"

#include "formats/dxf_emit.h"
#include "formats/dxf_inventory.h"
#include "formats/dxf_pairs.h"
#include "formats/dxf_parse.h"
#include "formats/file_content.h"

namespace pphatch::formats {

namespace {

// The graphics of a document read from a file's content, the entities on
// the layers that `layers` does not keep left out.
LoadedDrawing Load(DxfDocument document, const std::string& name, const LayerFilter& layers) {
  FileContents contents = DxfContents(document, layers);
  LeaveOutLayers(document, layers);
  auto drawing = mem::MemDrawing::Create();
  EmitDxfDocument(document, drawing, document.report, name);
  LoadSummary summary = Summarize(*drawing, std::move(document.report));
  summary.contents = std::move(contents);
  return {drawing, std::move(summary)};
}

}  // namespace

LoadedDrawing ReadDxfFile(const std::string& path, const LayerFilter& layers) {
  // The file's content and its pairs are let go before the graphics are
  // made: the document keeps copies of what it needs.
  DxfDocument document = [&path] {
    const FileContent content(path);
    return ParseDxf(SplitDxfPairs(content.View(), path), path);
  }();
  return Load(std::move(document), path, layers);
}

LoadedDrawing ReadDxfText(const std::string& text, const std::string& name) {
  return ReadDxfTextOfLayers(text, name, {});
}

LoadedDrawing ReadDxfTextOfLayers(const std::string& text, const std::string& name,
                                  const LayerFilter& layers) {
  return Load(ParseDxf(SplitDxfPairs(text, name), name), name, layers);
}

}  // namespace pphatch::formats
