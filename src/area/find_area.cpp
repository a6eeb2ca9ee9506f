#include "area/find_area.h"

#include <algorithm>
#include <cmath>

#include "area/escape_walk.h"
#include "area/face_search.h"
#include "area/neighbourhood.h"
#include "area/noding.h"
#include "area/open_face.h"
#include "area/planar_graph.h"
#include "curves/circle_contacts.h"
#include "curves/ellipse_contacts.h"
#include "curves/straight_chain.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

// Tolerance per drawing unit of the search window.
constexpr double kRelativeTolerance = 1e-7;
// Tolerance per drawing unit of coordinate magnitude.
constexpr double kPrecisionTolerance = 1e-13;

// A first look around the click gathers no more than this many graphics;
// a window that picks more is halved first.
constexpr int kProbeGraphics = 64;
// Halvings and doublings of a window at most: 2^80 spans any drawing.
constexpr int kMaxResizes = 80;
// The first window is this many times the distance to the nearest graphic
// (half its side), so that the nearest graphic lies well inside it.
constexpr double kFirstWindowReach = 2;
// A click on a graphic starts from this share of that graphic's size.
constexpr double kOnGraphicShare = 1e-3;
// An area found reaching past the window makes the next window reach past
// the area by this share, and grow at least by the other factor.
constexpr double kAreaReach = 1.125;
constexpr double kAreaGrowth = 1.25;
// Windows that find no area double while they hold fewer chains than this,
// and grow fourfold after that: a boundary far longer than the first
// window costs a few searches, not one per doubling, while a room among
// rooms is not read together with its neighbours' neighbours.
constexpr size_t kChainsForLeaps = 4096;
// A window up to this many times as wide as the area found in it decides
// which points count as one; an area found in a wider window is found again
// at its own size.
constexpr double kWindowsPerArea = 8;
// Windows grown this many times without finding the area make the search
// check that graphics lie round the click on all four sides, out to the
// drawing's edges, before growing further.
constexpr int kGrowthsBeforeSideCheck = 6;
// A window of at least this many chains that finds no area, and that fits
// into the drawing this many times across, makes the search walk once from
// the click towards the drawing's edge (WalkOut), through tiles of a
// quarter of its side, before it reads a larger window: a click in a face
// that leaks out of a large drawing is told so without reading the whole
// drawing, and a click in a large face learns how far it reaches. The walk
// reads at most what the next window would (four times the points of the
// window's chains) or, farther from the drawing's edge, ten times the
// window's points for each tile between the click and the edge: enough for
// a way out that winds through narrow passages, and still a strip of the
// drawing rather than all of it, and never more than an eighth of what a
// search of the whole drawing reads. Points, not chains, measure the work:
// a long curve lies in every tile it crosses.
constexpr size_t kChainsBeforeWalk = 256;
constexpr double kWindowsAcrossBeforeWalk = 4;
constexpr double kTilesPerWindow = 4;
constexpr double kWalkPointsPerWindowPoint = 4;
constexpr double kWalkPointsPerTileToEdge = 10;
constexpr double kWalkShareOfDrawing = 0.125;
// The walk tells graphics apart only as finely as a window over the whole
// drawing would, and needs tiles this many times wider than that tolerance.
constexpr double kTileTolerances = 1e4;

Box SquareAround(Point2 p, double half) { return {p.x - half, p.y - half, p.x + half, p.y + half}; }

bool Covers(const Box& outer, const Box& inner) {
  return outer.minX <= inner.minX && outer.maxX >= inner.maxX && outer.minY <= inner.minY &&
         outer.maxY >= inner.maxY;
}

double Magnitude(Point2 p, double half) { return std::max(std::fabs(p.x), std::fabs(p.y)) + half; }

Box BoxOf(const CurveRecord& chain) { return {chain.MinX, chain.MinY, chain.MaxX, chain.MaxY}; }


// The bridges as straight two-point chains after the others, for as long as
// it lives; the chains are as they were when it goes out of scope.
class BridgeChains {
 public:
  BridgeChains(std::vector<CurveRecord>& chains, const std::vector<GapBridge>& bridges)
      : chains_(chains), base_(chains.size()) {
    for (const GapBridge& bridge : bridges) chains.push_back(StraightChain({bridge.from, bridge.to}, "GRAPHIC"));
  }
  ~BridgeChains() { chains_.resize(base_); }
  BridgeChains(const BridgeChains&) = delete;
  BridgeChains& operator=(const BridgeChains&) = delete;
  // The chain index of the first bridge.
  size_t Base() const { return base_; }

 private:
  std::vector<CurveRecord>& chains_;
  size_t base_;
};

// The bridges (chains from `base` on, in the order of `bridges`) that the
// given rings walk along.
std::vector<GapBridge> BridgesOnRings(const PlanarGraph& graph, const std::vector<int>& rings,
                                      const std::vector<GapBridge>& bridges, size_t base) {
  std::vector<char> used(bridges.size(), 0);
  for (const int r : rings) {
    for (const int h : graph.Rings()[static_cast<size_t>(r)].halfEdges) {
      const auto chain = static_cast<size_t>(graph.Edges()[static_cast<size_t>(h >> 1)].chain);
      if (chain >= base && chain - base < bridges.size()) used[chain - base] = 1;
    }
  }
  std::vector<GapBridge> on;
  for (size_t k = 0; k < bridges.size(); ++k) {
    if (used[k]) on.push_back(bridges[k]);
  }
  return on;
}

// Puts the chains of circles, ellipses and their arcs back as they were
// read when it goes out of scope. A search puts contacts into them, found at
// its own tolerance; a later search at another tolerance must start from
// the curves themselves, not from contacts a coarser one found.
class CurvesAsRead {
 public:
  explicit CurvesAsRead(std::vector<CurveRecord>& chains) : chains_(chains) {
    for (size_t k = 0; k < chains.size(); ++k) {
      if (chains[k].Conic) saved_.emplace_back(k, chains[k]);
    }
  }
  ~CurvesAsRead() {
    for (auto& [k, chain] : saved_) chains_[k] = std::move(chain);
  }
  CurvesAsRead(const CurvesAsRead&) = delete;
  CurvesAsRead& operator=(const CurvesAsRead&) = delete;

 private:
  std::vector<CurveRecord>& chains_;
  std::vector<std::pair<size_t, CurveRecord>> saved_;
};

// Half the side of the square round p that just holds the box.
double Reach(Point2 p, const Box& box) {
  return std::max({p.x - box.minX, box.maxX - p.x, p.y - box.minY, box.maxY - p.y});
}

// Distance of p from the nearest point of the chains, and that chain.
struct Nearest {
  double distance = INFINITY;
  int chain = -1;
};
Nearest NearestChain(const std::vector<CurveRecord>& chains, Point2 p) {
  Nearest nearest;
  for (int c = 0; c < static_cast<int>(chains.size()); ++c) {
    const CurveRecord& chain = chains[static_cast<size_t>(c)];
    for (int k = 0; k + 1 < chain.PointCount; ++k) {
      const double d = DistanceToSegment(p, {chain.X[k], chain.Y[k]}, {chain.X[k + 1], chain.Y[k + 1]});
      if (d < nearest.distance) nearest = {d, c};
    }
  }
  return nearest;
}

// Half the side of the first window: found by halving a window from the
// view's size until it picks few graphics, doubling it until it picks some,
// and then measuring the distance to the nearest chain among them. Nothing
// when no graphic lies anywhere near.
std::optional<double> FirstWindow(Neighbourhood& hood, Point2 click, const Box& drawing) {
  const double span = hood.ViewSpan().value_or(1 + Magnitude(click, 0) * 1e-3);
  double half = span / 256;
  for (int i = 0; i < kMaxResizes && hood.CountIn(SquareAround(click, half)) > kProbeGraphics; ++i) {
    half /= 2;
  }
  for (int i = 0; i < kMaxResizes; ++i, half *= 2) {
    GeomTolerance() = ToleranceFor(2 * half, Magnitude(click, half));
    hood.Cover(SquareAround(click, half));
    Nearest nearest = NearestChain(hood.Chains(), click);
    if (nearest.chain < 0) {
      if (Covers(SquareAround(click, half), drawing)) return std::nullopt;
      continue;
    }
    // A chain beyond the window's side may lie nearer than one in its corner.
    if (nearest.distance > half) {
      hood.Cover(SquareAround(click, nearest.distance));
      nearest = NearestChain(hood.Chains(), click);
    }
    const CurveRecord& chain = hood.Chains()[static_cast<size_t>(nearest.chain)];
    const double size = std::max(chain.MaxX - chain.MinX, chain.MaxY - chain.MinY);
    const double floor = std::max(ToleranceFor(0, Magnitude(click, 0)) * 1e3, span * 1e-9);
    return std::max({kFirstWindowReach * nearest.distance, kOnGraphicShare * size, floor});
  }
  return std::nullopt;
}

// True when some graphic lies in each of the four directions from the
// click, up to the edge of the drawing: a bounded area round the click
// needs all four.
bool SurroundedOnAllSides(const Neighbourhood& hood, Point2 click, const Box& drawing, double width) {
  // The strips reach a little beyond the drawing's box, so that a graphic
  // lying along its edge is met inside them, not on their border.
  const double beyond = 0.01 * std::max(drawing.maxX - drawing.minX, drawing.maxY - drawing.minY) + width;
  const Box strips[] = {{drawing.minX - beyond, click.y - width, click.x, click.y + width},
                        {click.x, click.y - width, drawing.maxX + beyond, click.y + width},
                        {click.x - width, drawing.minY - beyond, click.x + width, click.y},
                        {click.x - width, click.y, click.x + width, drawing.maxY + beyond}};
  return std::all_of(std::begin(strips), std::end(strips),
                     [&](const Box& strip) { return hood.CountIn(strip) > 0; });
}

double Span(const Box& box) { return std::max(box.maxX - box.minX, box.maxY - box.minY); }

// True when a window of half side `half` holding `chains` that found no
// area is worth a walk out of it (see kChainsBeforeWalk).
bool WorthAWalk(size_t chains, double half, const Box& drawing) {
  return chains >= kChainsBeforeWalk && 2 * half * kWindowsAcrossBeforeWalk <= Span(drawing);
}

// What a walk from the click tells the search: that no window finds an
// area, or how far round the click the area reaches at least (half the
// side of the window that holds what the walk entered; 0 when unknown).
struct WalkVerdict {
  bool noArea = false;
  double reach = 0;
};

// Walks from the click out of the window of half side `half` that found
// no area. Where the walk leaves the drawing, a search of the chains read
// so far, at the tolerance of a window over the whole drawing, confirms
// that the click lies in no area and, when asked, tells where its face is
// open.
WalkVerdict WalkFromClick(Neighbourhood& hood, Point2 click, const Box& drawing, double half,
                          const AreaSearchOptions& options, BudgetGuard& budget) {
  WalkVerdict verdict;
  const double span = Span(drawing);
  const double tolerance = ToleranceFor(span, Magnitude(click, span));
  const double tileSide = 2 * half / kTilesPerWindow;
  if (!(tileSide > kTileTolerances * tolerance)) return verdict;
  const double toEdge = std::min({click.x - drawing.minX, drawing.maxX - click.x, click.y - drawing.minY,
                                  drawing.maxY - click.y});
  const double share = std::max(kWalkPointsPerWindowPoint, kWalkPointsPerTileToEdge * toEdge / tileSide);
  double points = 0;
  for (const CurveRecord& chain : hood.Chains()) points += std::max(chain.PointCount, 0);
  // A search of the whole drawing reads about this many points.
  const double whole = points / static_cast<double>(hood.Chains().size()) * hood.DrawingGraphicCount();
  const auto maxPoints = static_cast<size_t>(std::min(share * points, kWalkShareOfDrawing * whole));
  const EscapeWalk walk = WalkOut(hood, click, drawing, tileSide, tolerance, maxPoints, budget);
  if (walk.outcome == EscapeWalk::Outcome::kLeavesDrawing) {
    GeomTolerance() = tolerance;
    verdict.noArea = !FindAreaInChains(hood.Chains(), click, tolerance, budget, options);
  } else if (walk.reached.minX <= walk.reached.maxX) {
    // The click's face reaches into every tile the walk entered.
    verdict.reach = kAreaReach * Reach(click, walk.reached);
  }
  return verdict;
}

}  // namespace

double ToleranceFor(double span, double magnitude) {
  return std::max(kRelativeTolerance * span, kPrecisionTolerance * magnitude);
}

std::optional<AreaBoundaries> FindAreaInChains(std::vector<CurveRecord>& chains, Point2 click,
                                               double tolerance, BudgetGuard& budget,
                                               const AreaSearchOptions& options) {
  GeomTolerance() = tolerance;
  const CurvesAsRead restore(chains);
  RefineCircleContacts(chains, static_cast<int>(chains.size()));
  TouchEllipses(chains, tolerance);
  // A click between a curve's chord and the true curve lies inside the
  // curve: the chord is cut at the curve's point beside the click, so that
  // the chords hold the click too.
  if (const std::optional<ChordGap> gap = ChordGapHolding(chains, click)) {
    CurveRecord& curve = chains[static_cast<size_t>(gap->chain)];
    const auto at = static_cast<std::ptrdiff_t>(gap->chord) + 1;
    curve.X.insert(curve.X.begin() + at, gap->onCurve.x);
    curve.Y.insert(curve.Y.begin() + at, gap->onCurve.y);
    ++curve.PointCount;
  }
  NodedChains noded = NodeChains(chains, tolerance, budget);
  const std::vector<GapBridge> bridges = GapBridges(chains, noded, options.gap, tolerance, budget);
  const BridgeChains bridged(chains, bridges);
  const bool keepUnbridged = options.open && !bridges.empty();
  const NodedChains unbridged = keepUnbridged ? noded : NodedChains{};
  if (!bridges.empty()) noded = NodeChains(chains, tolerance, budget);
  const PlanarGraph graph(std::move(noded), budget);
  const std::optional<int> outer = RingHolding(graph, click, tolerance);
  if (!outer) {
    if (options.open) {
      *options.open = OpenFaceOf(chains, keepUnbridged ? unbridged : graph.Noded(), graph, click,
                                 options.openReach, tolerance, budget);
    }
    return std::nullopt;
  }
  std::vector<int> rings = IslandRings(graph, *outer, tolerance, budget);
  AreaBoundaries area = BoundariesOf(graph, *outer, rings, click);
  rings.push_back(*outer);
  area.bridged = BridgesOnRings(graph, rings, bridges, bridged.Base());
  return area;
}

std::optional<AreaBoundaries> FindAreaAround(ObjectState& state, Point2 click,
                                             const AreaSearchOptions& options) {
  if (!std::isfinite(click.x) || !std::isfinite(click.y)) return std::nullopt;
  BudgetGuard budget(&state);
  Neighbourhood hood(state, budget);
  const std::optional<Box> drawing = hood.DrawingBox();
  if (!drawing || !drawing->Holds(click)) return std::nullopt;
  std::optional<double> half = FirstWindow(hood, click, *drawing);
  if (!half) return std::nullopt;
  bool sidesChecked = false;
  // Bridges over gaps join chains the walk does not see: it walks only
  // when there are none.
  bool walked = options.gap > 0;
  // Chains the last search that found no area looked at: a window that adds
  // none cannot find one either, short of covering the drawing.
  size_t searchedInVain = 0;
  // The open face is worth its cost only for the last search of a failed
  // request: the one over the whole drawing, or the one the side check ends.
  AreaSearchOptions inWindow = options;
  inWindow.open = nullptr;

  for (int growth = 0; growth < kMaxResizes; ++growth) {
    budget.Check();
    const Box window = SquareAround(click, *half);
    const double tolerance = ToleranceFor(2 * *half, Magnitude(click, *half));
    GeomTolerance() = tolerance;
    hood.Cover(window);
    const bool whole = Covers(window, *drawing);
    std::optional<AreaBoundaries> area;
    if (whole || hood.Chains().size() != searchedInVain) {
      area = FindAreaInChains(hood.Chains(), click, tolerance, budget, whole ? options : inWindow);
      if (!area) searchedInVain = hood.Chains().size();
    }
    if (area) {
      // The area is final once its outer boundary lies inside the window,
      // away from its sides: every graphic the window did not pick lies
      // outside it. Otherwise the next window reaches past it: more
      // graphics can only cut the area smaller. A free end within the gap
      // tolerance of the boundary may bridge to it, so the boundary must
      // lie that much farther inside.
      const double margin = 2 * tolerance;
      const Box inner{window.minX + margin, window.minY + margin, window.maxX - margin,
                      window.maxY - margin};
      if (!whole && !Covers(inner, BoxOf(area->outer).Grown(options.gap))) {
        *half = std::max(kAreaGrowth * *half,
                         kAreaReach * Reach(click, BoxOf(area->outer).Grown(options.gap)));
        continue;
      }
      // Its points must be told apart at about the area's own size, not at
      // the size of a window grown wide while the click lay in no area: an
      // area that holds the click only because a wide window's tolerance
      // closed a gap is no area at all.
      const double own = kAreaReach * Reach(click, BoxOf(area->outer));
      const double ownTolerance = ToleranceFor(2 * own, Magnitude(click, own));
      if (!(ownTolerance * kWindowsPerArea < tolerance)) return area;
      GeomTolerance() = ownTolerance;
      area = FindAreaInChains(hood.Chains(), click, ownTolerance, budget, whole ? options : inWindow);
      if (area && (whole || Covers(inner, BoxOf(area->outer).Grown(options.gap)))) return area;
    }
    if (whole) return std::nullopt;
    const double grown = *half * (hood.Chains().size() < kChainsForLeaps ? 2 : 4);
    if (!walked && WorthAWalk(hood.Chains().size(), *half, *drawing)) {
      walked = true;
      const WalkVerdict walk = WalkFromClick(hood, click, *drawing, *half, options, budget);
      if (walk.noArea) return std::nullopt;
      if (walk.reach > grown) {
        *half = walk.reach;
        continue;
      }
    }
    if (growth >= kGrowthsBeforeSideCheck && !sidesChecked) {
      sidesChecked = true;
      if (!SurroundedOnAllSides(hood, click, *drawing, tolerance)) {
        if (options.open) FindAreaInChains(hood.Chains(), click, tolerance, budget, options);
        return std::nullopt;
      }
    }
    *half = grown;
  }
  return std::nullopt;
}

}  // namespace pphatch
