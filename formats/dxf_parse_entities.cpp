// Reading single entities: the groups each entity kind keeps its geometry in.
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <string_view>

#include "formats/dxf_geometry.h"
#include "formats/dxf_parse.h"

namespace pphatch::formats {

namespace {

// POLYLINE flags.
constexpr long long kClosedFlag = 1;
constexpr long long kThreeDFlag = 8;
constexpr long long kMeshFlags = 16 | 64;  // 3D polygon mesh, polyface mesh
// VERTEX flag of a spline frame control point (not on the drawn curve).
constexpr long long kFrameVertexFlag = 16;

// What every entity has: layer, extrusion, thickness, space, line.
DxfEntity Common(const DxfRecord& r) {
  DxfEntity e;
  e.name = std::string(r.Name());
  e.layer = r.Text(8, "0");
  e.extrusion = Normalized(r.Point(210, {0, 0, 1}));
  e.thickness = r.Real(39);
  e.paperSpace = r.Integer(67) == 1;
  e.place = r.Place();
  return e;
}

// LINE: start 10/20/30, end 11/21/31.
DxfShape ReadLine(const DxfRecord& r) { return DxfLine{r.Point(10), r.Point(11)}; }

// CIRCLE: centre 10/20/30, radius 40.
DxfShape ReadCircle(const DxfRecord& r) { return DxfCircle{r.Point(10), r.Real(40), false, 0, 0}; }

// ARC: centre, radius, start angle 50 and end angle 51 in degrees.
DxfShape ReadArc(const DxfRecord& r) {
  return DxfCircle{r.Point(10), r.Real(40), true, r.Real(50), r.Real(51, 360)};
}

// ELLIPSE: centre, major axis 11/21/31 (from the centre), ratio 40, parameters 41 and 42.
DxfShape ReadEllipse(const DxfRecord& r) {
  return DxfEllipse{r.Point(10), r.Point(11), r.Real(40, 1), r.Real(41, 0),
                    r.Real(42, 2 * std::numbers::pi)};
}

// LWPOLYLINE: each code 10 starts a vertex; 20 and 42 belong to the last one.
DxfShape ReadLwPolyline(const DxfRecord& r) {
  DxfPolyline p;
  p.closed = (r.Integer(70) & kClosedFlag) != 0;
  p.elevation = r.Real(38);
  for (std::size_t i = r.Begin() + 1; i < r.End(); ++i) {
    const int code = r.CodeAt(i);
    if (code != 10 && code != 20 && code != 42) continue;
    const DxfPair pair = r.Pair(i);
    if (pair.code == 10) p.vertices.push_back({{PairReal(pair), 0, p.elevation}, 0});
    if (p.vertices.empty()) continue;
    if (pair.code == 20) p.vertices.back().at.y = PairReal(pair);
    if (pair.code == 42) p.vertices.back().bulge = PairReal(pair);
  }
  return p;
}

// SPLINE: degree 71, knots 40, weights 41, control points 10, fit points 11.
DxfShape ReadSpline(const DxfRecord& r) {
  DxfSpline s;
  s.degree = static_cast<int>(r.Integer(71, 3));
  s.closed = (r.Integer(70) & kClosedFlag) != 0;
  s.knots = r.Reals(40);
  s.weights = r.Reals(41);
  s.control = r.Points(10);
  s.fit = r.Points(11);
  return s;
}

// DIMENSION: kind in the low bits of 70, definition points 10, 13, 14, 15.
DxfShape ReadDimension(const DxfRecord& r) {
  return DxfDimension{static_cast<int>(r.Integer(70) & 7), r.Point(10), r.Point(13), r.Point(14),
                      r.Point(15)};
}

// LEADER: its vertices.
DxfShape ReadLeader(const DxfRecord& r) {
  return DxfMarker{"PWW25DimLead", r.Points(10), false, false};
}

// POINT: one position.
DxfShape ReadPoint(const DxfRecord& r) {
  return DxfMarker{"PWW30POINT", {r.Point(10)}, false, false};
}

// SOLID and TRACE: corners in the order 1, 2, 4, 3; a triangle repeats corner 3.
DxfShape ReadSolid(const DxfRecord& r) {
  std::vector<Vec3> corners{r.Point(10), r.Point(11), r.Point(13), r.Point(12)};
  if (corners[2] == corners[3]) corners.pop_back();
  return DxfMarker{"PWW40CUBE", corners, true, true};
}

// 3DFACE: corners in order, world coordinates; a triangle repeats corner 3.
DxfShape ReadFace(const DxfRecord& r) {
  std::vector<Vec3> corners{r.Point(10), r.Point(11), r.Point(12), r.Point(13)};
  if (corners[2] == corners[3]) corners.pop_back();
  return DxfMarker{"PWW40CUBE", corners, false, true};
}

// MTEXT formatting ("\\P" paragraph breaks, "{\\fArial;...}" font codes) taken out.
std::string PlainText(const std::string& text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{' || c == '}') continue;
    if (c != '\\' || i + 1 >= text.size()) {
      plain += c;
      continue;
    }
    const char code = text[++i];
    if (code == 'P' || code == 'X' || code == '~') {
      plain += ' ';
    } else if (code == '\\' || code == '{' || code == '}') {
      plain += code;
    } else if (std::string_view("ACFfHQTWcp").find(code) != std::string_view::npos) {
      const std::size_t end = text.find(';', i);  // a setting runs to its ';'
      if (end != std::string::npos) i = end;
    } else if (std::string_view("LlOoKk").find(code) == std::string_view::npos) {
      plain += code;  // not a formatting code: the letter stays
    }
  }
  return plain;
}

// TEXT: its words at its insertion point (OCS), with its height.
DxfShape ReadText(const DxfRecord& r) { return DxfIgnored{r.Text(1), r.Point(10), r.Real(40), true}; }

// MTEXT: its words (chunks in 3, the last in 1) at its insertion point (world).
DxfShape ReadMText(const DxfRecord& r) {
  std::string text;
  for (std::size_t i = r.Begin() + 1; i < r.End(); ++i) {
    if (r.Pair(i).code == 3) text += r.Pair(i).value;
  }
  return DxfIgnored{PlainText(text + r.Text(1)), r.Point(10), r.Real(40), false};
}

// Bodies and surfaces keep their geometry in modeller data: no points.
DxfShape ReadBody(const DxfRecord&) { return DxfMarker{"PWW60ACISSOLID", {}, false, false}; }
DxfShape ReadSurface(const DxfRecord&) { return DxfMarker{"SURFACE", {}, false, false}; }

// Entity kinds read from a single record, by entity name.
using ShapeReader = DxfShape (*)(const DxfRecord&);
const std::map<std::string_view, ShapeReader, std::less<>>& SimpleReaders() {
  static const std::map<std::string_view, ShapeReader, std::less<>> readers{
      {"LINE", ReadLine},
      {"CIRCLE", ReadCircle},
      {"ARC", ReadArc},
      {"ELLIPSE", ReadEllipse},
      {"LWPOLYLINE", ReadLwPolyline},
      {"SPLINE", ReadSpline},
      {"DIMENSION", ReadDimension},
      {"LEADER", ReadLeader},
      {"POINT", ReadPoint},
      {"SOLID", ReadSolid},
      {"TRACE", ReadSolid},
      {"3DFACE", ReadFace},
      {"3DSOLID", ReadBody},
      {"REGION", ReadBody},
      {"BODY", ReadBody},
      {"SURFACE", ReadSurface},
      {"TEXT", ReadText},
      {"MTEXT", ReadMText},
      {"PLANESURFACE", ReadSurface},
      {"EXTRUDEDSURFACE", ReadSurface},
      {"LOFTEDSURFACE", ReadSurface},
      {"REVOLVEDSURFACE", ReadSurface},
      {"SWEPTSURFACE", ReadSurface},
      {"NURBSURFACE", ReadSurface},
  };
  return readers;
}

// POLYLINE with its VERTEX records and SEQEND; returns where the next record starts.
std::size_t ReadOldPolyline(const DxfPairs& pairs, const DxfRecord& head,
                            std::size_t end, std::vector<DxfEntity>& out) {
  const long long flags = head.Integer(70);
  DxfPolyline p;
  p.closed = (flags & kClosedFlag) != 0;
  p.threeD = (flags & kThreeDFlag) != 0;
  p.elevation = head.Real(30);
  std::size_t i = head.End();
  while (i < end && pairs.Value(i) == "VERTEX") {
    const DxfRecord vertex(pairs, i, NextRecordStart(pairs, i, end));
    if ((vertex.Integer(70) & kFrameVertexFlag) == 0) {
      p.vertices.push_back({vertex.Point(10), vertex.Real(42)});
    }
    i = vertex.End();
  }
  if (i < end && pairs.Value(i) == "SEQEND") i = NextRecordStart(pairs, i, end);
  DxfEntity entity = Common(head);
  if ((flags & kMeshFlags) != 0) {
    entity.name = "POLYLINE (mesh)";
    entity.shape = DxfIgnored{};
  } else {
    if (!p.threeD) {
      for (DxfVertex& v : p.vertices) v.at.z = p.elevation;
    }
    entity.shape = std::move(p);
  }
  out.push_back(std::move(entity));
  return i;
}

// INSERT, and the ATTRIB records (with their SEQEND) that follow it; the
// attributes are texts, kept as ignored entities after the insert.
std::size_t ReadInsert(const DxfPairs& pairs, const DxfRecord& r, std::size_t end,
                       std::vector<DxfEntity>& out) {
  DxfInsert insert;
  insert.block = r.Text(2);
  insert.at = r.Point(10);
  insert.scale = {r.Real(41, 1), r.Real(42, 1), r.Real(43, 1)};
  insert.rotation = r.Real(50);
  insert.columns =
      static_cast<int>(std::max<long long>(1, std::min<long long>(r.Integer(70, 1), 1 << 30)));
  insert.rows =
      static_cast<int>(std::max<long long>(1, std::min<long long>(r.Integer(71, 1), 1 << 30)));
  insert.columnSpacing = r.Real(44);
  insert.rowSpacing = r.Real(45);
  DxfEntity entity = Common(r);
  entity.shape = std::move(insert);
  out.push_back(std::move(entity));
  std::size_t i = r.End();
  bool attributes = false;
  while (i < end && pairs.Value(i) == "ATTRIB") {
    const DxfRecord attribute(pairs, i, NextRecordStart(pairs, i, end));
    DxfEntity ignored = Common(attribute);
    ignored.shape = DxfIgnored{};
    out.push_back(std::move(ignored));
    attributes = true;
    i = attribute.End();
  }
  if (i < end && pairs.Value(i) == "SEQEND" && (attributes || r.Integer(66) == 1)) {
    i = NextRecordStart(pairs, i, end);
  }
  return i;
}

}  // namespace

std::size_t ReadEntity(const DxfPairs& pairs, std::size_t begin, std::size_t end,
                       std::vector<DxfEntity>& out, LoadReport& report) {
  const DxfRecord record(pairs, begin, NextRecordStart(pairs, begin, end));
  const std::string_view name = record.Name();
  if (name == "POLYLINE") return ReadOldPolyline(pairs, record, end, out);
  if (name == "INSERT") return ReadInsert(pairs, record, end, out);
  if (name == "HATCH") {
    DxfEntity entity = Common(record);
    entity.shape = ReadHatch(record, report);
    out.push_back(std::move(entity));
    return record.End();
  }
  const auto& readers = SimpleReaders();
  const auto reader = readers.find(name);
  DxfEntity entity = Common(record);
  entity.shape = reader == readers.end() ? DxfShape(DxfIgnored{}) : reader->second(record);
  out.push_back(std::move(entity));
  return record.End();
}

}  // namespace pphatch::formats
