// A static R-tree over axis-parallel boxes, for the "what lies near here"
// questions of the area search: which segments may meet, which rings may
// hold a point.
#pragma once

#include <utility>
#include <vector>

#include "geometry/incidence.h"

namespace pphatch {

/// An axis-parallel box; empty when min > max.
struct Box {
  double minX = 0, minY = 0, maxX = -1, maxY = -1;

  /// The box of one segment, widened by `margin` on every side.
  static Box Around(Point2 a, Point2 b, double margin);
  /// True when the boxes share a point (touching counts).
  bool Overlaps(const Box& other) const {
    return minX <= other.maxX && other.minX <= maxX && minY <= other.maxY && other.minY <= maxY;
  }
  /// The box widened by `by` on every side.
  Box Grown(double by) const { return {minX - by, minY - by, maxX + by, maxY + by}; }
  /// True when p lies in the box or on its edge.
  bool Holds(Point2 p) const { return p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY; }
  /// Grows the box to take in p. (Inline: it runs for every point of every
  /// chain a request reads.)
  void Add(Point2 p) {
    if (minX > maxX) {
      minX = maxX = p.x;
      minY = maxY = p.y;
      return;
    }
    minX = p.x < minX ? p.x : minX;
    maxX = p.x > maxX ? p.x : maxX;
    minY = p.y < minY ? p.y : minY;
    maxY = p.y > maxY ? p.y : maxY;
  }
  /// Grows the box to take in another.
  void Add(const Box& other) {
    if (other.minX > other.maxX) return;
    Add(Point2{other.minX, other.minY});
    Add(Point2{other.maxX, other.maxY});
  }
};

/// Boxes packed bottom-up, sixteen to a node, in the order of their centres
/// along a Z-shaped space-filling curve, so that boxes close together share
/// nodes. Built once; queries visit only the nodes whose box overlaps.
class BoxTree {
 public:
  BoxTree() = default;
  /// Item i of every query result is boxes[i].
  explicit BoxTree(const std::vector<Box>& boxes);

  /// Calls visit(i) for every item whose box overlaps `query`, in no
  /// particular order.
  template <class Visit>
  void Query(const Box& query, Visit&& visit) const {
    if (levels_.empty()) return;
    std::vector<std::pair<int, int>>& stack = stack_;  // (level, node)
    stack.clear();
    const int top = static_cast<int>(levels_.size()) - 1;
    for (int n = 0; n < static_cast<int>(levels_[top].size()); ++n) stack.emplace_back(top, n);
    while (!stack.empty()) {
      const auto [level, index] = stack.back();
      stack.pop_back();
      const Node& node = levels_[level][index];
      if (!node.box.Overlaps(query)) continue;
      if (level == 0) {
        visit(node.first);
        continue;
      }
      for (int child = node.first; child < node.last; ++child) stack.emplace_back(level - 1, child);
    }
  }

  /// Calls visit(i, j) once for every two different items whose boxes
  /// overlap, walking the tree against itself: each pair of nodes is looked
  /// at once, which costs far less than a query per item.
  template <class Visit>
  void ForEachOverlappingPair(Visit&& visit) const;

 private:
  /// A box and what it covers: one item at level 0, else the range of nodes
  /// [first, last) of the level below.
  struct Node {
    Box box;
    int first = 0, last = 0;
  };

  std::vector<std::vector<Node>> levels_;
  mutable std::vector<std::pair<int, int>> stack_;
};

template <class Visit>
void BoxTree::ForEachOverlappingPair(Visit&& visit) const {
  if (levels_.empty()) return;
  // Pairs of nodes still to compare, each as (level, index) twice; a node
  // paired with itself stands for the pairs among its own children.
  struct Pending {
    int levelA, a, levelB, b;
  };
  std::vector<Pending> stack;
  const int top = static_cast<int>(levels_.size()) - 1;
  const int topCount = static_cast<int>(levels_[top].size());
  for (int a = 0; a < topCount; ++a) {
    for (int b = a; b < topCount; ++b) stack.push_back({top, a, top, b});
  }
  while (!stack.empty()) {
    const Pending p = stack.back();
    stack.pop_back();
    const Node& na = levels_[p.levelA][p.a];
    const Node& nb = levels_[p.levelB][p.b];
    const bool same = p.levelA == p.levelB && p.a == p.b;
    if (same) {
      if (p.levelA == 0) continue;
      const int below = p.levelA - 1;
      for (int c = na.first; c < na.last; ++c) {
        const Box& box = levels_[below][c].box;
        stack.push_back({below, c, below, c});
        for (int d = c + 1; d < na.last; ++d) {
          if (box.Overlaps(levels_[below][d].box)) stack.push_back({below, c, below, d});
        }
      }
      continue;
    }
    if (p.levelA == 0 && p.levelB == 0) {
      visit(na.first, nb.first);
      continue;
    }
    // Open the node on the higher level (the first one on a tie).
    if (p.levelA >= p.levelB) {
      for (int c = na.first; c < na.last; ++c) {
        if (levels_[p.levelA - 1][c].box.Overlaps(nb.box)) stack.push_back({p.levelA - 1, c, p.levelB, p.b});
      }
    } else {
      for (int c = nb.first; c < nb.last; ++c) {
        if (levels_[p.levelB - 1][c].box.Overlaps(na.box)) stack.push_back({p.levelA, p.a, p.levelB - 1, c});
      }
    }
  }
}

}  // namespace pphatch
