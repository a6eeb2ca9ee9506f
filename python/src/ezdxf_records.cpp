#include "ezdxf_records.h"

#include <cmath>
#include <stdexcept>

#include "formats/dxf_geometry.h"
#include "formats/dxf_parse.h"
#include "formats/dxf_record.h"

namespace py = pybind11;

namespace pphatch::python {

namespace {

using formats::DxfEntity;
using formats::DxfShape;
using mem::Vec3;

Vec3 Point(py::handle p) {
  const py::sequence s = py::reinterpret_borrow<py::sequence>(p);
  return {s[0].cast<double>(), s[1].cast<double>(), s.size() > 2 ? s[2].cast<double>() : 0.0};
}

std::vector<Vec3> Points(py::handle list) {
  std::vector<Vec3> points;
  for (py::handle p : list) points.push_back(Point(p));
  return points;
}

std::vector<double> Reals(py::handle list) {
  std::vector<double> values;
  for (py::handle v : list) values.push_back(v.cast<double>());
  return values;
}

// ("polyline", (vertices as (x, y, z, bulge), closed, 3D, elevation)).
DxfShape Polyline(const py::tuple& d) {
  formats::DxfPolyline p;
  for (py::handle v : d[0]) {
    const py::tuple t = py::reinterpret_borrow<py::tuple>(v);
    p.vertices.push_back(
        {{t[0].cast<double>(), t[1].cast<double>(), t[2].cast<double>()}, t[3].cast<double>()});
  }
  p.closed = d[1].cast<bool>();
  p.threeD = d[2].cast<bool>();
  p.elevation = d[3].cast<double>();
  return p;
}

// ("spline", (degree, closed, knots, weights, control points, fit points)).
DxfShape Spline(const py::tuple& d) {
  formats::DxfSpline s;
  s.degree = d[0].cast<int>();
  s.closed = d[1].cast<bool>();
  s.knots = Reals(d[2]);
  s.weights = Reals(d[3]);
  s.control = Points(d[4]);
  s.fit = Points(d[5]);
  return s;
}

// ("insert", (block, point, scale (x, y, z), rotation, columns, rows,
// column spacing, row spacing)).
DxfShape Insert(const py::tuple& d) {
  formats::DxfInsert s;
  s.block = d[0].cast<std::string>();
  s.at = Point(d[1]);
  s.scale = Point(d[2]);
  s.rotation = d[3].cast<double>();
  s.columns = std::max(1, d[4].cast<int>());
  s.rows = std::max(1, d[5].cast<int>());
  s.columnSpacing = d[6].cast<double>();
  s.rowSpacing = d[7].cast<double>();
  return s;
}

// ("hatch", the entity's DXF groups as (code, value text)): read by the
// reader's own HATCH code, so that boundary paths of every kind are
// sampled exactly as from a file.
DxfShape Hatch(const py::sequence& groups, formats::LoadReport& report) {
  // The groups written as DXF text and split as a file's are: the pairs
  // are views into this text, checked by the kind of their codes.
  std::string text = "0\nHATCH\n";
  for (py::handle g : groups) {
    const py::tuple t = py::reinterpret_borrow<py::tuple>(g);
    text += std::to_string(t[0].cast<int>()) + "\n" + t[1].cast<std::string>() + "\n";
  }
  text += "0\nEOF\n";  // the end a file has, which the splitter checks for
  const formats::DxfPairs pairs = formats::SplitDxfPairs(text, "HATCH");
  return formats::ReadHatch(formats::DxfRecord(pairs, 0, pairs.size() - 1), report);
}

// ("marker", (host type, points, points in the OCS, closed)).
DxfShape Marker(const py::tuple& d) {
  return formats::DxfMarker{d[0].cast<std::string>(), Points(d[1]), d[2].cast<bool>(),
                            d[3].cast<bool>()};
}

DxfShape Shape(const std::string& kind, const py::object& data, formats::LoadReport& report) {
  if (kind == "ignored") return formats::DxfIgnored{};
  if (kind == "hatch") return Hatch(data, report);
  const py::tuple d = data;
  if (kind == "line") return formats::DxfLine{Point(d[0]), Point(d[1])};
  if (kind == "circle") {
    return formats::DxfCircle{Point(d[0]), d[1].cast<double>(), d[2].cast<bool>(),
                              d[3].cast<double>(), d[4].cast<double>()};
  }
  if (kind == "ellipse") {
    return formats::DxfEllipse{Point(d[0]), Point(d[1]), d[2].cast<double>(), d[3].cast<double>(),
                               d[4].cast<double>()};
  }
  if (kind == "polyline") return Polyline(d);
  if (kind == "spline") return Spline(d);
  if (kind == "insert") return Insert(d);
  if (kind == "dimension") {
    return formats::DxfDimension{d[0].cast<int>() & 7, Point(d[1]), Point(d[2]), Point(d[3]),
                                 Point(d[4])};
  }
  if (kind == "marker") return Marker(d);
  throw std::invalid_argument("unknown entity record kind '" + kind + "'");
}

std::vector<DxfEntity> Entities(const py::handle& records, formats::LoadReport& report) {
  std::vector<DxfEntity> entities;
  for (py::handle r : records) {
    const py::tuple t = py::reinterpret_borrow<py::tuple>(r);
    DxfEntity e;
    e.name = t[0].cast<std::string>();
    e.layer = t[1].cast<std::string>();
    e.extrusion = formats::Normalized(Point(t[2]));
    e.thickness = t[3].cast<double>();
    e.shape = Shape(t[4].cast<std::string>(), py::reinterpret_borrow<py::object>(t[5]), report);
    entities.push_back(std::move(e));
  }
  return entities;
}

}  // namespace

formats::DxfDocument DocumentFromRecords(const py::dict& layers, const py::list& blocks,
                                         const py::list& entities, const py::object& tileMode) {
  formats::DxfDocument doc;
  for (const auto& [name, hidden] : layers) {
    doc.hiddenLayers[formats::NameKey(name.cast<std::string>())] = hidden.cast<bool>();
  }
  for (py::handle b : blocks) {
    const py::tuple t = py::reinterpret_borrow<py::tuple>(b);
    formats::DxfBlock block{t[0].cast<std::string>(), Point(t[1]), Entities(t[2], doc.report)};
    doc.blocks.emplace(formats::NameKey(block.name), std::move(block));
  }
  doc.entities = formats::DxfEntityRuns(Entities(entities, doc.report));
  if (!tileMode.is_none()) doc.tileMode = tileMode.cast<int>();
  return doc;
}

}  // namespace pphatch::python
