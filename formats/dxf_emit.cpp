#include "formats/dxf_emit.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <set>
#include <span>
#include <utility>

#include "formats/conic_arc.h"
#include "formats/dxf_geometry.h"
#include "formats/dxf_pairs.h"
#include "formats/errors.h"
#include "formats/side_by_side.h"
#include "formats/spline.h"
#include "memhost/builders.h"

namespace pphatch::formats {

namespace {

using mem::GraphicPtr;
using mem::Into;

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kFullTurn = 2 * std::numbers::pi;

// Relative tolerance up to which a plane map counts as a similarity (turn,
// uniform scale, maybe a mirror), under which circular arcs stay circular.
constexpr double kSimilarityTolerance = 1e-9;

// Parameter ranges this close to a full turn are whole ellipses.
constexpr double kWholeTurnTolerance = 1e-9;

// The share of a big drawing's graphics that the first of the two threads
// places: a little over half, since the second's graphics are moved after.
constexpr double kFirstShare = 0.55;

// Deepest nesting of inserts followed; deeper ones are left out with a
// warning (real drawings nest a few levels; this bounds the recursion).
constexpr std::size_t kMaxNesting = 64;

// The end of an arc that runs counter-clockwise from `start` to `end`,
// moved by whole turns to lie after the start, at most one turn on.
double EndAfter(double start, double end) {
  double sweep = std::fmod(end - start, kFullTurn);
  if (sweep <= 0) sweep += kFullTurn;
  return start + sweep;
}

// True when the plane map with images ex, ey of the unit axes keeps circles circles.
bool IsSimilarity(Vec2 ex, Vec2 ey) {
  const double scale = std::max(mem::Length(ex), mem::Length(ey));
  return std::fabs(mem::Length(ex) - mem::Length(ey)) <= kSimilarityTolerance * scale &&
         std::fabs(mem::Dot(ex, ey)) <= kSimilarityTolerance * scale * scale;
}

// Relative distance up to which a closed spline's sampled ends are one point.
constexpr double kClosureTolerance = 1e-9;

// A name in quotes, for messages.
std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Blocks that close a cycle of inserts (found as the targets of back edges
// of a depth-first search). Every cycle holds one of them, so never
// expanding them ends every recursion, whatever the order of expansion.
std::set<std::string> RecursiveBlocks(const DxfDocument& doc) {
  enum Mark { kNew, kOnPath, kDone };
  std::map<std::string, Mark> marks;
  std::set<std::string> recursive;
  for (const auto& [start, block] : doc.blocks) {
    if (marks[start] != kNew) continue;
    marks[start] = kOnPath;
    std::vector<std::pair<std::string, std::size_t>> path{{start, 0}};  // block, next entity
    while (!path.empty()) {
      const std::vector<DxfEntity>& entities = doc.blocks.at(path.back().first).entities;
      const std::size_t next = path.back().second++;
      if (next == entities.size()) {
        marks[path.back().first] = kDone;
        path.pop_back();
        continue;
      }
      const DxfInsert* insert = BoxedIf<DxfInsert>(entities[next].shape);
      if (!insert) continue;
      const std::string target = NameKey(insert->block);
      if (doc.blocks.count(target) == 0) continue;
      if (marks[target] == kOnPath) recursive.insert(target);
      if (marks[target] == kNew) {
        marks[target] = kOnPath;
        path.push_back({target, 0});
      }
    }
  }
  return recursive;
}

// Places the entities of a document in a drawing, inserts expanded.
class Emitter {
 public:
  Emitter(const DxfDocument& doc, std::shared_ptr<mem::MemDrawing> drawing, LoadReport& report,
          const std::string& name)
      : doc_(doc),
        drawing_(std::move(drawing)),
        report_(report),
        name_(name),
        recursive_(RecursiveBlocks(doc)) {}

  // Refuses drawings that expand too far, then places every entity of
  // `entities` (the document's), letting go of each run once it is placed;
  // those of a drawing of `inHalvesFrom` graphics or more in two halves at once.
  void Run(DxfEntityRuns& entities, std::size_t inHalvesFrom) {
    double size = 0;
    Stretch all;
    for (std::vector<DxfEntity>& run : entities.AllRuns()) {
      size += Size(run);
      all.push_back({&run, run});
    }
    if (size > kMaxLoadedGraphics) {
      throw ReadError(Located(name_, 0,
                              "the drawing expands to more than " +
                                  std::to_string(static_cast<long long>(kMaxLoadedGraphics)) +
                                  " graphics (inserts of blocks, rows and columns)"));
    }
    if (doc_.tileMode) drawing_->Props().Define("TileMode", static_cast<double>(*doc_.tileMode));
    const std::pair<Stretch, Stretch> halves =
        size >= static_cast<double>(inHalvesFrom) ? Halves(all, size) : std::pair{all, Stretch{}};
    const Stretch& first = halves.first;
    const Stretch& second = halves.second;
    if (second.empty()) {
      Place(first, drawing_);
      entities.AllRuns().clear();
      return;
    }
    // The second half goes into a drawing of its own, filled by a thread of
    // its own (the two share no graphic, list or counter), whose graphics
    // then move behind the first half's.
    const auto part = mem::MemDrawing::Create();
    LoadReport partReport;
    Emitter placesSecond(*this, part, partReport);
    RunSideBySide([&] { Place(first, drawing_); }, [&] { placesSecond.Place(second, part); });
    entities.AllRuns().clear();  // the run the halves share, too
    drawing_->TakeGraphicsOf(*part);
    // A warning the first half gave already is not given again.
    std::erase_if(partReport.warnings,
                  [this](const std::string& warning) { return !warned_.insert(warning).second; });
    report_.Append(std::move(partReport));
  }

 private:
  // An emitter of the same document into another drawing, reporting to
  // `report`, that expands the same blocks.
  Emitter(const Emitter& first, std::shared_ptr<mem::MemDrawing> drawing, LoadReport& report)
      : doc_(first.doc_),
        drawing_(std::move(drawing)),
        report_(report),
        name_(first.name_),
        recursive_(first.recursive_) {}

  // Top-level entities of a run, all of them or a part.
  struct Piece {
    std::vector<DxfEntity>* run;
    std::span<const DxfEntity> entities;
  };
  // Top-level entities in order, in pieces.
  using Stretch = std::vector<Piece>;

  // The entities split where kFirstShare of their `size` graphics lie before.
  std::pair<Stretch, Stretch> Halves(const Stretch& all, double size) {
    Stretch first, second;
    double before = 0;
    for (const Piece& piece : all) {
      std::size_t cut = 0;  // the entities of this piece that go first
      while (cut < piece.entities.size() && before < kFirstShare * size) {
        before += EntitySize(piece.entities[cut++]);
      }
      if (cut > 0) first.push_back({piece.run, piece.entities.first(cut)});
      if (cut < piece.entities.size()) second.push_back({piece.run, piece.entities.subspan(cut)});
    }
    return {std::move(first), std::move(second)};
  }

  // Places the entities at the end of the drawing's list, letting go of
  // each whole run once it is placed, so that the graphics made after it
  // reuse its memory.
  void Place(const Stretch& stretch, const std::shared_ptr<mem::MemDrawing>& drawing) {
    std::size_t count = 0;
    for (const Piece& piece : stretch) count += piece.entities.size();
    drawing->List()->Reserve(count);
    const Into into(drawing);
    for (const Piece& piece : stretch) {
      Entities(piece.entities, into, Affine3{}, false);
      if (piece.entities.size() == piece.run->size()) std::vector<DxfEntity>().swap(*piece.run);
    }
  }

  // The entities of the drawing or of a block, placed by `m`.
  void Entities(std::span<const DxfEntity> entities, const Into& into, const Affine3& m,
                bool inBlock) {
    for (const DxfEntity& e : entities) {
      if (!Visible(e, inBlock)) continue;
      GraphicPtr g = std::visit([&](const auto& shape) { return Add(e, Unboxed(shape), into, m); }, e.shape);
      if (g && e.thickness != 0) mem::SetProperty(g, "Thickness", e.thickness);
    }
  }

  // Paper space and hidden layers are left out; in a block, layer "0" takes the insert's.
  bool Visible(const DxfEntity& e, bool inBlock) {
    if (!inBlock && e.paperSpace) {
      ++report_.paperSpaceEntities;
      return false;
    }
    if (inBlock && e.layer == "0") return true;
    if (!hiddenAsked_ || e.layer != *hiddenAsked_) {  // entities come in runs of one layer
      const auto layer = doc_.hiddenLayers.find(NameKey(e.layer));
      hiddenAsked_ = e.layer;
      hidden_ = layer != doc_.hiddenLayers.end() && layer->second;
    }
    if (hidden_) {
      ++report_.hiddenEntities;
      return false;
    }
    return true;
  }

  // How many graphics the entities expand to (a double, so that nested
  // inserts cannot overflow), when `depth` inserts enclose them. As in the
  // emission, recursive blocks and inserts nested kMaxNesting deep are not
  // expanded.
  double Size(std::span<const DxfEntity> entities, std::size_t depth = 0) {
    double size = 0;
    for (const DxfEntity& e : entities) size += EntitySize(e, depth);
    return size;
  }

  // How many graphics one entity expands to, as Size counts them.
  double EntitySize(const DxfEntity& e, std::size_t depth = 0) {
    const DxfInsert* insert = BoxedIf<DxfInsert>(e.shape);
    if (!insert || depth >= kMaxNesting) return 1;
    const std::string key = NameKey(insert->block);
    const auto block = doc_.blocks.find(key);
    if (block == doc_.blocks.end() || recursive_.count(key) > 0) return 1;
    auto known = sizes_.find({key, depth + 1});
    if (known == sizes_.end()) {
      const double inner = Size(block->second.entities, depth + 1);
      known = sizes_.emplace(std::make_pair(key, depth + 1), inner).first;
    }
    return 1 + static_cast<double>(insert->rows) * insert->columns * (1 + known->second);
  }

  // A warning about an entity, once, however often its block is placed;
  // with its line when it came from a file.
  void Warn(const DxfEntity& e, const std::string& what) {
    const std::string warning = e.place > 0 ? PlaceText(e.place, doc_.binary) + ": " + what : what;
    if (warned_.insert(warning).second) report_.warnings.push_back(warning);
  }

  // Lines are in world coordinates.
  GraphicPtr Add(const DxfEntity&, const DxfLine& s, const Into& into, const Affine3& m) {
    return mem::AddLine(into, Flat(m.Apply(s.a)), Flat(m.Apply(s.b)));
  }

  // Circles and arcs live in the OCS; the map may turn them into ellipses.
  GraphicPtr Add(const DxfEntity& e, const DxfCircle& s, const Into& into, const Affine3& m) {
    const Affine3 l = OcsFrame(e.extrusion).Then(m);
    ConicArc arc;
    arc.centre = Flat(l.Apply(s.centre));
    arc.u = Flat(l.Linear({s.radius, 0, 0}));
    arc.v = Flat(l.Linear({0, s.radius, 0}));
    if (s.arc) {
      arc.whole = false;
      arc.start = s.start * kDegree;
      arc.end = EndAfter(arc.start, s.end * kDegree);
    }
    return AddConicArc(into, arc);
  }

  // Ellipses are in world coordinates; the minor axis turns about the extrusion.
  GraphicPtr Add(const DxfEntity& e, const DxfEllipse& s, const Into& into, const Affine3& m) {
    const Vec3 minor = s.ratio * CrossProduct(e.extrusion, s.major);
    ConicArc arc;
    arc.centre = Flat(m.Apply(s.centre));
    arc.u = Flat(m.Linear(s.major));
    arc.v = Flat(m.Linear(minor));
    const double sweep = s.end - s.start;
    arc.whole = sweep == 0 || std::fabs(std::fabs(sweep) - kFullTurn) <= kWholeTurnTolerance;
    if (!arc.whole) {
      arc.start = s.start;
      arc.end = EndAfter(s.start, s.end);
    }
    return AddConicArc(into, arc);
  }

  // Polylines keep their arcs as arc runs while the map keeps circles circular.
  GraphicPtr Add(const DxfEntity& e, const DxfPolyline& s, const Into& into, const Affine3& m) {
    std::vector<DxfVertex> vs = s.vertices;
    if (s.closed && vs.size() > 1 && vs.back().at == vs.front().at) vs.pop_back();
    if (vs.empty()) return nullptr;
    const Affine3 l = s.threeD ? m : OcsFrame(e.extrusion).Then(m);
    const Vec2 ex = Flat(l.Linear({1, 0, 0})), ey = Flat(l.Linear({0, 1, 0}));
    const bool bulged = !s.threeD && std::any_of(vs.begin(), vs.end(),
                                                 [](const DxfVertex& v) { return v.bulge != 0; });
    std::vector<mem::BulgePoint> points;
    if (!bulged || IsSimilarity(ex, ey)) {
      // A mirroring map turns counter-clockwise arcs clockwise.
      const double sense = mem::Cross(ex, ey) < 0 ? -1 : 1;
      for (const DxfVertex& v : vs) {
        const Vec2 p = Flat(l.Apply(v.at));
        points.push_back({p.x, p.y, bulged ? sense * v.bulge : 0});
      }
      return mem::AddPolyline(into, points, s.closed);
    }
    // Arcs become elliptical: sample them in the OCS and map the points.
    std::vector<Vec2> ocs{Flat(vs[0].at)};
    const std::size_t segments = s.closed ? vs.size() : vs.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
      AppendBulgeSegment(ocs, Flat(vs[i].at), Flat(vs[(i + 1) % vs.size()].at), vs[i].bulge);
    }
    if (s.closed) ocs.pop_back();  // the closing segment returns to the first point
    for (const Vec2 p : ocs) {
      const Vec2 q = Flat(l.Apply({p.x, p.y, s.elevation}));
      points.push_back({q.x, q.y, 0});
    }
    return mem::AddPolyline(into, points, s.closed);
  }

  // Splines become a "PWW30CURVE" through points sampled along them.
  GraphicPtr Add(const DxfEntity& e, const DxfSpline& s, const Into& into, const Affine3& m) {
    std::vector<Vec3> points;
    if (!s.control.empty()) {
      const int n = static_cast<int>(s.control.size());
      points = SampleSpline(s.degree, s.knots.empty() ? ClampedUniformKnots(s.degree, n) : s.knots,
                            s.weights, s.control);
    }
    if (points.empty() && s.fit.size() >= 2) points = s.fit;
    if (points.empty() && s.control.size() >= 2) {
      points = s.control;
      Warn(e, "SPLINE with inconsistent knots drawn along its control points");
    }
    if (points.size() < 2) {
      Warn(e, "SPLINE without enough points left out");
      return nullptr;
    }
    std::vector<Vec2> chain;
    for (const Vec3& p : points) chain.push_back(Flat(m.Apply(p)));
    if (s.closed) {
      const double size = 1 + std::max(std::fabs(chain.front().x), std::fabs(chain.front().y));
      if (mem::Length(chain.back() - chain.front()) <= kClosureTolerance * size) {
        chain.back() = chain.front();
      } else {
        chain.push_back(chain.front());
      }
    }
    return mem::AddCurve(into, chain, "None");
  }

  // One "INSERT" per row and column; its children are the block's entities, placed.
  GraphicPtr Add(const DxfEntity& e, const DxfInsert& s, const Into& into, const Affine3& m) {
    const std::string key = NameKey(s.block);
    const auto found = doc_.blocks.find(key);
    if (found == doc_.blocks.end()) {
      Warn(e, "INSERT of unknown block " + Quoted(s.block) + " left out");
      return nullptr;
    }
    if (recursive_.count(key) > 0) {
      Warn(e, "block " + Quoted(s.block) +
                  " inserts itself (through its inserts); the INSERT is left out");
      return nullptr;
    }
    if (depth_ >= kMaxNesting) {
      report_.limitReached = true;
      Warn(e, "blocks nested more than " + std::to_string(kMaxNesting) +
                  " deep; the inner INSERT of " + Quoted(s.block) + " is left out");
      return nullptr;
    }
    const DxfBlock& block = found->second;
    const Affine3 ocs = OcsFrame(e.extrusion).Then(m);
    ++depth_;
    for (int row = 0; row < s.rows; ++row) {
      for (int column = 0; column < s.columns; ++column) {
        const Vec3 cell{column * s.columnSpacing, row * s.rowSpacing, 0};
        const Affine3 place = Translation(-1 * block.base)
                                  .Then(Scaling(s.scale))
                                  .Then(Translation(cell))
                                  .Then(RotationZ(s.rotation * kDegree))
                                  .Then(Translation(s.at))
                                  .Then(ocs);
        const GraphicPtr insert = mem::AddContainer(into, "INSERT");
        Entities(block.entities, Into(insert), place, true);
      }
    }
    --depth_;
    return nullptr;
  }

  // Each loop becomes a closed chain with info text "Hatch".
  GraphicPtr Add(const DxfEntity& e, const DxfHatch& s, const Into& into, const Affine3& m) {
    const Affine3 l = OcsFrame(e.extrusion).Then(m);
    const std::string brush = s.solid ? "Solid" : (s.pattern.empty() ? "Pattern" : s.pattern);
    for (const auto& loop : s.loops) {
      std::vector<Vec2> ring;
      for (const Vec2 p : loop) ring.push_back(Flat(l.Apply({p.x, p.y, s.elevation})));
      mem::AddHatch(into, ring, brush);
    }
    return nullptr;
  }

  // Dimensions: the kind's host type, drawn by lines between its definition points.
  GraphicPtr Add(const DxfEntity&, const DxfDimension& s, const Into& into, const Affine3& m) {
    const auto at = [&m](Vec3 p) { return Flat(m.Apply(p)); };
    if (s.kind == 0 || s.kind == 1) {
      const Vec2 a = at(s.p13), b = at(s.p14), line = at(s.p10);
      const double length = mem::Length(b - a);
      const double offset = length > 0 ? mem::Cross(b - a, line - a) / length : 0;
      return mem::AddDimension(into, a, b, offset);
    }
    static const char* const kTypes[] = {"PWW25DimLin", "PWW25DimLin", "PWW25DimAng",
                                         "PWW25DimDia", "PWW25DimRad", "PWW25DimAng",
                                         "PWW25DimDat", "PWW25DimLin"};
    const GraphicPtr dim = mem::AddContainer(into, kTypes[s.kind & 7]);
    switch (s.kind) {
      case 2:
        mem::AddLine(dim, at(s.p13), at(s.p14));
        mem::AddLine(dim, at(s.p10), at(s.p15));
        break;
      case 3:
        mem::AddLine(dim, at(s.p15), at(s.p10));
        break;
      case 4:
        mem::AddLine(dim, at(s.p10), at(s.p15));
        break;
      case 5:
        mem::AddLine(dim, at(s.p15), at(s.p13));
        mem::AddLine(dim, at(s.p15), at(s.p14));
        break;
      default:
        mem::AddLine(dim, at(s.p13), at(s.p14));
        break;
    }
    return dim;
  }

  // Points, solids, faces, leaders and bodies: chains of the kinds the scan leaves out.
  GraphicPtr Add(const DxfEntity& e, const DxfMarker& s, const Into& into, const Affine3& m) {
    if (s.points.empty()) return mem::AddContainer(into, s.hostType);
    const Affine3 l = s.ocs ? OcsFrame(e.extrusion).Then(m) : m;
    std::vector<Vec2> chain;
    for (const Vec3& p : s.points) chain.push_back(Flat(l.Apply(p)));
    if (s.hostType == "PWW30POINT") return mem::AddPoint(into, chain[0]);
    if (s.closed) chain.push_back(chain.front());
    return mem::AddTyped(into, s.hostType, chain, s.closed);
  }

  // Not understood: counted where it would have been placed; text is kept for display.
  GraphicPtr Add(const DxfEntity& e, const DxfIgnored& s, const Into&, const Affine3& m) {
    report_.Ignore(e.name);
    if (!s.text.empty()) {
      const Affine3 l = s.ocs ? OcsFrame(e.extrusion).Then(m) : m;
      const Vec2 at = Flat(l.Apply(s.at));
      const double height = mem::Length(Flat(l.Linear({0, s.height, 0})));
      report_.texts.push_back({at.x, at.y, height, s.text});
    }
    return nullptr;
  }

  const DxfDocument& doc_;
  std::shared_ptr<mem::MemDrawing> drawing_;
  LoadReport& report_;
  const std::string& name_;
  const std::set<std::string> recursive_;  // blocks never expanded
  std::size_t depth_ = 0;                  // inserts being expanded
  std::set<std::string> warned_;
  std::optional<std::string> hiddenAsked_;  // the layer last looked up in hiddenLayers
  bool hidden_ = false;                     // whether that layer is hidden
  std::map<std::pair<std::string, std::size_t>, double> sizes_;  // by block and depth
};

}  // namespace

void EmitDxfDocument(DxfDocument& document, const std::shared_ptr<mem::MemDrawing>& drawing,
                     LoadReport& report, const std::string& name, std::size_t inHalvesFrom) {
  Emitter(document, drawing, report, name).Run(document.entities, inHalvesFrom);
}

}  // namespace pphatch::formats
