#include "formats/dxf_reader.h"

#include "formats/dxf_emit.h"
#include "formats/dxf_pairs.h"
#include "formats/dxf_parse.h"

namespace pphatch::formats {

namespace {

// The graphics of a document read from a file's content.
LoadedDrawing Load(DxfDocument document, const std::string& name) {
  auto drawing = mem::MemDrawing::Create();
  EmitDxfDocument(document, drawing, document.report, name);
  LoadSummary summary = Summarize(*drawing, std::move(document.report));
  return {drawing, std::move(summary)};
}

}  // namespace

LoadedDrawing ReadDxfFile(const std::string& path) {
  // The file's content and its pairs are let go before the graphics are
  // made: the document keeps copies of what it needs.
  DxfDocument document = [&path] {
    const std::string content = ReadWholeFile(path);
    return ParseDxf(SplitDxfPairs(content, path), path);
  }();
  return Load(std::move(document), path);
}

LoadedDrawing ReadDxfText(const std::string& text, const std::string& name) {
  return Load(ParseDxf(SplitDxfPairs(text, name), name), name);
}

}  // namespace pphatch::formats
