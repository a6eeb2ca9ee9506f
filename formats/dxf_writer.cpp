#include "formats/dxf_writer.h"

#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <numbers>

#include "formats/dxf_add_areas.h"
#include "memhost/drawing.h"
#include "memhost/outline.h"

namespace pphatch::formats {

namespace {

// Layer colours (the DXF colour index): source white, hatches grey,
// boundaries red, gap marks magenta.
constexpr int kWhite = 7, kGrey = 8, kRed = 1, kMagenta = 6;
constexpr int kByLayer = 256;
// Lineweight of the layers, hundredths of a millimetre.
constexpr int kLineweight = 25;

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

DL_Attributes On(const char* layer) { return DL_Attributes(layer, kByLayer, -1, "BYLAYER", 1.0); }

void WriteTables(DL_Dxf& dxf, DL_WriterA& dw) {
  dw.sectionTables();
  dxf.writeVPort(dw);
  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  dw.tableEnd();
  dw.tableLayers(4);
  dxf.writeLayer(dw, DL_LayerData("0", 0),
                 DL_Attributes("", kWhite, kLineweight, "CONTINUOUS", 1.0));
  dxf.writeLayer(dw, DL_LayerData(kHatchLayer, 0),
                 DL_Attributes("", kGrey, kLineweight, "CONTINUOUS", 1.0));
  dxf.writeLayer(dw, DL_LayerData(kBoundaryLayer, 0),
                 DL_Attributes("", kRed, kLineweight, "CONTINUOUS", 1.0));
  dxf.writeLayer(dw, DL_LayerData(kGapLayer, 0),
                 DL_Attributes("", kMagenta, kLineweight, "CONTINUOUS", 1.0));
  dw.tableEnd();
  dw.tableStyle(1);
  dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
  dw.tableEnd();
  dxf.writeView(dw);
  dxf.writeUcs(dw);
  dw.tableAppid(1);
  dxf.writeAppid(dw, "ACAD");
  dw.tableEnd();
  dxf.writeDimStyle(dw, 2.5, 1.25, 0.625, 0.625, 2.5);
  dxf.writeBlockRecord(dw);
  dw.tableEnd();
  dw.sectionEnd();
}

void WriteBlocks(DL_Dxf& dxf, DL_WriterA& dw) {
  dw.sectionBlocks();
  for (const char* name : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
    dxf.writeBlock(dw, DL_BlockData(name, 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, name);
  }
  dw.sectionEnd();
}

// The drawn geometry of the source drawing: lines, circles, arcs, points on layer "0".
void WriteSource(DL_Dxf& dxf, DL_WriterA& dw, const mem::MemDrawing& source) {
  const DL_Attributes attrib = On("0");
  for (const auto& g : source.List()->Items()) {
    const mem::Outline outline = mem::BuildOutline(*g);
    for (const auto& s : outline.segments) {
      dxf.writeLine(dw, DL_LineData(s.a.x, s.a.y, 0, s.b.x, s.b.y, 0), attrib);
    }
    for (const mem::ArcPiece& a : outline.arcs) {
      if (a.sweep >= 2 * std::numbers::pi) {
        dxf.writeCircle(dw, DL_CircleData(a.centre.x, a.centre.y, 0, a.radius), attrib);
      } else {
        dxf.writeArc(dw,
                     DL_ArcData(a.centre.x, a.centre.y, 0, a.radius, a.start * kDegreesPerRadian,
                                (a.start + a.sweep) * kDegreesPerRadian),
                     attrib);
      }
    }
    for (const mem::Vec2 p : outline.points) dxf.writePoint(dw, DL_PointData(p.x, p.y, 0), attrib);
  }
}

// Writes the text to the file; WriteError naming it when that fails.
void WriteText(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  if (!file) throw WriteError(path + ": cannot open for writing");
  file << text;
  file.flush();
  if (!file) throw WriteError(path + ": cannot write");
}

}  // namespace

void WriteDxfResult(const std::string& path, const std::vector<PickArea>& areas,
                    const mem::MemDrawing* source, const DxfWriteOptions& options) {
  DL_Dxf dxf;
  std::unique_ptr<DL_WriterA> dw(dxf.out(path.c_str(), DL_Codes::AC1015));
  if (!dw || dw->openFailed()) throw WriteError(path + ": cannot open for writing");
  dxf.writeHeader(*dw);
  dw->sectionEnd();
  WriteTables(dxf, *dw);
  WriteBlocks(dxf, *dw);
  dw->sectionEntities();
  if (source) WriteSource(dxf, *dw, *source);
  dw->sectionEnd();
  dxf.writeObjects(*dw);
  dxf.writeObjectsEnd(*dw);
  dw->dxfEOF();
  dw->close();
  dw.reset();
  std::vector<std::string> notes;
  WriteText(path, AddAreasToDxf(ReadWholeFile(path), path, areas, options, notes));
}

std::vector<std::string> WriteDxfOverSource(const std::string& sourcePath, const std::string& path,
                                            const std::vector<PickArea>& areas,
                                            const DxfWriteOptions& options) {
  std::vector<std::string> notes;
  const std::string text = AddAreasToDxf(ReadWholeFile(sourcePath), sourcePath, areas, options, notes);
  WriteText(path, text);
  return notes;
}

}  // namespace pphatch::formats
