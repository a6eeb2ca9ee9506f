#include "bench/plan.h"

#include <cmath>

#include "memhost/builders.h"

namespace pphatch::bench {

namespace {

// The chord count the component uses for a full circle.
constexpr int kCircleChords = 60;
// Sampling density of arcs: this many chords per full turn, with floors.
constexpr double kArcChordsPerTurn = 61;

// Number of chords of an arc of that sweep (radians), as the component
// samples it: short arcs get 5, others at least 10, from 10/61 turn at least 20.
int ArcChords(double sweep) {
  const int k = static_cast<int>(std::floor(sweep / mem::kFullTurn * kArcChordsPerTurn));
  if (k < 1) return 5;
  if (k < 10) return 10;
  if (k < 20) return 20;
  return k;
}

// Sweep of an arc from start to end, counter-clockwise, in (0, 2 pi].
double Sweep(double start, double end) {
  double s = end - start;
  while (s <= 0) s += mem::kFullTurn;
  while (s > mem::kFullTurn) s -= mem::kFullTurn;
  return s;
}

// The figure under a placement.
Figure Placed(const Figure& f, const mem::Placement& at) {
  Figure out = f;
  for (Vec2& p : out.points) p = at.Apply(p);
  out.centre = at.Apply(f.centre);
  out.radius = f.radius * std::fabs(at.scale);
  out.start = f.start + at.rotation;
  out.end = f.end + at.rotation;
  return out;
}

// Appends the chords of one figure (no inserts).
void AddPieces(const Figure& f, std::vector<Piece>& out) {
  switch (f.kind) {
    case Figure::Kind::kLine:
      out.push_back({f.points[0], f.points[1]});
      break;
    case Figure::Kind::kPolygon:
      for (std::size_t i = 0; i < f.points.size(); ++i) {
        out.push_back({f.points[i], f.points[(i + 1) % f.points.size()]});
      }
      break;
    case Figure::Kind::kCircle: {
      Vec2 prev = f.centre + Vec2{f.radius, 0};
      const Vec2 first = prev;
      for (int i = 1; i <= kCircleChords; ++i) {
        const double t = i * mem::kFullTurn / kCircleChords;
        const Vec2 next =
            i == kCircleChords ? first : f.centre + f.radius * Vec2{std::cos(t), std::sin(t)};
        out.push_back({prev, next});
        prev = next;
      }
      break;
    }
    case Figure::Kind::kArc: {
      const double sweep = Sweep(f.start, f.end);
      const int k = ArcChords(sweep);
      const auto at = [&](double t) {
        return f.centre + f.radius * Vec2{std::cos(t), std::sin(t)};
      };
      const bool exactEnds = f.points.size() == 2;
      Vec2 prev = exactEnds ? f.points[0] : at(f.start);
      for (int i = 1; i <= k; ++i) {
        const Vec2 next = exactEnds && i == k ? f.points[1] : at(f.start + sweep * i / k);
        out.push_back({prev, next});
        prev = next;
      }
      break;
    }
    case Figure::Kind::kInsert:
      break;
  }
}

// Draws one figure (no inserts) into the target.
void Draw(const Figure& f, const mem::Into& into) {
  switch (f.kind) {
    case Figure::Kind::kLine:
      mem::AddLine(into, f.points[0], f.points[1]);
      break;
    case Figure::Kind::kPolygon:
      mem::AddPolygon(into, f.points);
      break;
    case Figure::Kind::kCircle:
      mem::AddCircle(into, f.centre, f.radius);
      break;
    case Figure::Kind::kArc:
      mem::AddArc(into, f.centre, f.radius, mem::NormalizeAngle(f.start),
                  mem::NormalizeAngle(f.end));
      break;
    case Figure::Kind::kInsert:
      break;
  }
}

}  // namespace

std::shared_ptr<mem::MemDrawing> BuildDrawing(const Plan& plan) {
  auto drawing = mem::MemDrawing::Create();
  std::vector<mem::GraphicPtr> blocks;
  for (const Block& b : plan.blocks) {
    blocks.push_back(mem::NewBlock(*drawing));
    for (const Figure& f : b.figures) Draw(f, mem::Into(blocks.back()));
  }
  const mem::Into into(drawing);
  for (const Figure& f : plan.figures) {
    if (f.kind == Figure::Kind::kInsert) {
      mem::AddInsert(into, blocks.at(static_cast<std::size_t>(f.block)), f.placement);
    } else {
      Draw(f, into);
    }
  }
  return drawing;
}

std::vector<Piece> PlanPieces(const Plan& plan) {
  std::vector<Piece> pieces;
  for (const Figure& f : plan.figures) {
    if (f.kind != Figure::Kind::kInsert) {
      AddPieces(f, pieces);
      continue;
    }
    for (const Figure& part : plan.blocks.at(static_cast<std::size_t>(f.block)).figures) {
      AddPieces(Placed(part, f.placement), pieces);
    }
  }
  return pieces;
}

std::size_t FigurePieceCount(const Plan& plan, const Figure& figure) {
  switch (figure.kind) {
    case Figure::Kind::kLine:
      return 1;
    case Figure::Kind::kPolygon:
      return figure.points.size();
    case Figure::Kind::kCircle:
      return kCircleChords;
    case Figure::Kind::kArc:
      return static_cast<std::size_t>(ArcChords(Sweep(figure.start, figure.end)));
    case Figure::Kind::kInsert: {
      std::size_t n = 0;
      for (const Figure& part : plan.blocks.at(static_cast<std::size_t>(figure.block)).figures) {
        n += FigurePieceCount(plan, part);
      }
      return n;
    }
  }
  return 0;
}

}  // namespace pphatch::bench
