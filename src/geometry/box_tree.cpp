#include "geometry/box_tree.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace pphatch {
namespace {

// Children per node: wide nodes keep the tree shallow, and a query tests
// each child's box with four comparisons.
constexpr int kFanout = 16;

// The bits of v spread to the even positions of a 64-bit word.
std::uint64_t Spread(std::uint32_t v) {
  std::uint64_t x = v;
  x = (x | (x << 16)) & 0x0000FFFF0000FFFFull;
  x = (x | (x << 8)) & 0x00FF00FF00FF00FFull;
  x = (x | (x << 4)) & 0x0F0F0F0F0F0F0F0Full;
  x = (x | (x << 2)) & 0x3333333333333333ull;
  x = (x | (x << 1)) & 0x5555555555555555ull;
  return x;
}

// The nodes of the level above `below`, kFanout consecutive nodes each.
template <class NodeT>
std::vector<NodeT> PackLevel(const std::vector<NodeT>& below) {
  const int n = static_cast<int>(below.size());
  std::vector<NodeT> above;
  above.reserve(static_cast<size_t>((n + kFanout - 1) / kFanout));
  for (int first = 0; first < n; first += kFanout) {
    NodeT parent;
    parent.first = first;
    parent.last = std::min(n, first + kFanout);
    for (int i = parent.first; i < parent.last; ++i) parent.box.Add(below[static_cast<size_t>(i)].box);
    above.push_back(parent);
  }
  return above;
}

}  // namespace

Box Box::Around(Point2 a, Point2 b, double margin) {
  return {std::min(a.x, b.x) - margin, std::min(a.y, b.y) - margin, std::max(a.x, b.x) + margin,
          std::max(a.y, b.y) + margin};
}

BoxTree::BoxTree(const std::vector<Box>& boxes) {
  if (boxes.empty()) return;
  // The leaves in the order of their centres along a Z curve over the
  // boxes' extent, each axis cut into 2^20 steps.
  Box extent;
  for (const Box& b : boxes) extent.Add(b);
  const double sx = extent.maxX > extent.minX ? 1048575 / (extent.maxX - extent.minX) : 0;
  const double sy = extent.maxY > extent.minY ? 1048575 / (extent.maxY - extent.minY) : 0;
  std::vector<std::pair<std::uint64_t, int>> order(boxes.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    const double cx = (0.5 * (boxes[i].minX + boxes[i].maxX) - extent.minX) * sx;
    const double cy = (0.5 * (boxes[i].minY + boxes[i].maxY) - extent.minY) * sy;
    const auto qx = static_cast<std::uint32_t>(std::clamp(cx, 0.0, 1048575.0));
    const auto qy = static_cast<std::uint32_t>(std::clamp(cy, 0.0, 1048575.0));
    order[i] = {Spread(qx) | Spread(qy) << 1, static_cast<int>(i)};
  }
  std::sort(order.begin(), order.end());
  std::vector<Node> leaves;
  leaves.reserve(boxes.size());
  for (const auto& [key, i] : order) leaves.push_back(Node{boxes[static_cast<size_t>(i)], i, i + 1});
  levels_.push_back(std::move(leaves));
  while (levels_.back().size() > static_cast<size_t>(kFanout)) {
    std::vector<Node> above = PackLevel(levels_.back());
    levels_.push_back(std::move(above));
  }
}

}  // namespace pphatch
