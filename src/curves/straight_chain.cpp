#include "curves/straight_chain.h"

#include "geometry/box_tree.h"

namespace pphatch {

CurveRecord StraightChain(const std::vector<Point2>& points, const std::string& type) {
  CurveRecord chain;
  chain.PointCount = static_cast<int>(points.size());
  chain.TypeName = type;
  Box box;
  for (const Point2 p : points) {
    chain.X.push_back(p.x);
    chain.Y.push_back(p.y);
    box.Add(p);
  }
  chain.MinX = box.minX;
  chain.MinY = box.minY;
  chain.MaxX = box.maxX;
  chain.MaxY = box.maxY;
  chain.Closed = points.size() > 2 && points.front().x == points.back().x && points.front().y == points.back().y;
  return chain;
}

}  // namespace pphatch
