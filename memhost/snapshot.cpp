#include "memhost/snapshot.h"

#include <cstdio>
#include <variant>

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

// A graphic, its shape, vertices and children, indented by depth.
void WriteGraphic(const MemGraphic& g, const std::string& indent, std::string& out) {
  out += indent + "graphic #" + std::to_string(g.Id()) + " \"" + g.TypeText() + "\" info=\"" +
         g.Info() + "\" ignore=" + (g.Ignored() ? "1" : "0") + " closed=" +
         (g.IsClosed() ? "1" : "0") + " workplane" + Frame(*g.Plane()) + "\n";
  const std::string inner = indent + "  ";
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
  for (const auto& child : g.ChildItems()) WriteGraphic(*child, inner, out);
}

}  // namespace

std::string Snapshot(const MemDrawing& drawing) {
  std::string out = "drawing workplane" + Frame(*drawing.CurrentWorkplane()) + "\n";
  WriteProperties(drawing.Props(), "  ", out);
  for (const auto& g : drawing.List()->Items()) WriteGraphic(*g, "", out);
  return out;
}

}  // namespace pphatch::mem
