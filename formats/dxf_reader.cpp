#include "formats/dxf_reader.h"

#include "formats/dxf_emit.h"
#include "formats/dxf_pairs.h"
#include "formats/dxf_parse.h"

namespace pphatch::formats {

LoadedDrawing ReadDxfFile(const std::string& path) {
  return ReadDxfText(ReadWholeFile(path), path);
}

LoadedDrawing ReadDxfText(const std::string& text, const std::string& name) {
  DxfDocument document = ParseDxf(SplitDxfPairs(text, name), name);
  auto drawing = mem::MemDrawing::Create();
  EmitDxfDocument(document, drawing, document.report, name);
  LoadSummary summary = Summarize(*drawing, std::move(document.report));
  return {drawing, std::move(summary)};
}

}  // namespace pphatch::formats
