// Extractors for graphics that already consist of vertices: plain graphics,
// curves, polylines and outlined texts.
#include <string>
#include <variant>

#include "curves/chain_points.h"
#include "curves/extractors.h"
#include "geometry/checked_math.h"

namespace pphatch {
namespace {

// Brush styles under which a curve or polyline draws its outline as a
// separate "GRAPHIC" child, found by type rather than by position.
bool OutlineChildByType(const PropertyValue& brushStyle) {
  const std::string* text = std::get_if<std::string>(&brushStyle);
  return text != nullptr && (*text == "None" || *text == "Solid");
}

// Copies the vertex chain into the record with its sums, bounds and closure.
void ReadVertexChain(HostVertices& vertices, const char* typeName, CurveRecord& record) {
  const int n = vertices.Count();
  // The closure test compares the first and the last point.
  if (n < 1) throw ComputeError("a chain without vertices");
  record.PointCount = n;
  record.X.resize(n);
  record.Y.resize(n);
  ChainSums sums;
  for (int i = 0; i < n; ++i) {
    const HostVertexPtr v = Present(vertices.Item(i), "vertex");
    record.X[i] = v->X();
    record.Y[i] = v->Y();
    sums.Add(record.X[i], record.Y[i]);
  }
  record.Closed = PointsCoincide(record.X[0], record.Y[0], record.X[n - 1], record.Y[n - 1]);
  record.TypeName = typeName;
  record.Curved = false;
  record.Conic = false;
  sums.WriteTo(record);
}

// The outline's vertices of a curve or polyline with child graphics: under
// brush style "None" or "Solid" those of the first "GRAPHIC" child (nullptr
// when there is none), otherwise those of the child at fallbackIndex.
HostVerticesPtr OutlineVertices(HostGraphic& graphic, int fallbackIndex) {
  const HostPropertiesPtr properties = Present(graphic.Properties(), "properties");
  const HostPropertyPtr brush = Present(properties->Item("BrushStyle"), "BrushStyle");
  const PropertyValue style = brush->Value(0);
  const HostGraphicsPtr children = Present(graphic.Graphics(), "child graphics");
  const int count = children->Count();
  if (OutlineChildByType(style)) {
    for (int i = 0; i < count; ++i) {
      const HostGraphicPtr child = Present(children->Item(i), "child graphic");
      if (child->Type() == "GRAPHIC") return Present(child->Vertices(), "vertices");
    }
    return nullptr;
  }
  if (fallbackIndex >= count) throw ComputeError("the outline child is missing");
  return Present(Present(children->Item(fallbackIndex), "child graphic")->Vertices(), "vertices");
}

}  // namespace

// Takes one point into the running sums and bounds.
void ChainSums::Add(double x, double y) {
  CheckedFinite(x);
  CheckedFinite(y);
  if (x > maxX) maxX = x;
  if (y > maxY) maxY = y;
  if (x < minX) minX = x;
  if (y < minY) minY = y;
  sumX = CheckedFinite(sumX + x);
  sumY = CheckedFinite(sumY + y);
}

// Writes the fingerprint sums and the bounds.
void ChainSums::WriteTo(CurveRecord& record) const {
  record.SumX = sumX;
  record.SumY = sumY;
  record.MaxX = maxX;
  record.MaxY = maxY;
  record.MinX = minX;
  record.MinY = minY;
}

// A plain graphic's own vertex chain.
bool ExtractPlainGraphic(HostGraphic& graphic, CurveRecord& record) {
  ReadVertexChain(*Present(graphic.Vertices(), "vertices"), "GRAPHIC", record);
  return true;
}

// A curve's outline: by brush style, the first "GRAPHIC" child or the second child.
bool ExtractCurveGraphic(HostGraphic& graphic, CurveRecord& record) {
  const HostVerticesPtr vertices = OutlineVertices(graphic, 1);
  if (!vertices) throw ComputeError("a curve without an outline child");
  ReadVertexChain(*vertices, "PWW30CURVE", record);
  record.Curved = true;
  return true;
}

// A polyline's outline child (by brush style, else the first child), or its
// own vertices when it has no children.
bool ExtractPolyline(HostGraphic& graphic, CurveRecord& record) {
  const HostGraphicsPtr children = graphic.Graphics();
  const HostVerticesPtr vertices =
      children && children->Count() > 0 ? OutlineVertices(graphic, 0) : graphic.Vertices();
  if (!vertices) return false;
  ReadVertexChain(*vertices, "PWW50Polyline", record);
  return true;
}

// An outlined text: its first child carries the outline.
bool ExtractText(HostGraphic& graphic, CurveRecord& record) {
  const HostGraphicsPtr children = Present(graphic.Graphics(), "child graphics");
  if (children->Count() < 1) throw ComputeError("a text without its outline child");
  const HostGraphicPtr outline = Present(children->Item(0), "child graphic");
  ReadVertexChain(*Present(outline->Vertices(), "vertices"), "TEXT", record);
  return true;
}

}  // namespace pphatch
