// Reading a request's answer back and checking it against the rules.
#include "fuzz/outcome_check.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace pphatch::reliability {
namespace {

// The closing point and the click are compared with a tolerance relative to
// the size of the numbers involved: 1e-6 of the largest coordinate, and
// never less than 1e-6 drawing units.
constexpr double kRelativeTolerance = 1e-6;

// Distance from p to the segment a-b.
double SegmentDistance(Point2 a, Point2 b, Point2 p) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = 0;
  if (length2 > 0) t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Largest coordinate magnitude of the chain and the point, at least 1.
double Scale(const std::vector<Point2>& chain, Point2 p) {
  double scale = std::max({1.0, std::fabs(p.x), std::fabs(p.y)});
  for (const Point2 q : chain) scale = std::max({scale, std::fabs(q.x), std::fabs(q.y)});
  return scale;
}

// The problem with one boundary of a successful answer, or empty.
std::string ContourProblem(const std::vector<Point2>& chain, std::size_t index, Point2 click) {
  const std::string name = "contour " + std::to_string(index);
  if (chain.size() < 4) return name + " has fewer than 4 points";
  for (const Point2 p : chain) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return name + " has a non-finite point";
  }
  const double tolerance = kRelativeTolerance * Scale(chain, click);
  const Point2 first = chain.front(), last = chain.back();
  if (std::fabs(first.x - last.x) > tolerance || std::fabs(first.y - last.y) > tolerance) {
    return name + " is not closed";
  }
  return {};
}

}  // namespace

// Reads the children of the result graphic (when there is one) vertex by vertex.
Answer ReadAnswer(bool ok, const std::string& error, const HostGraphicPtr& result) {
  Answer answer;
  answer.ok = ok;
  answer.error = error;
  answer.hasGraphic = result != nullptr;
  if (!result) return answer;
  const HostGraphicsPtr children = result->Graphics();
  for (int i = 0; i < children->Count(); ++i) {
    const HostVerticesPtr vertices = children->Item(i)->Vertices();
    std::vector<Point2> chain;
    for (int k = 0; k < vertices->Count(); ++k) {
      const HostVertexPtr v = vertices->Item(k);
      chain.push_back({v->X(), v->Y()});
      answer.maxAbsZ = std::max(answer.maxAbsZ, std::fabs(v->Z()));
    }
    answer.contours.push_back(std::move(chain));
  }
  return answer;
}

// Even-odd ray casting towards +x, with points near an edge counted inside.
bool ChainHoldsPoint(const std::vector<Point2>& chain, Point2 p, double tolerance) {
  bool inside = false;
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
    const Point2 a = chain[i], b = chain[i + 1];
    if (SegmentDistance(a, b, p) <= tolerance) return true;
    if ((a.y > p.y) != (b.y > p.y)) {
      const double x = a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x);
      if (x > p.x) inside = !inside;
    }
  }
  return inside;
}

// Checks the message of a failure, or the boundaries of a success.
std::string AnswerProblem(const Answer& answer, Point2 click) {
  if (!answer.ok) {
    if (answer.error != kNoAreaText) return "failure with message \"" + answer.error + "\"";
    if (answer.hasGraphic) return "failure that still hands back a graphic";
    return {};
  }
  if (!answer.hasGraphic) return "success without a result graphic";
  if (answer.contours.empty()) return "success with no boundary";
  for (std::size_t i = 0; i < answer.contours.size(); ++i) {
    if (std::string problem = ContourProblem(answer.contours[i], i, click); !problem.empty()) {
      return problem;
    }
  }
  if (answer.maxAbsZ != 0) return "a boundary point lies off z = 0";
  const std::vector<Point2>& outer = answer.contours.front();
  if (!ChainHoldsPoint(outer, click, kRelativeTolerance * Scale(outer, click))) {
    return "the outer boundary does not hold the click";
  }
  return {};
}

}  // namespace pphatch::reliability
