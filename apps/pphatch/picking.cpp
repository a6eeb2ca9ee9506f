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

}  // namespace

Picker::Picker(const std::shared_ptr<mem::MemDrawing>& drawing, double gap)
    : drawing_(drawing), view_(std::make_shared<mem::MemView>(drawing)) {
  SetBeepHandler([] {});
  hatch_.Init(view_);
  hatch_.SetGapTolerance(gap);
}

PickOutcome Picker::Pick(DrawingPoint click) {
  PickOutcome outcome;
  outcome.at = click;
  ShowForClick(*view_, click);
  const HostPoint3 v = view_->WorldToView(click.x, click.y, 0);
  HostGraphicPtr result;
  std::any reserved;
  const auto start = std::chrono::steady_clock::now();
  try {
    outcome.ok = hatch_.CreateClosedContour(v.x, v.y, result, outcome.error, reserved);
  } catch (const std::exception& e) {
    outcome.ok = false;
    outcome.error = e.what();
  }
  const auto stop = std::chrono::steady_clock::now();
  outcome.ms = std::chrono::duration<double, std::milli>(stop - start).count();
  outcome.diagnosis = hatch_.Diagnosis();
  if (!outcome.ok) return outcome;
  try {
    if (!result) throw HostError("the request gave no result graphic");
    outcome.contours = ReadContours(result);
    for (const formats::Contour& c : outcome.contours) {
      outcome.curves.push_back(formats::FollowCurves(*drawing_, c));
    }
    outcome.measures = formats::MeasureArea(outcome.curves);
  } catch (const std::exception& e) {
    outcome.ok = false;
    outcome.error = e.what();
  }
  return outcome;
}

void ShowForClick(mem::MemView& view, DrawingPoint click) {
  mem::ShowAroundClick(view, {click.x, click.y});
}

std::vector<PickOutcome> RunPicks(const std::shared_ptr<mem::MemDrawing>& drawing,
                                  const std::vector<DrawingPoint>& points,
                                  const std::function<void(const PickOutcome&)>& done, double gap) {
  Picker picker(drawing, gap);
  std::vector<PickOutcome> outcomes;
  outcomes.reserve(points.size());
  for (const DrawingPoint& click : points) {
    outcomes.push_back(picker.Pick(click));
    outcomes.back().index = static_cast<int>(outcomes.size());
    if (done) done(outcomes.back());
  }
  return outcomes;
}

}  // namespace pphatch::cli
