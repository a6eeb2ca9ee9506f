// The few facts about straight pieces of line that the comparison with GEOS
// needs: distances, boxes, points put into chains, and the points of one
// chain that lie very near another. Coordinates are drawing coordinates.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "memhost/vec.h"

namespace pphatch::differential {

using mem::Vec2;

/// Euclidean distance from p to the closed segment a-b.
inline double DistanceToSegment(Vec2 p, Vec2 a, Vec2 b) {
  const double len2 = mem::Dot(b - a, b - a);
  const double t = len2 > 0 ? std::clamp(mem::Dot(p - a, b - a) / len2, 0.0, 1.0) : 0;
  return mem::Length(p - (a + t * (b - a)));
}

/// A point to put into a chain: into the piece after point `piece`, at
/// `along` (any measure that grows along the piece).
struct Insertion {
  size_t piece = 0;
  double along = 0;
  Vec2 at;
};

/// The chain with the points put in, in order along each piece.
inline std::vector<Vec2> WithInserted(const std::vector<Vec2>& chain, std::vector<Insertion> list) {
  std::sort(list.begin(), list.end(), [](const Insertion& a, const Insertion& b) {
    return a.piece != b.piece ? a.piece < b.piece : a.along < b.along;
  });
  std::vector<Vec2> points;
  size_t next = 0;
  for (size_t i = 0; i < chain.size(); ++i) {
    points.push_back(chain[i]);
    for (; next < list.size() && list[next].piece == i; ++next) points.push_back(list[next].at);
  }
  return points;
}

/// An axis-parallel box; empty until a point is added.
struct Box {
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;

  void Add(Vec2 p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
  /// The box grown by d on every side.
  Box Grown(double d) const { return {minX - d, minY - d, maxX + d, maxY + d}; }
  bool Holds(Vec2 p) const { return minX <= p.x && p.x <= maxX && minY <= p.y && p.y <= maxY; }
  bool Meets(const Box& o) const {
    return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
  }
  /// Distance from p to the box (0 inside).
  double Distance(Vec2 p) const {
    const double dx = std::max({minX - p.x, 0.0, p.x - maxX});
    const double dy = std::max({minY - p.y, 0.0, p.y - maxY});
    return std::hypot(dx, dy);
  }
};

/// Calls f(chain, point, other chain, piece) for every point of
/// the chains lying within `reach` of a piece of another chain, but not at
/// one of the piece's ends.
template <class F>
void ForPointsNearPieces(const std::vector<std::vector<Vec2>>& chains, double reach, F f) {
  std::vector<Box> near(chains.size());  // where points may lie near each chain
  for (size_t j = 0; j < chains.size(); ++j) {
    for (const Vec2 p : chains[j]) near[j].Add(p);
    near[j] = near[j].Grown(reach);
  }
  for (size_t i = 0; i < chains.size(); ++i) {
    for (size_t k = 0; k < chains[i].size(); ++k) {
      const Vec2 p = chains[i][k];
      for (size_t j = 0; j < chains.size(); ++j) {
        if (j == i || !near[j].Holds(p)) continue;
        for (size_t n = 0; n + 1 < chains[j].size(); ++n) {
          const Vec2 a = chains[j][n], b = chains[j][n + 1];
          if (p == a || p == b) continue;
          if (DistanceToSegment(p, a, b) <= reach) f(i, k, j, n);
        }
      }
    }
  }
}

}  // namespace pphatch::differential
