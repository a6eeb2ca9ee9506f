#include "formats/hatch_entities.h"

#include "formats/pattern_lines.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace pphatch::formats {

using mem::Vec2;

namespace {

constexpr double kDegrees = 180 / std::numbers::pi;

// ANSI31: lines at 45 degrees, 3.175 mm apart at scale 1.
constexpr double kAnsi31Spacing = 3.175;
// Elliptic arcs become polyline vertices at most this parameter step apart.
constexpr double kEllipseStep = std::numbers::pi / 30;
// Loop flags: external (the outer boundary), derived (found by picking),
// outermost (an island directly inside the outer boundary).
constexpr int kExternalLoop = 1, kDerivedLoop = 4, kOutermostLoop = 16;

// An angle in degrees brought into [0, 360).
double Degrees(double radians) {
  double d = std::fmod(radians * kDegrees, 360.0);
  if (d < 0) d += 360;
  return d;
}

// True when the arc goes all the way round.
bool WholeTurn(const ContourPiece& p) {
  return p.arc && std::fabs(p.t1 - p.t0) >= 2 * std::numbers::pi * (1 - 1e-12);
}

// The start and end angles of an arc edge in degrees, each in [0, 360)
// (an end below the start runs through 0), or 0 and 360 for a whole turn.
// A clockwise edge is stored with its angles negated, as DXF defines it.
void AddEdgeAngles(DxfText& out, const ContourPiece& p) {
  const bool ccw = p.t1 > p.t0;
  const bool whole = WholeTurn(p);
  out.Add(50, whole ? 0.0 : Degrees(ccw ? p.t0 : -p.t0));
  out.Add(51, whole ? 360.0 : Degrees(ccw ? p.t1 : -p.t1));
  out.Add(73, ccw ? 1 : 0);
}

// The pieces of a loop as edges: a whole turn is one edge when it is the
// whole loop, else two halves that start where the loop reaches it.
TrueContour LoopEdges(const TrueContour& contour) {
  TrueContour edges;
  for (const ContourPiece& p : contour) {
    if (contour.size() == 1 || !WholeTurn(p)) {
      edges.push_back(p);
      continue;
    }
    ContourPiece first = p, second = p;
    first.t1 = second.t0 = (p.t0 + p.t1) / 2;
    first.to = second.from = p.At(first.t1);
    edges.push_back(first);
    edges.push_back(second);
  }
  return edges;
}

void AddEdge(DxfText& out, const ContourPiece& p) {
  if (!p.arc) {
    out.Add(72, 1);
    out.Add(10, p.from.x);
    out.Add(20, p.from.y);
    out.Add(11, p.to.x);
    out.Add(21, p.to.y);
  } else if (p.Circular()) {
    out.Add(72, 2);
    out.Add(10, p.centre.x);
    out.Add(20, p.centre.y);
    out.Add(40, Length(p.u));
    AddEdgeAngles(out, p);
  } else {
    out.Add(72, 3);
    out.Add(10, p.centre.x);
    out.Add(20, p.centre.y);
    out.Add(11, p.u.x);
    out.Add(21, p.u.y);
    out.Add(40, Length(p.v) / Length(p.u));
    AddEdgeAngles(out, p);
  }
}

// The pattern lines of ANSI31 at the given scale and angle (degrees).
void AddAnsi31Lines(DxfText& out, double scale, double angle) {
  const double a = (45 + angle) / kDegrees;
  const double spacing = kAnsi31Spacing * scale;
  out.Add(78, 1);
  out.Add(53, 45 + angle);
  out.Add(43, 0.0);
  out.Add(44, 0.0);
  out.Add(45, -std::sin(a) * spacing);
  out.Add(46, std::cos(a) * spacing);
  out.Add(79, 0);
}

// A polyline vertex with the bulge of the segment that starts there.
struct Vertex {
  Vec2 at;
  double bulge = 0;
};

// The vertices of the contour: one per straight piece, circular arcs split
// into parts of at most half a turn (a bulge of at most 1), elliptic arcs
// followed point by point.
std::vector<Vertex> Vertices(const TrueContour& contour) {
  std::vector<Vertex> vertices;
  for (const ContourPiece& p : contour) {
    if (!p.arc) {
      vertices.push_back({p.from, 0});
      continue;
    }
    const double span = p.t1 - p.t0;
    const double limit = p.Circular() ? std::numbers::pi : kEllipseStep;
    const int parts = std::max(1, static_cast<int>(std::ceil(std::fabs(span) / limit - 1e-12)));
    const double bulge = p.Circular() ? std::tan(span / parts / 4) : 0;
    vertices.push_back({p.from, bulge});
    for (int k = 1; k < parts; ++k) vertices.push_back({p.At(p.t0 + span * k / parts), bulge});
  }
  return vertices;
}

}  // namespace

std::string HandleText(std::uint64_t handle) {
  char text[24];
  std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(handle));
  return text;
}

void EntityContext::Begin(DxfText& out, const char* type, const char* layer) {
  out.Add(0, type);
  if (modern_) {
    out.Add(5, HandleText(TakeHandle()));
    if (!owner_.empty()) out.Add(330, owner_);
    out.Add(100, "AcDbEntity");
  }
  out.Add(8, layer);
}

void AddHatch(DxfText& out, EntityContext& context, const std::vector<TrueContour>& contours,
              Point2 seed, const HatchFill& fill) {
  const bool solid = fill.pattern == "SOLID";
  context.Begin(out, "HATCH", kHatchLayer);
  out.Add(100, "AcDbHatch");
  out.Add(10, 0.0);
  out.Add(20, 0.0);
  out.Add(30, 0.0);
  out.Add(210, 0.0);
  out.Add(220, 0.0);
  out.Add(230, 1.0);
  out.Add(2, fill.pattern);
  out.Add(70, solid ? 1 : 0);
  out.Add(71, 0);  // not associative: no boundary objects are referred to
  out.Add(91, static_cast<int>(contours.size()));
  for (std::size_t i = 0; i < contours.size(); ++i) {
    out.Add(92, (i == 0 ? kExternalLoop : kOutermostLoop) | kDerivedLoop);
    const TrueContour edges = LoopEdges(contours[i]);
    out.Add(93, static_cast<int>(edges.size()));
    for (const ContourPiece& p : edges) AddEdge(out, p);
    out.Add(97, 0);
  }
  out.Add(75, 0);  // odd parity: islands stay open
  out.Add(76, 1);  // a predefined pattern
  if (!solid) {
    out.Add(52, fill.angle);
    out.Add(41, fill.scale);
    out.Add(77, 0);
    if (fill.pattern == "ANSI31") {
      AddAnsi31Lines(out, fill.scale, fill.angle);
    } else {
      out.Add(78, 0);
    }
  }
  out.Add(98, 1);
  out.Add(10, seed[0]);
  out.Add(20, seed[1]);
}

void AddBoundary(DxfText& out, EntityContext& context, const TrueContour& contour) {
  if (context.Modern() && contour.size() == 1 && WholeTurn(contour[0]) && !contour[0].Circular()) {
    // A whole ellipse has no polyline form; it is written as itself.
    const ContourPiece& p = contour[0];
    context.Begin(out, "ELLIPSE", kBoundaryLayer);
    out.Add(100, "AcDbEllipse");
    out.Add(10, p.centre.x);
    out.Add(20, p.centre.y);
    out.Add(30, 0.0);
    out.Add(11, p.u.x);
    out.Add(21, p.u.y);
    out.Add(31, 0.0);
    out.Add(40, Length(p.v) / Length(p.u));
    out.Add(41, 0.0);
    out.Add(42, 2 * std::numbers::pi);
    return;
  }
  const std::vector<Vertex> vertices = Vertices(contour);
  if (context.Modern()) {
    context.Begin(out, "LWPOLYLINE", kBoundaryLayer);
    out.Add(100, "AcDbPolyline");
    out.Add(90, static_cast<int>(vertices.size()));
    out.Add(70, 1);
    for (const Vertex& v : vertices) {
      out.Add(10, v.at.x);
      out.Add(20, v.at.y);
      if (v.bulge != 0) out.Add(42, v.bulge);
    }
    return;
  }
  context.Begin(out, "POLYLINE", kBoundaryLayer);
  out.Add(66, 1);
  out.Add(10, 0.0);
  out.Add(20, 0.0);
  out.Add(30, 0.0);
  out.Add(70, 1);
  for (const Vertex& v : vertices) {
    context.Begin(out, "VERTEX", kBoundaryLayer);
    out.Add(10, v.at.x);
    out.Add(20, v.at.y);
    out.Add(30, 0.0);
    if (v.bulge != 0) out.Add(42, v.bulge);
  }
  context.Begin(out, "SEQEND", kBoundaryLayer);
}

void AddLineHatch(DxfText& blocks, DxfText& out, EntityContext& context, const std::string& name,
                  const std::vector<TrueContour>& contours, const HatchFill& fill) {
  constexpr int kAnonymousBlock = 1;
  context.Begin(blocks, "BLOCK", kHatchLayer);
  if (context.Modern()) blocks.Add(100, "AcDbBlockBegin");
  blocks.Add(2, name);
  blocks.Add(70, kAnonymousBlock);
  blocks.Add(10, 0.0);
  blocks.Add(20, 0.0);
  blocks.Add(30, 0.0);
  blocks.Add(3, name);
  const double angle = (45 + fill.angle) / kDegrees;
  for (const auto& [a, b] : PatternLines(contours, angle, kAnsi31Spacing * fill.scale)) {
    context.Begin(blocks, "LINE", kHatchLayer);
    blocks.Add(10, a.x);
    blocks.Add(20, a.y);
    blocks.Add(30, 0.0);
    blocks.Add(11, b.x);
    blocks.Add(21, b.y);
    blocks.Add(31, 0.0);
  }
  context.Begin(blocks, "ENDBLK", kHatchLayer);
  context.Begin(out, "INSERT", kHatchLayer);
  out.Add(2, name);
  out.Add(10, 0.0);
  out.Add(20, 0.0);
  out.Add(30, 0.0);
}

void AddLabel(DxfText& out, EntityContext& context, Vec2 at, double height,
              const std::string& text, const char* layer) {
  context.Begin(out, "TEXT", layer);
  if (context.Modern()) out.Add(100, "AcDbText");
  out.Add(10, at.x);
  out.Add(20, at.y);
  out.Add(30, 0.0);
  out.Add(40, height);
  out.Add(1, text);
  if (context.Modern()) out.Add(100, "AcDbText");
}

double PatternScale(int insunits, double size) {
  // Millimetres per drawing unit; unknown units are taken as millimetres.
  double mm = 1;
  switch (insunits) {
    case 1: mm = 25.4; break;
    case 2: mm = 304.8; break;
    case 5: mm = 10; break;
    case 6: mm = 1000; break;
    case 14: mm = 100; break;
    default: break;
  }
  double spacing = kAnsi31Spacing / mm;
  while (size / spacing > 100) spacing *= 10;
  return spacing / kAnsi31Spacing;
}

}  // namespace pphatch::formats
