// Writing a drawing in the full form of the JSON drawing format.
#include <cmath>
#include <fstream>
#include <map>
#include <variant>

#include "formats/json_drawing.h"
#include "formats/json_values.h"
#include "memhost/graphic.h"

namespace pphatch::formats {

namespace {

// Whole numbers are written without a fraction ("3", not "3.0"); -0 keeps
// its sign so that the drawing reads back bit for bit.
Json Num(double v) {
  if (v == std::trunc(v) && std::fabs(v) < 1e15 && !(v == 0 && std::signbit(v))) {
    return static_cast<long long>(v);
  }
  return v;
}

Json Pair(double x, double y) { return Json::array({Num(x), Num(y)}); }

Json Triple(mem::Vec3 v) { return Json::array({Num(v.x), Num(v.y), Num(v.z)}); }

Json Frame(const mem::MemWorkplane& w) {
  return Json{{"origin", Triple(w.Origin())},
              {"x_axis", Triple(w.XAxis())},
              {"y_axis", Triple(w.YAxis())},
              {"z_axis", Triple(w.ZAxis())}};
}

Json Value(const PropertyValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return Num(std::get<double>(value));
}

// The properties that differ from those every new graphic of that type starts with.
Json ChangedProperties(const mem::MemGraphic& g, const mem::PropertyTable& defaults) {
  Json out = Json::object();
  for (const auto& [name, cell] : g.Props().All()) {
    const auto initial = defaults.Get(name);
    if (!initial || *initial != *cell) out[name] = Value(*cell);
  }
  return out;
}

// [x, y] for a plain vertex, [x, y, z] off the plane, an object when flags differ.
Json Vertex(const mem::VertexData& v) {
  const bool flat = v.z == 0 && !std::signbit(v.z);
  if (v.penDown && !v.arcPoint) return flat ? Pair(v.x, v.y) : Triple({v.x, v.y, v.z});
  Json out{{"x", Num(v.x)}, {"y", Num(v.y)}};
  if (!flat) out["z"] = Num(v.z);
  if (!v.penDown) out["pen"] = false;
  if (v.arcPoint) out["arc"] = true;
  return out;
}

Json Shape(const mem::ArcShape& s) {
  Json out{{"centre", Pair(s.centre.x, s.centre.y)},
           {"major", Pair(s.major.x, s.major.y)},
           {"ratio", Num(s.ratio)}};
  if (!s.full) {
    out["start"] = Num(s.start);
    out["end"] = Num(s.end);
  }
  return out;
}

// Turns a drawing into the full form of the format.
class Writer {
 public:
  explicit Writer(const mem::MemDrawing& drawing) : drawing_(drawing) {}

  Json Drawing() {
    Json root{{"format", "pphatch-drawing"}, {"version", 1}};
    if (const auto tileMode = drawing_.Props().Get("TileMode"))
      root["tile_mode"] = Value(*tileMode);
    const mem::MemWorkplane& plane = *drawing_.CurrentWorkplane();
    if (!plane.SameFrame(*mem::MemWorkplane::Identity())) root["workplane"] = Frame(plane);
    Json properties = Json::object();
    for (const auto& [name, cell] : drawing_.Props().All()) {
      if (name != "TileMode") properties[name] = Value(*cell);
    }
    if (!properties.empty()) root["properties"] = properties;
    Json graphics = Json::array();
    for (const auto& g : drawing_.List()->Items()) graphics.push_back(Graphic(*g, plane));
    root["graphics"] = graphics;
    return root;
  }

 private:
  // A graphic and its children; its workplane is written where it differs from its parent's.
  Json Graphic(const mem::MemGraphic& g, const mem::MemWorkplane& parentPlane) {
    Json out{{"type", g.TypeText()}};
    if (!g.Plane()->SameFrame(parentPlane)) out["workplane"] = Frame(*g.Plane());
    if (g.IsClosed()) out["closed"] = true;
    if (!g.Info().empty()) out["info_text"] = g.Info();
    if (g.Ignored()) out["ignore"] = true;
    Json properties = ChangedProperties(g, Defaults(g.TypeText()));
    if (!properties.empty()) out["properties"] = properties;
    if (g.Shape()) out["arc"] = Shape(*g.Shape());
    if (!g.VertexList().empty()) {
      Json vertices = Json::array();
      for (const mem::VertexData& v : g.VertexList()) vertices.push_back(Vertex(v));
      out["vertices"] = vertices;
    }
    if (!g.ChildItems().empty()) {
      Json children = Json::array();
      for (const auto& child : g.ChildItems()) children.push_back(Graphic(*child, *g.Plane()));
      out["children"] = children;
    }
    return out;
  }

  // The properties a new graphic of that type starts with in a fresh drawing.
  const mem::PropertyTable& Defaults(const std::string& type) {
    auto found = defaults_.find(type);
    if (found == defaults_.end()) {
      found = defaults_.emplace(type, scratch_->CreateGraphic(type)->Props().Clone()).first;
    }
    return found->second;
  }

  const mem::MemDrawing& drawing_;
  std::shared_ptr<mem::MemDrawing> scratch_ = mem::MemDrawing::Create();
  std::map<std::string, mem::PropertyTable> defaults_;
};

// True for arrays and objects that hold no arrays or objects.
bool Flat(const Json& j) {
  for (const auto& item : j) {
    if (item.is_structured()) return false;
  }
  return true;
}

// JSON text indented by two spaces, with flat arrays and objects (points,
// vertices, property lists) kept on one line.
void Pretty(const Json& j, int indent, std::string& out) {
  if (!j.is_structured() || j.empty() || Flat(j)) {
    out += j.dump();
    return;
  }
  const std::string pad(indent + 2, ' ');
  out += j.is_object() ? "{\n" : "[\n";
  bool first = true;
  for (auto item = j.begin(); item != j.end(); ++item) {
    out += first ? pad : ",\n" + pad;
    first = false;
    if (j.is_object()) out += Json(item.key()).dump() + ": ";
    Pretty(item.value(), indent + 2, out);
  }
  out += "\n" + std::string(indent, ' ') + (j.is_object() ? "}" : "]");
}

}  // namespace

std::string WriteJsonText(const mem::MemDrawing& drawing) {
  std::string out;
  Pretty(Writer(drawing).Drawing(), 0, out);
  return out + "\n";
}

void WriteJsonFile(const mem::MemDrawing& drawing, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  if (!out) throw WriteError(path + ": cannot open for writing");
  out << WriteJsonText(drawing);
  out.close();
  if (!out) throw WriteError(path + ": cannot write");
}

}  // namespace pphatch::formats
