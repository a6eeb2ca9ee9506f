// A static R-tree over axis-parallel boxes, for the "what lies near here"
// questions of the area search: which segments may meet a segment, which
// rings may hold a point.
#pragma once

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
  /// True when p lies in the box or on its edge.
  bool Holds(Point2 p) const { return p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY; }
  /// Grows the box to take in p.
  void Add(Point2 p);
};

/// Boxes packed bottom-up, sixteen to a node, after sorting them into tiles
/// (sort-tile-recursive), so that boxes close together share nodes. Built
/// once; queries visit only the nodes whose box overlaps the query box.
class BoxTree {
 public:
  BoxTree() = default;
  /// Item i of every query result is boxes[i].
  explicit BoxTree(const std::vector<Box>& boxes);

  /// The items in the order the tree keeps them: boxes close together come
  /// one after another, so that queries made in this order reuse the same
  /// nodes.
  std::vector<int> ItemsInTreeOrder() const;

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

}  // namespace pphatch
