#include "picking.h"

#include <any>
#include <chrono>

#include "memhost/view_setup.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch::cli {

namespace {

// The children of a result graphic as contours, in order.
std::vector<formats::Contour> ReadContours(const HostGraphicPtr& result) {
  std::vector<formats::Contour> contours;
  const HostGraphicsPtr children = result->Graphics();
  const int count = children->Count();
  for (int i = 0; i < count; ++i) {
    const HostVerticesPtr vertices = children->Item(i)->Vertices();
    const int n = vertices->Count();
    formats::Contour contour;
    contour.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
      const HostVertexPtr v = vertices->Item(k);
      contour.push_back({v->X(), v->Y()});
    }
    contours.push_back(std::move(contour));
  }
  return contours;
}

// One request at the click, timed.
PickOutcome PickOne(PickPointHatch& hatch, mem::MemView& view, mem::MemDrawing& drawing,
                    DrawingPoint click) {
  PickOutcome outcome;
  outcome.at = click;
  ShowForClick(view, click);
  const HostPoint3 v = view.WorldToView(click.x, click.y, 0);
  HostGraphicPtr result;
  std::any reserved;
  const auto start = std::chrono::steady_clock::now();
  try {
    outcome.ok = hatch.CreateClosedContour(v.x, v.y, result, outcome.error, reserved);
  } catch (const std::exception& e) {
    outcome.ok = false;
    outcome.error = e.what();
  }
  const auto stop = std::chrono::steady_clock::now();
  outcome.ms = std::chrono::duration<double, std::milli>(stop - start).count();
  outcome.diagnosis = hatch.Diagnosis();
  if (!outcome.ok) return outcome;
  try {
    if (!result) throw HostError("the request gave no result graphic");
    outcome.contours = ReadContours(result);
    for (const formats::Contour& c : outcome.contours) {
      outcome.curves.push_back(formats::FollowCurves(drawing, c));
    }
    outcome.measures = formats::MeasureArea(outcome.curves);
  } catch (const std::exception& e) {
    outcome.ok = false;
    outcome.error = e.what();
  }
  return outcome;
}

}  // namespace

void ShowForClick(mem::MemView& view, DrawingPoint click) {
  mem::ShowAroundClick(view, {click.x, click.y});
}

std::vector<PickOutcome> RunPicks(const std::shared_ptr<mem::MemDrawing>& drawing,
                                  const std::vector<DrawingPoint>& points,
                                  const std::function<void(const PickOutcome&)>& done, double gap) {
  SetBeepHandler([] {});
  auto view = std::make_shared<mem::MemView>(drawing);
  PickPointHatch hatch;
  hatch.Init(view);
  hatch.SetGapTolerance(gap);
  std::vector<PickOutcome> outcomes;
  outcomes.reserve(points.size());
  for (const DrawingPoint& click : points) {
    outcomes.push_back(PickOne(hatch, *view, *drawing, click));
    outcomes.back().index = static_cast<int>(outcomes.size());
    if (done) done(outcomes.back());
  }
  return outcomes;
}

}  // namespace pphatch::cli
