#include "memhost/snapshot.h"

#include <cstdio>
#include <utility>
#include <variant>
#include <vector>

#include "memhost/drawing.h"

namespace pphatch::mem {

namespace {

// A number with every digit needed to read it back exactly.
std::string Num(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

// Origin and axes of a workplane.
std::string Frame(const MemWorkplane& w) {
  std::string text;
  for (const Vec3 v : {w.Origin(), w.XAxis(), w.YAxis(), w.ZAxis()}) {
    text += " (" + Num(v.x) + " " + Num(v.y) + " " + Num(v.z) + ")";
  }
  return text;
}

// One line per property, sorted by name.
void WriteProperties(const PropertyTable& props, const std::string& indent, std::string& out) {
  for (const auto& [name, cell] : props.All()) {
    out += indent + "property " + name + " = ";
    if (const auto* text = std::get_if<std::string>(cell.get())) {
      out += "\"" + *text + "\"\n";
    } else {
      out += Num(std::get<double>(*cell)) + "\n";
    }
  }
}

// A graphic's own lines: header (with its nesting depth), properties, shape
// and vertices.
void WriteGraphic(const MemGraphic& g, int depth, std::string& out) {
  out += "[" + std::to_string(depth) + "] graphic #" + std::to_string(g.Id()) + " \"" +
         g.TypeText() + "\" info=\"" + g.Info() + "\" ignore=" + (g.Ignored() ? "1" : "0") +
         " closed=" + (g.IsClosed() ? "1" : "0") + " workplane" + Frame(*g.Plane()) + "\n";
  const std::string inner = "  ";
  WriteProperties(g.Props(), inner, out);
  if (const auto& s = g.Shape()) {
    out += inner + "shape centre " + Num(s->centre.x) + " " + Num(s->centre.y) + " major " +
           Num(s->major.x) + " " + Num(s->major.y) + " ratio " + Num(s->ratio) +
           (s->full ? std::string(" full") : " arc " + Num(s->start) + " " + Num(s->end)) + "\n";
  }
  for (const VertexData& v : g.VertexList()) {
    out += inner + "vertex " + Num(v.x) + " " + Num(v.y) + " " + Num(v.z) +
           (v.penDown ? " down" : " up") + (v.arcPoint ? " arc" : "") + "\n";
  }
}

// A graphic and all its descendants, depth first. The walk keeps its own
// stack, and depth is written as a number rather than as indentation, so
// that any nesting depth costs neither call stack nor quadratic text.
void WriteTree(const MemGraphic& root, std::string& out) {
  std::vector<std::pair<const MemGraphic*, int>> pending{{&root, 0}};
  while (!pending.empty()) {
    const auto [g, depth] = pending.back();
    pending.pop_back();
    WriteGraphic(*g, depth, out);
    const auto& children = g->ChildItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      pending.emplace_back(it->get(), depth + 1);
    }
  }
}

}  // namespace

std::string Snapshot(const MemDrawing& drawing) {
  std::string out = "drawing workplane" + Frame(*drawing.CurrentWorkplane()) + "\n";
  WriteProperties(drawing.Props(), "  ", out);
  for (const auto& g : drawing.List()->Items()) WriteTree(*g, out);
  return out;
}

}  // namespace pphatch::mem
