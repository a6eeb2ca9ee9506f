// Straight pieces of line and the few facts about them that the comparison
// with GEOS needs: distances, crossings with a horizontal line, and which
// pieces hang together. Coordinates are drawing coordinates.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "memhost/vec.h"

namespace pphatch::differential {

using mem::Vec2;

/// A straight piece of line from a to b.
struct Piece {
  Vec2 a, b;
};

/// Euclidean distance from p to the closed segment a-b.
inline double DistanceToPiece(Vec2 p, const Piece& s) {
  const Vec2 d = s.b - s.a;
  const double len2 = mem::Dot(d, d);
  double t = len2 > 0 ? mem::Dot(p - s.a, d) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return mem::Length(p - (s.a + t * d));
}

/// Distance from p to the nearest piece.
inline double DistanceToPieces(Vec2 p, const std::vector<Piece>& pieces) {
  double best = INFINITY;
  for (const Piece& s : pieces) best = std::min(best, DistanceToPiece(p, s));
  return best;
}

/// Where a piece crosses the horizontal line through a point.
struct RayCrossing {
  double x = 0;
  size_t piece = 0;
};

/// Every crossing left of p of a piece with the horizontal line through p
/// (horizontal pieces never cross it).
inline std::vector<RayCrossing> RayCrossingsLeftOf(const std::vector<Piece>& pieces, Vec2 p) {
  std::vector<RayCrossing> crossings;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece& s = pieces[i];
    if ((s.a.y < p.y) == (s.b.y < p.y) || s.a.y == s.b.y) continue;
    const double x = s.a.x + (s.b.x - s.a.x) * (p.y - s.a.y) / (s.b.y - s.a.y);
    if (x < p.x) crossings.push_back({x, i});
  }
  return crossings;
}

/// Sign of the turn a -> b -> c: exact for coordinates on a fine binary grid.
inline int Turn(Vec2 a, Vec2 b, Vec2 c) {
  const double t = mem::Cross(b - a, c - a);
  return (t > 0) - (t < 0);
}

/// True when the closed segments share a point (touching and overlapping included).
inline bool PiecesMeet(const Piece& s, const Piece& t) {
  const auto within = [](Vec2 a, Vec2 b, Vec2 q) {
    return std::min(a.x, b.x) <= q.x && q.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= q.y &&
           q.y <= std::max(a.y, b.y);
  };
  const int d1 = Turn(s.a, s.b, t.a), d2 = Turn(s.a, s.b, t.b);
  const int d3 = Turn(t.a, t.b, s.a), d4 = Turn(t.a, t.b, s.b);
  if (d1 * d2 < 0 && d3 * d4 < 0) return true;
  return (d1 == 0 && within(s.a, s.b, t.a)) || (d2 == 0 && within(s.a, s.b, t.b)) ||
         (d3 == 0 && within(t.a, t.b, s.a)) || (d4 == 0 && within(t.a, t.b, s.b));
}

/// For every piece, the index of the connected group of lines it belongs to.
inline std::vector<size_t> ConnectedGroups(const std::vector<Piece>& pieces) {
  std::vector<size_t> group(pieces.size());
  for (size_t i = 0; i < group.size(); ++i) group[i] = i;
  const auto root = [&group](size_t i) {
    while (group[i] != i) i = group[i] = group[group[i]];
    return i;
  };
  for (size_t i = 0; i < pieces.size(); ++i) {
    for (size_t j = i + 1; j < pieces.size(); ++j) {
      if (PiecesMeet(pieces[i], pieces[j])) group[root(i)] = root(j);
    }
  }
  for (size_t i = 0; i < group.size(); ++i) group[i] = root(i);
  return group;
}

}  // namespace pphatch::differential
