// The extension module pphatch._core: drawings read by the project's
// readers or made from ezdxf records, and picks on them. The package's
// Python layer (pphatch/__init__.py) gives it its public shape.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "ezdxf_records.h"
#include "formats/contour_measure.h"
#include "formats/true_contour.h"
#include "formats/drawing_file.h"
#include "formats/dxf_emit.h"
#include "formats/errors.h"
#include "memhost/snapshot.h"
#include "pphatch/pick_diagnosis.h"
#include "picking.h"

namespace py = pybind11;

namespace pphatch::python {

namespace {

// A drawing and the lock that lets one request at a time work on it: a
// request changes the drawing while it runs (and restores it), so two at
// once on the same drawing would see each other's work.
struct DrawingCore {
  formats::LoadedDrawing loaded;
  std::mutex mutex;
};

using CorePtr = std::shared_ptr<DrawingCore>;

CorePtr Wrap(formats::LoadedDrawing loaded) {
  auto core = std::make_shared<DrawingCore>();
  core->loaded = std::move(loaded);
  return core;
}

// A closed contour as a float64 array of shape (n, 2).
py::array_t<double> ContourArray(const formats::Contour& contour) {
  const bool repeats = !contour.empty() && contour.front() == contour.back();
  const std::size_t n = contour.size() + (contour.empty() || repeats ? 0 : 1);
  py::array_t<double> array({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(2)});
  auto out = array.mutable_unchecked<2>();
  for (std::size_t i = 0; i < n; ++i) {
    const formats::Point2& p = contour[i % contour.size()];
    out(static_cast<py::ssize_t>(i), 0) = p[0];
    out(static_cast<py::ssize_t>(i), 1) = p[1];
  }
  return array;
}

// A point as a Python (x, y) tuple.
py::tuple Pair(double x, double y) { return py::make_tuple(x, y); }

// A piece of a true contour: ("line", from, to) or ("arc", from, to,
// centre, u, v, t0, t1), the conic's terms as in formats::ContourPiece.
py::tuple Piece(const formats::ContourPiece& p) {
  if (!p.arc) return py::make_tuple("line", Pair(p.from.x, p.from.y), Pair(p.to.x, p.to.y));
  return py::make_tuple("arc", Pair(p.from.x, p.from.y), Pair(p.to.x, p.to.y),
                        Pair(p.centre.x, p.centre.y), Pair(p.u.x, p.u.y), Pair(p.v.x, p.v.y),
                        p.t0, p.t1);
}

// The gaps of a diagnosis as (from, to, size) tuples, shortest first.
py::list Gaps(const std::vector<PickGap>& gaps) {
  py::list list;
  for (const PickGap& g : gaps) {
    list.append(py::make_tuple(Pair(g.fromX, g.fromY), Pair(g.toX, g.toY), g.size));
  }
  return list;
}

// The cause of a failed pick as the word the Python layer shows.
const char* CauseWord(PickDiagnosis::Cause cause) {
  switch (cause) {
    case PickDiagnosis::Cause::kOpen:
      return "open";
    case PickDiagnosis::Cause::kOnBoundary:
      return "on_boundary";
    case PickDiagnosis::Cause::kBudget:
      return "budget";
    case PickDiagnosis::Cause::kError:
      return "error";
    case PickDiagnosis::Cause::kNotEnclosed:
    case PickDiagnosis::Cause::kNone:
    default:
      return "not_enclosed";
  }
}

// One pick's result: (contours, area, perimeter, curves, bridged) for an
// area, or (message, cause, closes_at, gaps, free_ends) for none, where
// closes_at is None when no tolerance within reach closes the boundary.
py::tuple Outcome(const cli::PickOutcome& outcome) {
  const PickDiagnosis& d = outcome.diagnosis;
  if (!outcome.ok) {
    py::list freeEnds;
    for (const auto& end : d.freeEnds) freeEnds.append(Pair(end[0], end[1]));
    py::object closesAt = d.closesAt > 0 ? py::object(py::float_(d.closesAt)) : py::none();
    return py::make_tuple(outcome.error, CauseWord(d.cause), closesAt, Gaps(d.gaps), freeEnds);
  }
  py::list contours;
  for (const formats::Contour& c : outcome.contours) contours.append(ContourArray(c));
  py::list curves;
  for (const formats::TrueContour& contour : outcome.curves) {
    py::list pieces;
    for (const formats::ContourPiece& p : contour) pieces.append(Piece(p));
    curves.append(pieces);
  }
  return py::make_tuple(contours, outcome.measures.area, outcome.measures.perimeter, curves,
                        Gaps(d.gaps));
}

// Runs the picks with the interpreter released and the drawing locked.
py::list Picks(const CorePtr& core, std::vector<cli::DrawingPoint> points, double gap) {
  std::vector<cli::PickOutcome> outcomes;
  {
    py::gil_scoped_release release;
    std::lock_guard<std::mutex> lock(core->mutex);
    outcomes = cli::RunPicks(core->loaded.drawing, points, {}, gap);
  }
  py::list results;
  for (const cli::PickOutcome& o : outcomes) results.append(Outcome(o));
  return results;
}

// Reads a drawing file with the interpreter released.
CorePtr Read(const std::string& path) {
  formats::LoadedDrawing loaded;
  {
    py::gil_scoped_release release;
    loaded = formats::ReadDrawingFile(path);
  }
  return Wrap(std::move(loaded));
}

CorePtr FromRecords(const py::dict& layers, const py::list& blocks, const py::list& entities,
                    const py::object& tileMode, const std::string& name) {
  formats::DxfDocument document = DocumentFromRecords(layers, blocks, entities, tileMode);
  py::gil_scoped_release release;  // the records are read; the rest is C++ alone
  auto drawing = mem::MemDrawing::Create();
  formats::EmitDxfDocument(document, drawing, document.report, name);
  formats::LoadSummary summary = formats::Summarize(*drawing, std::move(document.report));
  return Wrap({drawing, std::move(summary)});
}

py::object Extents(const DrawingCore& core) {
  const auto& box = core.loaded.summary.extents;
  if (!box) return py::none();
  return py::make_tuple(box->minX, box->minY, box->maxX, box->maxY);
}

}  // namespace

}  // namespace pphatch::python

PYBIND11_MODULE(_core, m) {
  using namespace pphatch::python;
  m.doc() = "The compiled part of pphatch; use the names of the pphatch package instead.";

  static py::exception<pphatch::formats::ReadError> readFailure(m, "ReadFailure");
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const pphatch::formats::ReadError& e) {
      readFailure(e.what());
    }
  });

  py::class_<DrawingCore, CorePtr>(m, "DrawingCore")
      .def_static("read", &Read, py::arg("path"))
      .def_static("from_records", &FromRecords, py::arg("layers"), py::arg("blocks"),
                  py::arg("entities"), py::arg("tile_mode"), py::arg("name"))
      .def(
          "pick",
          [](const CorePtr& self, double x, double y, double gap) -> py::object {
            return Picks(self, {{x, y}}, gap)[0];
          },
          py::arg("x"), py::arg("y"), py::arg("gap"))
      .def(
          "pick_many",
          [](const CorePtr& self,
             const py::array_t<double, py::array::c_style | py::array::forcecast>& points,
             double gap) {
            if (points.ndim() != 2 || points.shape(1) != 2) {
              throw py::value_error("points must have the shape (n, 2)");
            }
            auto in = points.unchecked<2>();
            std::vector<pphatch::cli::DrawingPoint> clicks;
            for (py::ssize_t i = 0; i < in.shape(0); ++i) clicks.push_back({in(i, 0), in(i, 1)});
            return Picks(self, std::move(clicks), gap);
          },
          py::arg("points"), py::arg("gap"))
      .def_property_readonly(
          "report", [](const DrawingCore& self) { return self.loaded.summary.report.Lines(); })
      .def_property_readonly(
          "graphic_count", [](const DrawingCore& self) { return self.loaded.summary.graphicCount; })
      .def_property_readonly("extents", &Extents)
      .def("snapshot",
           [](const DrawingCore& self) { return pphatch::mem::Snapshot(*self.loaded.drawing); });
}
