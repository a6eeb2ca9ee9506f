#include "memhost/builders.h"

#include <cmath>
#include <utility>

namespace pphatch::mem {

namespace {

// A plain pen-down vertex.
VertexData Plain(Vec2 p) { return {p.x, p.y, 0, true, false}; }
// A vertex marked as an arc point.
VertexData ArcVertex(Vec2 p) { return {p.x, p.y, 0, true, true}; }

// The vertices of a polyline segment p -> q with a bulge, after p.
void AppendSegment(std::vector<VertexData>& out, BulgePoint p, Vec2 q) {
  const Vec2 a{p.x, p.y};
  if (p.bulge != 0) {
    const double b = p.bulge;
    const Vec2 chord = q - a;
    const Vec2 centre = 0.5 * (a + q) + ((1 - b * b) / (4 * b)) * Vec2{-chord.y, chord.x};
    const double radius = Length(a - centre);
    const double sweep = 4 * std::atan(b);
    const double mid = std::atan2(a.y - centre.y, a.x - centre.x) + sweep / 2;
    out.push_back(ArcVertex(centre));
    out.push_back(ArcVertex(centre + radius * Vec2{std::cos(mid), std::sin(mid)}));
  }
  out.push_back(Plain(q));
}

}  // namespace

Into::Into(const std::shared_ptr<MemDrawing>& drawing) : drawing_(drawing) {}

Into::Into(const GraphicPtr& parent) : drawing_(parent->DrawingOrThrow()), parent_(parent) {}

GraphicPtr Into::Make(const std::string& type) const {
  return drawing_->CreateGraphic(type, parent_ ? parent_->Plane() : nullptr);
}

GraphicPtr Into::Put(GraphicPtr graphic) const {
  if (parent_) {
    parent_->Children().Append(graphic);
  } else {
    drawing_->List()->Append(graphic);
  }
  return graphic;
}

GraphicPtr AddLine(const Into& into, Vec2 a, Vec2 b) {
  auto g = into.Make("GRAPHIC");
  g->SetVertexList({Plain(a), Plain(b)});
  return into.Put(std::move(g));
}

GraphicPtr AddChain(const Into& into, const std::vector<Vec2>& points, bool closed) {
  return AddTyped(into, "GRAPHIC", points, closed);
}

GraphicPtr AddFlaggedChain(const Into& into, const std::vector<ChainPoint>& points, bool closed) {
  auto g = into.Make("GRAPHIC");
  std::vector<VertexData> vertices;
  for (const ChainPoint& p : points) vertices.push_back({p.x, p.y, 0, p.penDown, p.arcPoint});
  g->SetVertexList(std::move(vertices));
  g->SetClosedFlag(closed);
  return into.Put(std::move(g));
}

GraphicPtr AddPolygon(const Into& into, const std::vector<Vec2>& corners) {
  std::vector<Vec2> ring = corners;
  if (!ring.empty()) ring.push_back(ring.front());
  return AddChain(into, ring, true);
}

GraphicPtr AddRectangle(const Into& into, Vec2 min, Vec2 max) {
  return AddPolygon(into, {min, {max.x, min.y}, max, {min.x, max.y}});
}

GraphicPtr AddTyped(const Into& into, const std::string& type, const std::vector<Vec2>& points,
                    bool closed) {
  auto g = into.Make(type);
  std::vector<VertexData> vertices;
  vertices.reserve(points.size());
  for (const Vec2 p : points) vertices.push_back(Plain(p));
  g->SetVertexList(std::move(vertices));
  g->SetClosedFlag(closed);
  return into.Put(std::move(g));
}

GraphicPtr AddPolyline(const Into& into, const std::vector<BulgePoint>& points, bool closed) {
  auto g = into.Make("PWW50Polyline");
  std::vector<VertexData> vertices;
  if (!points.empty()) vertices.push_back(Plain({points[0].x, points[0].y}));
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    AppendSegment(vertices, points[i], {points[i + 1].x, points[i + 1].y});
  }
  if (closed && points.size() > 1) AppendSegment(vertices, points.back(), {points[0].x, points[0].y});
  g->SetVertexList(std::move(vertices));
  g->SetClosedFlag(closed);
  return into.Put(std::move(g));
}

GraphicPtr AddCurve(const Into& into, const std::vector<Vec2>& points, const std::string& brush) {
  auto g = into.Make("PWW30CURVE");
  g->Props().Define("BrushStyle", brush);
  const bool closed = points.size() > 2 && points.front() == points.back();
  g->SetClosedFlag(closed);
  into.Put(g);
  if (brush != "None" && brush != "Solid") AddData(g);
  AddChain(g, points, closed);
  return g;
}

GraphicPtr AddCircle(const Into& into, Vec2 centre, double radius) {
  auto g = into.Make("CIRCLE");
  g->SetShape(CircleShape(centre, radius));
  g->SetClosedFlag(true);
  return into.Put(std::move(g));
}

GraphicPtr AddEllipse(const Into& into, Vec2 centre, Vec2 major, double ratio) {
  auto g = into.Make("CIRCLE");
  g->SetShape(EllipseShape(centre, major, ratio));
  g->SetClosedFlag(true);
  return into.Put(std::move(g));
}

GraphicPtr AddArc(const Into& into, Vec2 centre, double radius, double start, double end) {
  auto g = into.Make("ARC");
  g->SetShape(CircularArcShape(centre, radius, start, end));
  return into.Put(std::move(g));
}

GraphicPtr AddEllipticalArc(const Into& into, Vec2 centre, Vec2 major, double ratio,
                            double start, double end) {
  auto g = into.Make("ARC");
  g->SetShape(EllipticalArcShape(centre, major, ratio, start, end));
  return into.Put(std::move(g));
}

GraphicPtr AddShape(const Into& into, const ArcShape& shape) {
  auto g = into.Make(shape.full ? "CIRCLE" : "ARC");
  g->SetShape(shape);
  g->SetClosedFlag(shape.full);
  return into.Put(std::move(g));
}

void SetProperty(const GraphicPtr& graphic, const std::string& name, PropertyValue value) {
  graphic->Props().Define(name, std::move(value));
}

}  // namespace pphatch::mem
