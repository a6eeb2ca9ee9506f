#include "formats/json_read.h"

#include <cctype>
#include <cmath>

namespace pphatch::formats {

namespace {

using mem::GraphicPtr;

// How far workplane axes may be from unit length and from right angles.
constexpr double kFrameTolerance = 1e-9;

// Puts the workplane on a graphic and all its descendants.
void PlaceOnPlane(mem::MemGraphic& g, const std::shared_ptr<mem::MemWorkplane>& plane) {
  g.SetPlane(plane);
  for (const auto& child : g.ChildItems()) PlaceOnPlane(*child, plane);
}

// {"origin", "x_axis", "y_axis", "z_axis"}: an orthonormal right-handed frame.
std::shared_ptr<mem::MemWorkplane> ReadFrame(const Json& j, const std::string& path,
                                             const mem::MemDrawing& drawing) {
  CheckKeys(j, path, {"origin", "x_axis", "y_axis", "z_axis"});
  const auto vec = [&](const char* key) { return Point3(Member(j, path, key), Below(path, key)); };
  const mem::Vec3 o = vec("origin"), x = vec("x_axis"), y = vec("y_axis"), z = vec("z_axis");
  const mem::Vec3 xy{x.y * y.z - x.z * y.y, x.z * y.x - x.x * y.z, x.x * y.y - x.y * y.x};
  const mem::Vec3 off = xy - z;
  const bool unit =
      std::fabs(Dot(x, x) - 1) <= kFrameTolerance && std::fabs(Dot(y, y) - 1) <= kFrameTolerance;
  const bool square = std::fabs(Dot(x, y)) <= kFrameTolerance && Dot(off, off) <= kFrameTolerance;
  if (!unit || !square)
    JsonFail(path, "the axes must be unit vectors at right angles, z = x cross y");
  return std::make_shared<mem::MemWorkplane>(o, x, y, z, drawing.FaultsPtr());
}

// The exact shape of a "CIRCLE" or "ARC": centre, major axis, ratio, and
// for an arc its start and end parameters (radians).
mem::ArcShape ReadShape(const Json& j, const std::string& path) {
  CheckKeys(j, path, {"centre", "major", "major_end", "ratio", "start", "end"});
  mem::ArcShape s;
  s.centre = Point(Member(j, path, "centre"), Below(path, "centre"));
  if (j.contains("major") == j.contains("major_end")) {
    JsonFail(path, "give either 'major' (from the centre to the axis end) or 'major_end'");
  }
  s.major = j.contains("major") ? Point(j["major"], Below(path, "major"))
                                : Point(j["major_end"], Below(path, "major_end")) - s.centre;
  s.ratio = NumberOr(j, path, "ratio", 1);
  if (!(s.ratio > 0)) JsonFail(Below(path, "ratio"), "the axis ratio must be positive");
  if (j.contains("start") != j.contains("end"))
    JsonFail(path, "an arc needs both 'start' and 'end'");
  if (j.contains("start")) {
    s.full = false;
    s.start = mem::NormalizeAngle(Number(j["start"], Below(path, "start")));
    s.end = mem::NormalizeAngle(Number(j["end"], Below(path, "end")));
  }
  return s;
}

// {"name": number or text, ...}
void ReadProperties(const Json& j, const std::string& path, mem::PropertyTable& table) {
  if (!j.is_object()) JsonFail(path, "expected an object of property names and values");
  for (const auto& item : j.items()) {
    if (item.value().is_number()) {
      table.Define(item.key(), Number(item.value(), Below(path, item.key())));
    } else if (item.value().is_string()) {
      table.Define(item.key(), item.value().get<std::string>());
    } else {
      JsonFail(Below(path, item.key()), "a property value is a number or a text");
    }
  }
}

// The keys every graphic may carry; children come last so that they see the workplane.
void ApplyCommon(const Json& j, const std::string& path, const GraphicPtr& g, int depth,
                 const mem::MemDrawing& drawing, JsonReadState& state) {
  if (j.contains("workplane")) {
    PlaceOnPlane(*g, ReadFrame(j["workplane"], Below(path, "workplane"), drawing));
  }
  if (j.contains("closed")) g->SetClosedFlag(Flag(j["closed"], Below(path, "closed")));
  if (j.contains("info_text")) g->SetInfoText(Text(j["info_text"], Below(path, "info_text")));
  if (j.contains("ignore")) g->SetIgnored(Flag(j["ignore"], Below(path, "ignore")));
  if (j.contains("properties"))
    ReadProperties(j["properties"], Below(path, "properties"), g->Props());
  if (j.contains("children")) {
    const std::string at = Below(path, "children");
    const Json& children = Array(j["children"], at);
    for (std::size_t i = 0; i < children.size(); ++i) {
      ReadJsonGraphic(children[i], {mem::Into(g), g, depth + 1}, Below(at, i), state);
    }
  }
}

// A graphic in the full form: any host type with its vertices and shape.
GraphicPtr ReadFullForm(const std::string& type, const Json& j, const mem::Into& into,
                        const std::string& path) {
  CheckKeys(j, path, GraphicKeys({"vertices", "arc"}));
  GraphicPtr g = into.Make(type);
  if (j.contains("arc"))
    g->SetShape(ReadShape(j["arc"], Below(path, "arc")), !j.contains("vertices"));
  if (j.contains("vertices")) {
    const std::string at = Below(path, "vertices");
    const Json& list = Array(j["vertices"], at);
    std::vector<mem::VertexData> vertices;
    for (std::size_t i = 0; i < list.size(); ++i)
      vertices.push_back(ReadVertex(list[i], Below(at, i)));
    g->SetVertexList(std::move(vertices));
  }
  return into.Put(g);
}

}  // namespace

mem::VertexData ReadVertex(const Json& j, const std::string& path) {
  if (j.is_array()) {
    const mem::Vec3 p = Point3(j, path);
    return {p.x, p.y, p.z, true, false};
  }
  CheckKeys(j, path, {"x", "y", "z", "pen", "arc"});
  return {Number(Member(j, path, "x"), Below(path, "x")),
          Number(Member(j, path, "y"), Below(path, "y")), NumberOr(j, path, "z", 0),
          FlagOr(j, path, "pen", true), FlagOr(j, path, "arc", false)};
}

std::vector<std::string> GraphicKeys(std::vector<std::string> own) {
  for (const char* key :
       {"type", "closed", "info_text", "ignore", "properties", "children", "workplane"}) {
    own.push_back(key);
  }
  return own;
}

void CountGraphics(JsonReadState& state, double count, const std::string& path) {
  state.graphics += count;
  if (state.graphics > state.maxGraphics) {
    JsonFail(path, "the drawing would hold more than " +
                       std::to_string(static_cast<long long>(state.maxGraphics)) + " graphics");
  }
}

GraphicPtr ReadJsonGraphic(const Json& j, const JsonTarget& target, const std::string& path,
                           JsonReadState& state) {
  const std::string type = Text(Member(j, path, "type"), Below(path, "type"));
  if (type.empty()) JsonFail(Below(path, "type"), "the type is empty");
  if (target.depth > kMaxJsonNesting) {
    JsonFail(path, "graphics nested more than " + std::to_string(kMaxJsonNesting) + " deep");
  }
  CountGraphics(state, 1, path);
  GraphicPtr g;
  if (std::islower(static_cast<unsigned char>(type[0]))) {
    g = AddJsonShape(type, j, target, path, state);
    if (!g) JsonFail(Below(path, "type"), "unknown shape '" + type + "'");
  } else {
    g = ReadFullForm(type, j, target.into, path);
  }
  ApplyCommon(j, path, g, target.depth, target.into.Drawing(), state);
  return g;
}

std::shared_ptr<mem::MemDrawing> ReadJsonDrawing(const Json& root, double maxGraphics) {
  CheckKeys(root, "",
            {"format", "version", "tile_mode", "workplane", "properties", "blocks", "graphics"});
  if (TextOr(root, "", "format", "pphatch-drawing") != "pphatch-drawing") {
    JsonFail("/format", "this is not a pphatch drawing (format must be \"pphatch-drawing\")");
  }
  if (NumberOr(root, "", "version", 1) != 1) JsonFail("/version", "only version 1 is known");
  auto drawing = mem::MemDrawing::Create();
  if (root.contains("workplane"))
    drawing->SetWorkplane(ReadFrame(root["workplane"], "/workplane", *drawing));
  if (root.contains("properties"))
    ReadProperties(root["properties"], "/properties", drawing->Props());
  if (root.contains("tile_mode"))
    drawing->Props().Define("TileMode", Number(root["tile_mode"], "/tile_mode"));
  JsonReadState state;
  state.maxGraphics = maxGraphics;
  if (root.contains("blocks")) {
    const Json& list = root["blocks"];
    if (!list.is_object())
      JsonFail("/blocks", "expected an object of block names and their graphics");
    for (const auto& item : list.items()) {
      const std::string at = Below("/blocks", item.key());
      const GraphicPtr block = mem::NewBlock(*drawing);
      const Json& graphics = Array(item.value(), at);
      for (std::size_t i = 0; i < graphics.size(); ++i) {
        ReadJsonGraphic(graphics[i], {mem::Into(block), block, 1}, Below(at, i), state);
      }
      state.blocks[item.key()] = block;
    }
  }
  if (root.contains("graphics")) {
    const Json& graphics = Array(root["graphics"], "/graphics");
    for (std::size_t i = 0; i < graphics.size(); ++i) {
      ReadJsonGraphic(graphics[i], {mem::Into(drawing), nullptr, 0}, Below("/graphics", i), state);
    }
  }
  return drawing;
}

}  // namespace pphatch::formats
