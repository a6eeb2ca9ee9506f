// Cutting chains where they meet, so that they form a planar graph.
#pragma once

#include <vector>

#include "component/budget_guard.h"
#include "curves/curve_record.h"
#include "geometry/incidence.h"

namespace pphatch {

/// A straight piece of the noded drawing, from node a to node b, drawn by
/// the chain `chain` (the first one, where several chains draw it).
struct NodedEdge {
  int a = 0, b = 0;
  int chain = 0;
};

/// The chains cut where they meet: points where chains meet or cross are
/// nodes, and every edge runs between two nodes without meeting another
/// edge except at its ends.
struct NodedChains {
  std::vector<Point2> nodes;
  std::vector<NodedEdge> edges;
};

/// Nodes the chains with the given tolerance (drawing units):
/// - points closer than the tolerance are one node (the first one met);
/// - a chain point within the tolerance of another chain's segment cuts
///   that segment there (T-junctions, collinear overlaps, ends that stop a
///   rounding error short of a line);
/// - segments that cross cut each other at their crossing;
/// - the chords that stand for a curve are cut, on the curve's side, at a
///   chain point that lies on the true curve (a line ending on a circle or
///   ellipse meets it, although the chord passes inside), and at the free
///   end of an open chain within the chord's sagitta (curves known only by
///   their points).
/// Edges drawn by several chains are kept once. Non-finite points break
/// their chain. Every few thousand steps `budget` is checked.
NodedChains NodeChains(const std::vector<CurveRecord>& chains, double tolerance,
                       BudgetGuard& budget);

}  // namespace pphatch
