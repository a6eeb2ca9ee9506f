#include "memhost/pick_index.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <utility>

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>

#include "memhost/graphic.h"

namespace pphatch::mem {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

using BPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using BBox = bg::model::box<BPoint>;
using Entry = std::pair<BBox, MemGraphic*>;

BBox ToBBox(const Box& b) { return BBox(BPoint(b.minX, b.minY), BPoint(b.maxX, b.maxY)); }

// True when the graphic's brush fills its closed area.
bool Filled(const MemGraphic& g) {
  const std::string brush = g.Props().Text("BrushStyle");
  return !brush.empty() && brush != "None";
}

// Puts graphics in drawing order.
void SortByOrder(std::vector<MemGraphic*>& graphics) {
  std::sort(graphics.begin(), graphics.end(),
            [](const MemGraphic* a, const MemGraphic* b) { return a->Sequence() < b->Sequence(); });
}

}  // namespace

struct PickIndex::Impl {
  using Tree = bgi::rtree<Entry, bgi::quadratic<16>>;
  Tree tree;
  // Outlines of the graphics a query has needed so far: most graphics of a
  // big drawing are never near a click, and their outlines would cost more
  // memory than the graphics themselves.
  std::unordered_map<MemGraphic*, std::unique_ptr<Outline>> outlines;
  // Graphics to re-index, maybe more than once each: marking a whole
  // drawing costs a push per graphic.
  std::vector<MemGraphic*> dirty;

  // Removes a graphic from the tree and forgets its outline.
  void Drop(MemGraphic* g) {
    std::optional<Box>& box = g->IndexedBox();
    if (!box) return;
    tree.remove(Entry(ToBBox(*box), g));
    box.reset();
    outlines.erase(g);
  }

  // Re-indexes every dirty graphic. Every query comes here first, so a
  // query with nothing dirty must cost nothing.
  void Refresh() {
    if (dirty.empty()) return;
    std::sort(dirty.begin(), dirty.end());
    dirty.erase(std::unique(dirty.begin(), dirty.end()), dirty.end());
    std::vector<Entry> added;
    added.reserve(dirty.size());
    for (MemGraphic* g : dirty) {
      Drop(g);
      const auto box = BoundsOf(*g);
      if (!box) continue;
      g->IndexedBox() = *box;
      added.emplace_back(ToBBox(*box), g);
    }
    dirty = {};
    if (tree.empty()) {
      // A whole drawing at once: packing builds the tree much faster than
      // inserting one by one, and the packed tree answers queries faster.
      tree = Tree(added.begin(), added.end());
    } else {
      tree.insert(added.begin(), added.end());
    }
  }

  // Graphics whose boxes meet the box, with their outlines.
  std::vector<std::pair<MemGraphic*, const Outline*>> Candidates(const Box& box) {
    Refresh();
    std::vector<Entry> hits;
    tree.query(bgi::intersects(ToBBox(box)), std::back_inserter(hits));
    std::vector<std::pair<MemGraphic*, const Outline*>> found;
    found.reserve(hits.size());
    for (const Entry& e : hits) {
      std::unique_ptr<Outline>& outline = outlines[e.second];
      if (!outline) outline = std::make_unique<Outline>(BuildOutline(*e.second));
      found.emplace_back(e.second, outline.get());
    }
    return found;
  }
};

PickIndex::PickIndex() : impl_(std::make_unique<Impl>()) {}
PickIndex::~PickIndex() = default;

void PickIndex::Clear() { impl_ = std::make_unique<Impl>(); }

void PickIndex::MarkDirty(MemGraphic& graphic) { impl_->dirty.push_back(&graphic); }

void PickIndex::Erase(MemGraphic& graphic) {
  std::erase(impl_->dirty, &graphic);
  impl_->Drop(&graphic);
}

std::vector<MemGraphic*> PickIndex::AtPoint(Vec2 p, double radius) {
  std::vector<MemGraphic*> result;
  for (const auto& [graphic, outline] :
       impl_->Candidates({p.x - radius, p.y - radius, p.x + radius, p.y + radius})) {
    if (PassesWithin(*outline, p, radius) || (Filled(*graphic) && InsideRings(*outline, p))) {
      result.push_back(graphic);
    }
  }
  SortByOrder(result);
  return result;
}

std::vector<MemGraphic*> PickIndex::InPolygon(const std::vector<Vec2>& polygon) {
  std::optional<Box> box;
  for (const Vec2 q : polygon) box = Union(box, Box{q.x, q.y, q.x, q.y});
  std::vector<MemGraphic*> result;
  if (!box) return result;
  for (const auto& [graphic, outline] : impl_->Candidates(*box)) {
    if (MeetsQuad(*outline, polygon)) result.push_back(graphic);
  }
  SortByOrder(result);
  return result;
}

std::optional<Box> PickIndex::Bounds() {
  impl_->Refresh();
  if (impl_->tree.empty()) return std::nullopt;
  const BBox b = impl_->tree.bounds();
  return Box{b.min_corner().get<0>(), b.min_corner().get<1>(), b.max_corner().get<0>(),
             b.max_corner().get<1>()};
}

std::size_t PickIndex::CountInBox(const Box& box, std::size_t limit) {
  impl_->Refresh();
  std::size_t count = 0;
  for (auto it = impl_->tree.qbegin(bgi::intersects(ToBBox(box)));
       it != impl_->tree.qend() && count < limit; ++it) {
    ++count;
  }
  return count;
}

std::size_t PickIndex::Size() {
  impl_->Refresh();
  return impl_->tree.size();
}

}  // namespace pphatch::mem
