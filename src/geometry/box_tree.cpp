#include "geometry/box_tree.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace pphatch {
namespace {

// Children per node: wide nodes keep the tree shallow, and a query tests
// each child's box with four comparisons.
constexpr int kFanout = 16;

double CentreX(const Box& b) { return 0.5 * (b.minX + b.maxX); }
double CentreY(const Box& b) { return 0.5 * (b.minY + b.maxY); }

// The nodes of the level above `below`: its nodes sorted into vertical
// slices by x, each slice by y, and packed kFanout at a time. Reorders
// `below` (and so the ranges its parents refer to) in place.
template <class NodeT>
std::vector<NodeT> PackLevel(std::vector<NodeT>& below) {
  const int n = static_cast<int>(below.size());
  const int parents = (n + kFanout - 1) / kFanout;
  const int slices = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(parents)))));
  const int perSlice = slices * kFanout;
  std::sort(below.begin(), below.end(),
            [](const NodeT& a, const NodeT& b) { return CentreX(a.box) < CentreX(b.box); });
  for (int start = 0; start < n; start += perSlice) {
    const int end = std::min(n, start + perSlice);
    std::sort(below.begin() + start, below.begin() + end,
              [](const NodeT& a, const NodeT& b) { return CentreY(a.box) < CentreY(b.box); });
  }
  std::vector<NodeT> above;
  above.reserve(static_cast<size_t>(parents));
  for (int first = 0; first < n; first += kFanout) {
    NodeT parent;
    parent.first = first;
    parent.last = std::min(n, first + kFanout);
    for (int i = parent.first; i < parent.last; ++i) {
      const Box& b = below[static_cast<size_t>(i)].box;
      parent.box.Add({b.minX, b.minY});
      parent.box.Add({b.maxX, b.maxY});
    }
    above.push_back(parent);
  }
  return above;
}

}  // namespace

Box Box::Around(Point2 a, Point2 b, double margin) {
  return {std::min(a.x, b.x) - margin, std::min(a.y, b.y) - margin, std::max(a.x, b.x) + margin,
          std::max(a.y, b.y) + margin};
}

void Box::Add(Point2 p) {
  if (minX > maxX) {
    minX = maxX = p.x;
    minY = maxY = p.y;
    return;
  }
  minX = std::min(minX, p.x);
  maxX = std::max(maxX, p.x);
  minY = std::min(minY, p.y);
  maxY = std::max(maxY, p.y);
}

BoxTree::BoxTree(const std::vector<Box>& boxes) {
  if (boxes.empty()) return;
  std::vector<Node> leaves;
  leaves.reserve(boxes.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    leaves.push_back(Node{boxes[i], static_cast<int>(i), static_cast<int>(i) + 1});
  }
  levels_.push_back(std::move(leaves));
  while (levels_.back().size() > static_cast<size_t>(kFanout)) {
    std::vector<Node> above = PackLevel(levels_.back());
    levels_.push_back(std::move(above));
  }
}

std::vector<int> BoxTree::ItemsInTreeOrder() const {
  std::vector<int> items;
  if (levels_.empty()) return items;
  items.reserve(levels_[0].size());
  for (const Node& leaf : levels_[0]) items.push_back(leaf.first);
  return items;
}

}  // namespace pphatch
