// Shorthand shapes of the JSON drawing format, for drawings written by hand:
// each is one call of a memhost builder.
#include <algorithm>
#include <functional>
#include <map>
#include <numbers>

#include "formats/json_read.h"

namespace pphatch::formats {

namespace {

using mem::GraphicPtr;
using mem::Vec2;

// What a shape reads: the JSON object and its path, and where the graphic goes.
struct ShapeInput {
  const Json& j;
  const std::string& path;
  const JsonTarget& target;
  JsonReadState& state;

  const mem::Into& Into() const { return target.into; }
  Vec2 At(const char* key) const { return Point(Member(j, path, key), Below(path, key)); }
  double Num(const char* key) const { return Number(Member(j, path, key), Below(path, key)); }
  std::vector<Vec2> Pts(const char* key) const {
    return Points(Member(j, path, key), Below(path, key));
  }
  bool Closed() const { return FlagOr(j, path, "closed", false); }
  // An angle in radians from `key`, or in degrees from `key`_deg.
  double Angle(const std::string& key) const {
    if (j.contains(key)) return Number(j[key], Below(path, key));
    const std::string deg = key + "_deg";
    if (j.contains(deg)) return Number(j[deg], Below(path, deg)) * std::numbers::pi / 180;
    JsonFail(path, "missing '" + key + "' (radians) or '" + deg + "' (degrees)");
  }
};

using Maker = std::function<GraphicPtr(const ShapeInput&)>;

// Graphics in a tree, and its depth (1 for a graphic without children).
struct TreeMeasure {
  double size = 1;
  int depth = 1;
};

TreeMeasure Measure(const mem::MemGraphic& g) {
  TreeMeasure m;
  for (const auto& child : g.ChildItems()) {
    const TreeMeasure c = Measure(*child);
    m.size += c.size;
    m.depth = std::max(m.depth, c.depth + 1);
  }
  return m;
}

struct Shape {
  std::vector<std::string> keys;  ///< the shape's own keys
  Maker make;
};

// A polyline point: [x, y], [x, y, bulge] or {"x", "y", "bulge"}.
mem::BulgePoint BulgePointAt(const Json& j, const std::string& path) {
  if (j.is_array() && j.size() == 3) {
    return {Number(j[0], Below(path, 0)), Number(j[1], Below(path, 1)),
            Number(j[2], Below(path, 2))};
  }
  if (j.is_object()) {
    CheckKeys(j, path, {"x", "y", "bulge"});
    return {Number(Member(j, path, "x"), Below(path, "x")),
            Number(Member(j, path, "y"), Below(path, "y")), NumberOr(j, path, "bulge", 0)};
  }
  const Vec2 p = Point(j, path);
  return {p.x, p.y, 0};
}

GraphicPtr Chain(const ShapeInput& in) {
  const std::string at = Below(in.path, "points");
  const Json& list = Array(Member(in.j, in.path, "points"), at);
  std::vector<mem::ChainPoint> points;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const mem::VertexData v = ReadVertex(list[i], Below(at, i));
    points.push_back({v.x, v.y, v.penDown, v.arcPoint});
  }
  return mem::AddFlaggedChain(in.Into(), points, in.Closed());
}

GraphicPtr Polyline(const ShapeInput& in) {
  const std::string at = Below(in.path, "points");
  const Json& list = Array(Member(in.j, in.path, "points"), at);
  std::vector<mem::BulgePoint> points;
  for (std::size_t i = 0; i < list.size(); ++i)
    points.push_back(BulgePointAt(list[i], Below(at, i)));
  return mem::AddPolyline(in.Into(), points, in.Closed());
}

GraphicPtr Arc(const ShapeInput& in) {
  const double start = in.Angle("start"), end = in.Angle("end");
  if (in.j.contains("radius"))
    return mem::AddArc(in.Into(), in.At("centre"), in.Num("radius"), start, end);
  return mem::AddEllipticalArc(in.Into(), in.At("centre"), in.At("major"), in.Num("ratio"), start,
                               end);
}

GraphicPtr TextShape(const ShapeInput& in) {
  const std::string at = Below(in.path, "letters");
  const Json& list = Array(Member(in.j, in.path, "letters"), at);
  std::vector<std::vector<Vec2>> letters;
  for (std::size_t i = 0; i < list.size(); ++i) letters.push_back(Points(list[i], Below(at, i)));
  return mem::AddText(in.Into(), NumberOr(in.j, in.path, "text_mode", 3), letters);
}

GraphicPtr Insert(const ShapeInput& in) {
  const std::string name = formats::Text(Member(in.j, in.path, "block"), Below(in.path, "block"));
  const auto block = in.state.blocks.find(name);
  if (block == in.state.blocks.end()) {
    JsonFail(Below(in.path, "block"), "no block '" + name + "' (define it under \"blocks\" first)");
  }
  const TreeMeasure tree = Measure(*block->second);
  if (in.target.depth + tree.depth > kMaxJsonNesting) {
    JsonFail(in.path,
             "the insert nests graphics more than " + std::to_string(kMaxJsonNesting) + " deep");
  }
  CountGraphics(in.state, tree.size - 1, in.path);  // the block itself is not copied
  mem::Placement placement;
  const Vec2 at = in.At("at");
  placement.x = at.x;
  placement.y = at.y;
  placement.scale = NumberOr(in.j, in.path, "scale", 1);
  if (placement.scale == 0) JsonFail(Below(in.path, "scale"), "the scale must not be 0");
  placement.rotation =
      in.j.contains("rotation") || in.j.contains("rotation_deg") ? in.Angle("rotation") : 0;
  return mem::AddInsert(in.Into(), block->second, placement);
}

GraphicPtr Cosmetic(const ShapeInput& in) {
  if (!in.target.parent) JsonFail(in.path, "a cosmetic outline must be a child of another graphic");
  return mem::AddCosmeticChild(in.target.parent,
                               formats::Text(Member(in.j, in.path, "info"), Below(in.path, "info")),
                               in.Pts("outline"), in.Closed());
}

// A container of that host type, filled by "children".
Shape ContainerOf(const char* type) {
  return {{}, [type](const ShapeInput& in) { return mem::AddContainer(in.Into(), type); }};
}

// The shorthand shapes by type name.
const std::map<std::string, Shape>& Shapes() {
  static const std::map<std::string, Shape> shapes{
      {"line",
       {{"from", "to"},
        [](const ShapeInput& in) { return mem::AddLine(in.Into(), in.At("from"), in.At("to")); }}},
      {"chain", {{"points"}, Chain}},
      {"polygon",
       {{"points"},
        [](const ShapeInput& in) { return mem::AddPolygon(in.Into(), in.Pts("points")); }}},
      {"rectangle",
       {{"min", "max"},
        [](const ShapeInput& in) {
          return mem::AddRectangle(in.Into(), in.At("min"), in.At("max"));
        }}},
      {"polyline", {{"points"}, Polyline}},
      {"curve",
       {{"points", "brush"},
        [](const ShapeInput& in) {
          return mem::AddCurve(in.Into(), in.Pts("points"), TextOr(in.j, in.path, "brush", "None"));
        }}},
      {"circle",
       {{"centre", "radius"},
        [](const ShapeInput& in) {
          return mem::AddCircle(in.Into(), in.At("centre"), in.Num("radius"));
        }}},
      {"ellipse",
       {{"centre", "major", "ratio"},
        [](const ShapeInput& in) {
          return mem::AddEllipse(in.Into(), in.At("centre"), in.At("major"), in.Num("ratio"));
        }}},
      {"arc",
       {{"centre", "radius", "major", "ratio", "start", "end", "start_deg", "end_deg"}, Arc}},
      {"text", {{"text_mode", "letters"}, TextShape}},
      {"hatch",
       {{"points", "brush"},
        [](const ShapeInput& in) {
          return mem::AddHatch(in.Into(), in.Pts("points"),
                               TextOr(in.j, in.path, "brush", "Solid"));
        }}},
      {"dimension",
       {{"from", "to", "offset"},
        [](const ShapeInput& in) {
          return mem::AddDimension(in.Into(), in.At("from"), in.At("to"),
                                   NumberOr(in.j, in.path, "offset", 0));
        }}},
      {"point",
       {{"at"}, [](const ShapeInput& in) { return mem::AddPoint(in.Into(), in.At("at")); }}},
      {"solid",
       {{"min", "max"},
        [](const ShapeInput& in) { return mem::AddSolid(in.Into(), in.At("min"), in.At("max")); }}},
      {"surface",
       {{"points"},
        [](const ShapeInput& in) { return mem::AddSurface(in.Into(), in.Pts("points")); }}},
      {"insert", {{"block", "at", "scale", "rotation", "rotation_deg"}, Insert}},
      {"int_prop",
       {{"info", "own", "outline"},
        [](const ShapeInput& in) {
          return mem::AddIntProp(
              in.Into(), formats::Text(Member(in.j, in.path, "info"), Below(in.path, "info")),
              in.Pts("own"), in.Pts("outline"), in.Closed());
        }}},
      {"cosmetic", {{"info", "outline"}, Cosmetic}},
      {"group", ContainerOf("GRAPHIC")},
      {"data", ContainerOf("DATA")},
      {"wall", ContainerOf("PWW60Wall")},
      {"double_line", ContainerOf("PWW25DblLine")},
      {"multiline", ContainerOf("PW_Multiline")},
      {"drafting", ContainerOf("PWDrafting")},
      {"region", ContainerOf("PWW70Region")},
  };
  return shapes;
}

}  // namespace

GraphicPtr AddJsonShape(const std::string& type, const Json& j, const JsonTarget& target,
                        const std::string& path, JsonReadState& state) {
  const auto& shapes = Shapes();
  const auto shape = shapes.find(type);
  if (shape == shapes.end()) return nullptr;
  CheckKeys(j, path, GraphicKeys(shape->second.keys));
  return shape->second.make(ShapeInput{j, path, target, state});
}

}  // namespace pphatch::formats
