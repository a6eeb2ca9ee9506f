#include "formats/dxf_writer.h"

#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

#include "memhost/drawing.h"
#include "memhost/outline.h"

namespace pphatch::formats {

namespace {

// Layer colours (the DXF colour index): source white, hatches grey,
// boundaries red, gap marks magenta.
constexpr int kWhite = 7, kGrey = 8, kRed = 1, kMagenta = 6;
// A gap's circle is at least this share of the areas' extent wide, so that
// the smallest gaps still show.
constexpr double kGapMarkShare = 0.005;
constexpr int kByLayer = 256;
// Lineweight of the layers, hundredths of a millimetre.
constexpr int kLineweight = 25;

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

// A contour without repeated points and without the closing repeat of the
// first point; empty when fewer than three points remain.
Contour Ring(const Contour& contour) {
  Contour ring;
  for (const Point2& p : contour) {
    if (ring.empty() || ring.back() != p) ring.push_back(p);
  }
  if (ring.size() > 1 && ring.back() == ring.front()) ring.pop_back();
  if (ring.size() < 3) ring.clear();
  return ring;
}

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

// One HATCH whose loops are the rings, each a loop of line edges.
void WriteHatch(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<Contour>& rings,
                const HatchFill& fill) {
  const bool solid = fill.pattern == "SOLID";
  const DL_HatchData data(static_cast<int>(rings.size()), solid, fill.scale, fill.angle,
                          fill.pattern);
  const DL_Attributes attrib = On(kHatchLayer);
  dxf.writeHatch1(dw, data, attrib);
  for (const Contour& ring : rings) {
    const DL_HatchLoopData loop(static_cast<int>(ring.size()));
    dxf.writeHatchLoop1(dw, loop);
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const Point2& a = ring[i];
      const Point2& b = ring[(i + 1) % ring.size()];
      dxf.writeHatchEdge(dw, DL_HatchEdgeData(a[0], a[1], b[0], b[1]));
    }
    dxf.writeHatchLoop2(dw, loop);
  }
  dxf.writeHatch2(dw, data, attrib);
}

void WriteBoundary(DL_Dxf& dxf, DL_WriterA& dw, const Contour& ring) {
  const int closed = 1;
  dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(ring.size()), 0, 0, closed),
                    On(kBoundaryLayer));
  for (const Point2& p : ring) dxf.writeVertex(dw, DL_VertexData(p[0], p[1], 0, 0));
  dxf.writePolylineEnd(dw);
}

// A circle round each gap with its size beside it, and each bridge an area
// runs along as a line, on the gap layer.
void WriteGapMarks(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<GapMark>& gaps, double extent) {
  const DL_Attributes attrib = On(kGapLayer);
  for (const GapMark& gap : gaps) {
    const double x = (gap.from[0] + gap.to[0]) / 2, y = (gap.from[1] + gap.to[1]) / 2;
    const double r = std::max(gap.size, kGapMarkShare * extent);
    if (gap.bridged) {
      dxf.writeLine(dw, DL_LineData(gap.from[0], gap.from[1], 0, gap.to[0], gap.to[1], 0), attrib);
    }
    dxf.writeCircle(dw, DL_CircleData(x, y, 0, r), attrib);
    char size[32];
    std::snprintf(size, sizeof size, "%.6g", gap.size);
    dxf.writeText(dw, DL_TextData(x + r, y + r, 0, x + r, y + r, 0, r, 1, 0, 0, 0, size, "Standard", 0),
                  attrib);
  }
}

// The width or height of the areas' box, whichever is larger.
double Extent(const std::vector<PickArea>& areas, const std::vector<GapMark>& gaps) {
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  const auto add = [&](const Point2& p) {
    minX = std::min(minX, p[0]);
    maxX = std::max(maxX, p[0]);
    minY = std::min(minY, p[1]);
    maxY = std::max(maxY, p[1]);
  };
  for (const PickArea& area : areas) {
    for (const Contour& c : area.contours) std::for_each(c.begin(), c.end(), add);
  }
  for (const GapMark& gap : gaps) {
    add(gap.from);
    add(gap.to);
  }
  return maxX >= minX ? std::max(maxX - minX, maxY - minY) : 0;
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
  for (const PickArea& area : areas) {
    std::vector<Contour> rings;
    for (std::size_t i = 0; i < area.contours.size(); ++i) {
      Contour ring = Ring(area.contours[i]);
      if (ring.empty() && i == 0) break;  // no outer boundary: nothing to fill
      if (!ring.empty()) rings.push_back(std::move(ring));
    }
    if (rings.empty()) continue;
    WriteHatch(dxf, *dw, rings, options.fill);
    if (options.boundaries) {
      for (const Contour& ring : rings) WriteBoundary(dxf, *dw, ring);
    }
  }
  WriteGapMarks(dxf, *dw, options.gaps, Extent(areas, options.gaps));
  dw->sectionEnd();
  dxf.writeObjects(*dw);
  dxf.writeObjectsEnd(*dw);
  dw->dxfEOF();
  dw->close();
}

}  // namespace pphatch::formats
