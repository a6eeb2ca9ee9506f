#include "support/request_fixture.h"

#include <any>
#include <cmath>

#include "area/ring_tests.h"
#include "geometry/tolerance.h"
#include "support/chains.h"

namespace pphatch {
namespace {

int beepCount = 0;

}  // namespace

double SignedArea(const std::vector<Point2>& chain) {
  // Relative to the first point, so that a chain far from the origin keeps
  // the digits of its area.
  double twice = 0;
  for (size_t i = 0; i + 1 < chain.size(); ++i) {
    const double ax = chain[i].x - chain[0].x, ay = chain[i].y - chain[0].y;
    const double bx = chain[i + 1].x - chain[0].x, by = chain[i + 1].y - chain[0].y;
    twice += ax * by - bx * ay;
  }
  return twice / 2;
}

double PickOutcome::NetArea() const {
  double area = 0;
  for (size_t i = 0; i < contours.size(); ++i) {
    const double a = std::fabs(SignedArea(contours[i]));
    area += i == 0 ? a : -a;
  }
  return area;
}

bool PickOutcome::OuterHolds(double x, double y) const {
  if (contours.empty()) return false;
  return RingLocator(MakeChain(contours.front())).Side({x, y}, GeomTolerance()) != RingSide::kOutside;
}

RequestFixture::RequestFixture() {
  SetBeepHandler([] { ++beepCount; });
  Look({0, 0}, 1);
}

RequestFixture::~RequestFixture() { SetBeepHandler(nullptr); }

void RequestFixture::Look(mem::Vec2 centre, double zoom, double rotation) {
  view->SetCentre(centre);
  view->SetZoom(zoom);
  view->SetRotation(rotation);
  hatch->Init(view);
}

PickOutcome RequestFixture::Pick(double x, double y) {
  const mem::Vec2 v = view->ToView({x, y});
  PickOutcome outcome;
  HostGraphicPtr result;
  std::any reserved;
  const int beepsBefore = beepCount;
  outcome.ok = hatch->CreateClosedContour(v.x, v.y, result, outcome.error, reserved);
  outcome.beeps = beepCount - beepsBefore;
  const HostGraphicsPtr children = outcome.ok && result ? result->Graphics() : nullptr;
  for (int i = 0; children && i < children->Count(); ++i) {
    const HostVerticesPtr vertices = children->Item(i)->Vertices();
    std::vector<Point2>& points = outcome.contours.emplace_back();
    for (int k = 0; k < vertices->Count(); ++k) {
      const HostVertexPtr vertex = vertices->Item(k);
      points.push_back({vertex->X(), vertex->Y()});
    }
  }
  return outcome;
}

}  // namespace pphatch
