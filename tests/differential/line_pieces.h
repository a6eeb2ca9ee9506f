// The few facts about straight pieces of line that the comparison with GEOS
// needs: distances, boxes, points put into chains, and the points of one
// chain that lie very near another. Coordinates are drawing coordinates.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
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

/// Calls f(chain, point, other chain, piece, distance) for every point of
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
          const double d = DistanceToSegment(p, a, b);
          if (d <= reach) f(i, k, j, n, d);
        }
      }
    }
  }
}

/// A point of one chain lying off a piece of another, but so little that
/// the component may join them (within its tolerance, 1e-7 of its search
/// window), or the oracle does (within its snapping distance), each in its
/// own way: one moves the point onto the piece, the other cuts the piece at
/// the point's foot, or bends the piece through it; two crossings this close
/// may become one. Either moves a point by at most the distance, so the areas
/// beside them change by at most half the distance times the lengths of the
/// piece and of the two pieces at the point.
struct NearMiss {
  /// The box of the point and the piece: where areas can change.
  Box box;
  double distance = 0;
  double allowance = 0;
};

/// Adds every point of the chains lying off a piece of another chain (not
/// at one of its ends) by no more than `reach`.
inline void AddNearMisses(const std::vector<std::vector<Vec2>>& chains, double reach,
                          std::vector<NearMiss>& out) {
  ForPointsNearPieces(chains, reach, [&](size_t i, size_t k, size_t j, size_t n, double d) {
    if (d == 0) return;
    const std::vector<Vec2>& chain = chains[i];
    const Vec2 p = chain[k], a = chains[j][n], b = chains[j][n + 1];
    double beside = 0;  // the lengths of the pieces at p
    if (k > 0) beside += mem::Length(p - chain[k - 1]);
    if (k + 1 < chain.size()) beside += mem::Length(chain[k + 1] - p);
    Box box;
    for (const Vec2 q : {p, a, b}) box.Add(q);
    out.push_back({box, d, 0.5 * d * (mem::Length(b - a) + beside)});
  });
}

}  // namespace pphatch::differential
