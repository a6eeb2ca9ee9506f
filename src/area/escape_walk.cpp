#include "area/escape_walk.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <queue>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "area/face_search.h"
#include "area/noding.h"
#include "area/planar_graph.h"
#include "curves/circle_contacts.h"
#include "curves/ellipse_contacts.h"
#include "curves/straight_chain.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// The walk reads at most this many tiles before it gives up.
constexpr size_t kMaxTiles = 4096;
// A stretch of a tile's edge is passed through only when it is at least
// this many tolerances long and its middle lies this many tolerances clear
// of every graphic: neighbouring tiles cut the same graphics at points a
// few tolerances apart, and must agree on which stretch a point is in.
constexpr double kStretchTolerances = 64;
constexpr double kClearTolerances = 8;
// A chain whose box comes near more tiles than this is looked at for every
// tile rather than filed under each.
constexpr double kMostTilesPerChain = 64;
// Straight chains of more points than this are cut down to their pieces
// near the tile, so that a long outline costs each tile only its own part.
constexpr int kCutAbovePoints = 32;

// The sides of a tile, counter-clockwise from the bottom.
enum class Side { kBottom, kRight, kTop, kLeft };

Side Opposite(Side side) {
  switch (side) {
    case Side::kBottom: return Side::kTop;
    case Side::kRight: return Side::kLeft;
    case Side::kTop: return Side::kBottom;
    case Side::kLeft: return Side::kRight;
  }
  return side;
}

using TileIndex = std::pair<long long, long long>;

TileIndex Beyond(TileIndex t, Side side) {
  switch (side) {
    case Side::kBottom: return {t.first, t.second - 1};
    case Side::kRight: return {t.first + 1, t.second};
    case Side::kTop: return {t.first, t.second + 1};
    case Side::kLeft: return {t.first - 1, t.second};
  }
  return t;
}

// A stretch of a tile's edge between two points where graphics meet it,
// and the face inside the tile that reaches it.
struct Stretch {
  Side side = Side::kBottom;
  Point2 a, b;
  int face = -1;  // a ring of the tile's graph
};

// One tile read: the chains near it, then its frame, cut where they meet.
struct Tile {
  std::vector<CurveRecord> chains;
  std::unique_ptr<PlanarGraph> graph;
  std::vector<Stretch> stretches;
};

// A move into a tile through a point of its edge.
struct Move {
  double priority = 0;  // distance of the entry from the drawing's edge
  TileIndex tile;
  Point2 entry;
  Side side = Side::kBottom;  // the side of the tile the entry lies on
  bool operator>(const Move& other) const { return priority > other.priority; }
};

// Appends the runs of a straight chain's pieces that come near `near`; the
// ends of each run lie outside it.
void AddPiecesNear(const CurveRecord& chain, const Box& near, std::vector<CurveRecord>& out) {
  std::vector<Point2> run;
  const auto flush = [&] {
    if (run.size() >= 2) out.push_back(StraightChain(run, chain.TypeName));
    run.clear();
  };
  for (int k = 0; k + 1 < chain.PointCount; ++k) {
    const Point2 a{chain.X[k], chain.Y[k]}, b{chain.X[k + 1], chain.Y[k + 1]};
    if (!Box::Around(a, b, 0).Overlaps(near)) {
      flush();
      continue;
    }
    if (run.empty()) run.push_back(a);
    run.push_back(b);
  }
  flush();
}

class Walker {
 public:
  Walker(Neighbourhood& hood, Point2 click, const Box& drawing, double side, double tolerance,
         size_t maxPoints, BudgetGuard& budget)
      : hood_(hood),
        click_(click),
        drawing_(drawing),
        side_(side),
        tolerance_(tolerance),
        maxPoints_(maxPoints),
        budget_(budget),
        originX_(click.x - side / 2),
        originY_(click.y - side / 2) {}

  EscapeWalk Run() {
    EscapeWalk walk;
    const TileIndex first{0, 0};
    Tile* tile = TileAt(first);
    if (!tile || !Clear(*tile, click_) || ChordGapHolding(tile->chains, click_)) return walk;
    const std::optional<int> face = RingHolding(*tile->graph, click_, tolerance_);
    if (!face) return walk;
    if (Enter(first, *tile, *face, walk)) return walk;
    while (!moves_.empty()) {
      budget_.Step();
      const Move move = moves_.top();
      moves_.pop();
      tile = TileAt(move.tile);
      if (!tile) return walk;
      const std::optional<int> entered = FaceAt(*tile, move.side, move.entry);
      if (!entered) {
        lostWay_ = true;
        continue;
      }
      if (Enter(move.tile, *tile, *entered, walk)) return walk;
    }
    if (!lostWay_) walk.outcome = EscapeWalk::Outcome::kEnclosed;
    return walk;
  }

 private:
  Box TileBox(TileIndex t) const {
    const auto i = static_cast<double>(t.first), j = static_cast<double>(t.second);
    return {originX_ + i * side_, originY_ + j * side_, originX_ + (i + 1) * side_, originY_ + (j + 1) * side_};
  }

  double Clearance() const { return kClearTolerances * tolerance_; }

  // The tile, read on first use; nothing once the walk has read its share.
  Tile* TileAt(TileIndex t) {
    const auto found = tiles_.find(t);
    if (found != tiles_.end()) return &found->second;
    if (tiles_.size() >= kMaxTiles || pointsRead_ >= maxPoints_) return nullptr;
    Tile& tile = tiles_[t];
    const Box box = TileBox(t);
    const Box near = box.Grown(2 * Clearance());
    hood_.Cover(near);
    IndexNewChains();
    std::vector<int> nearby = wide_;
    if (const auto cell = cells_.find(t); cell != cells_.end()) {
      nearby.insert(nearby.end(), cell->second.begin(), cell->second.end());
    }
    std::sort(nearby.begin(), nearby.end());  // in the order the chains were read
    for (const int k : nearby) {
      const CurveRecord& chain = hood_.Chains()[static_cast<size_t>(k)];
      if (!Box{chain.MinX, chain.MinY, chain.MaxX, chain.MaxY}.Overlaps(near)) continue;
      if (!chain.Curved && !chain.Conic && chain.PointCount > kCutAbovePoints) {
        AddPiecesNear(chain, near, tile.chains);
      } else {
        tile.chains.push_back(chain);
      }
    }
    const size_t frame = tile.chains.size();
    for (const CurveRecord& chain : tile.chains) pointsRead_ += static_cast<size_t>(std::max(chain.PointCount, 0));
    // The frame comes last, so that a graphic drawn along the tile's edge
    // keeps that stretch of it: where both draw an edge, the first chain does.
    tile.chains.push_back(StraightChain({{box.minX, box.minY}, {box.maxX, box.minY}, {box.maxX, box.maxY},
                                         {box.minX, box.maxY}, {box.minX, box.minY}},
                                        "GRAPHIC"));
    RefineCircleContacts(tile.chains, static_cast<int>(tile.chains.size()));
    TouchEllipses(tile.chains, tolerance_);
    tile.graph = std::make_unique<PlanarGraph>(NodeChains(tile.chains, tolerance_, budget_), budget_);
    tile.chains.pop_back();
    const PlanarGraph& graph = *tile.graph;
    for (int e = 0; e < static_cast<int>(graph.Edges().size()); ++e) {
      const NodedEdge& edge = graph.Edges()[static_cast<size_t>(e)];
      if (static_cast<size_t>(edge.chain) != frame) continue;
      Stretch s;
      s.a = graph.Nodes()[static_cast<size_t>(edge.a)];
      s.b = graph.Nodes()[static_cast<size_t>(edge.b)];
      const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
      // The half-edge that runs counter-clockwise round the tile has the
      // tile's inside on its left.
      bool forward = false;
      if (std::fabs(dy) <= std::fabs(dx)) {
        const bool bottom = std::fabs(s.a.y - box.minY) < std::fabs(s.a.y - box.maxY);
        s.side = bottom ? Side::kBottom : Side::kTop;
        forward = bottom ? dx > 0 : dx < 0;
      } else {
        const bool left = std::fabs(s.a.x - box.minX) < std::fabs(s.a.x - box.maxX);
        s.side = left ? Side::kLeft : Side::kRight;
        forward = left ? dy < 0 : dy > 0;
      }
      s.face = graph.RingOf(forward ? 2 * e : 2 * e + 1);
      if (s.face >= 0) tile.stretches.push_back(s);
    }
    return &tile;
  }

  // Files the chains the neighbourhood took in since the last call under
  // the tiles they come near; a chain near many tiles goes with every tile.
  void IndexNewChains() {
    const std::vector<CurveRecord>& chains = hood_.Chains();
    for (; indexed_ < chains.size(); ++indexed_) {
      const CurveRecord& chain = chains[indexed_];
      const Box near = Box{chain.MinX, chain.MinY, chain.MaxX, chain.MaxY}.Grown(2 * Clearance());
      const double i0 = std::floor((near.minX - originX_) / side_), i1 = std::floor((near.maxX - originX_) / side_);
      const double j0 = std::floor((near.minY - originY_) / side_), j1 = std::floor((near.maxY - originY_) / side_);
      const auto k = static_cast<int>(indexed_);
      if (!((i1 - i0 + 1) * (j1 - j0 + 1) <= kMostTilesPerChain)) {
        wide_.push_back(k);
        continue;
      }
      for (double i = i0; i <= i1; ++i) {
        for (double j = j0; j <= j1; ++j) cells_[{static_cast<long long>(i), static_cast<long long>(j)}].push_back(k);
      }
    }
  }

  // True when p lies clear of every graphic of the tile.
  bool Clear(const Tile& tile, Point2 p) const {
    const double clearance = Clearance();
    for (const CurveRecord& chain : tile.chains) {
      if (p.x < chain.MinX - clearance || p.x > chain.MaxX + clearance || p.y < chain.MinY - clearance ||
          p.y > chain.MaxY + clearance) {
        continue;
      }
      for (int k = 0; k + 1 < chain.PointCount; ++k) {
        if (DistanceToSegment(p, {chain.X[k], chain.Y[k]}, {chain.X[k + 1], chain.Y[k + 1]}) <= clearance) {
          return false;
        }
      }
    }
    return true;
  }

  // The face of the tile along the stretch of `side` that holds p well
  // inside it; nothing when p lies near where a graphic meets the side.
  std::optional<int> FaceAt(const Tile& tile, Side side, Point2 p) const {
    const bool across = side == Side::kBottom || side == Side::kTop;
    const double along = across ? p.x : p.y;
    for (const Stretch& s : tile.stretches) {
      if (s.side != side) continue;
      const double a = across ? s.a.x : s.a.y, b = across ? s.b.x : s.b.y;
      if (along > std::min(a, b) + Clearance() && along < std::max(a, b) - Clearance()) return s.face;
    }
    return std::nullopt;
  }

  // Enters the face of the tile and queues the moves out of it through
  // each stretch of the tile's edge it reaches. True when one of those
  // stretches lies outside the drawing.
  bool Enter(TileIndex t, const Tile& tile, int face, EscapeWalk& walk) {
    if (!entered_.insert({t.first, t.second, face}).second) return false;
    walk.reached.Add(TileBox(t));
    for (const Stretch& s : tile.stretches) {
      budget_.Step();
      if (s.face != face) continue;
      const Point2 middle{(s.a.x + s.b.x) / 2, (s.a.y + s.b.y) / 2};
      if (std::hypot(s.b.x - s.a.x, s.b.y - s.a.y) < kStretchTolerances * tolerance_ || !Clear(tile, middle)) {
        lostWay_ = true;
        continue;
      }
      const double inside = std::min({middle.x - drawing_.minX, drawing_.maxX - middle.x,
                                      middle.y - drawing_.minY, drawing_.maxY - middle.y});
      if (inside < -Clearance()) {
        walk.outcome = EscapeWalk::Outcome::kLeavesDrawing;
        return true;
      }
      moves_.push({inside, Beyond(t, s.side), middle, Opposite(s.side)});
    }
    return false;
  }

  Neighbourhood& hood_;
  const Point2 click_;
  const Box drawing_;
  const double side_, tolerance_;
  const size_t maxPoints_;
  BudgetGuard& budget_;
  size_t pointsRead_ = 0;
  // The neighbourhood's chains by the tiles they come near (see
  // IndexNewChains), those near too many tiles apart, and how many are filed.
  std::map<TileIndex, std::vector<int>> cells_;
  std::vector<int> wide_;
  size_t indexed_ = 0;
  const double originX_, originY_;
  std::map<TileIndex, Tile> tiles_;
  std::set<std::tuple<long long, long long, int>> entered_;
  std::priority_queue<Move, std::vector<Move>, std::greater<>> moves_;
  // A way out of a face was not followed: the walk cannot tell that the
  // face is enclosed.
  bool lostWay_ = false;
};

}  // namespace

EscapeWalk WalkOut(Neighbourhood& hood, Point2 click, const Box& drawing, double tileSide,
                   double tolerance, size_t maxPoints, BudgetGuard& budget) {
  if (!(tileSide > 0) || !(tolerance > 0) || !std::isfinite(tileSide)) return {};
  const ToleranceScope scope(tolerance);
  return Walker(hood, click, drawing, tileSide, tolerance, maxPoints, budget).Run();
}

}  // namespace pphatch
