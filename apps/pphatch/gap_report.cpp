#include "gap_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pphatch::cli {

namespace {

using Json = nlohmann::ordered_json;

// How far beyond a gap tolerance a gap still closes, as a share of it.
constexpr double kGapSlack = 1e-9;

// A gap as {"from":[x,y],"to":[x,y],"size":s}.
Json GapJson(const PickGap& gap) {
  Json json;
  json["from"] = Json::array({gap.fromX, gap.fromY});
  json["to"] = Json::array({gap.toX, gap.toY});
  json["size"] = gap.size;
  return json;
}

Json GapsJson(const std::vector<PickGap>& gaps) {
  Json list = Json::array();
  for (const PickGap& gap : gaps) list.push_back(GapJson(gap));
  return list;
}

// What a cause other than an open boundary tells the user.
const char* CauseText(PickDiagnosis::Cause cause) {
  switch (cause) {
    case PickDiagnosis::Cause::kOnBoundary:
      return "the click lies on a line that bounds no area";
    case PickDiagnosis::Cause::kBudget:
      return "the search ran out of time";
    case PickDiagnosis::Cause::kError:
      return "the drawing could not be read";
    case PickDiagnosis::Cause::kNotEnclosed:
    default:
      return "no boundary surrounds the click";
  }
}

// A number as a person reads it: up to six significant digits.
std::string Short(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// A point; a coordinate that is a rounding error beside the other shows as 0.
std::string At(double x, double y) {
  const double noise = 1e-9 * std::max(std::fabs(x), std::fabs(y));
  return Short(std::fabs(x) < noise ? 0 : x) + "," + Short(std::fabs(y) < noise ? 0 : y);
}

}  // namespace

double RoundedUpGap(double size) {
  if (!(size > 0) || !std::isfinite(size)) return size;
  // A tolerance closes gaps up to a billionth beyond it, so a gap measured
  // a rounding above 1.3 closes with 1.3.
  const double least = size * (1 - kGapSlack);
  const double unit = std::pow(10.0, std::floor(std::log10(least)) - 1);
  double rounded = std::ceil(least / unit) * unit;
  while (rounded < least) rounded += unit;
  return rounded;
}

void AddGapFields(Json& line, const PickOutcome& outcome) {
  const PickDiagnosis& d = outcome.diagnosis;
  if (outcome.ok) {
    if (!d.gaps.empty()) line["bridged"] = GapsJson(d.gaps);
    return;
  }
  Json open;
  if (d.closesAt > 0) {
    open["closes_at"] = d.closesAt;
    open["gaps"] = GapsJson(d.gaps);
  } else if (!d.freeEnds.empty()) {
    Json ends = Json::array();
    for (const auto& p : d.freeEnds) ends.push_back(Json::array({p[0], p[1]}));
    open["free_ends"] = std::move(ends);
  } else {
    open["cause"] = CauseText(d.cause);
  }
  line["open"] = std::move(open);
}

std::string ExplainFailure(const PickOutcome& outcome) {
  return "no closed area at " + At(outcome.at.x, outcome.at.y) + ": " + WhyNoArea(outcome);
}

std::string WhyNoArea(const PickOutcome& outcome) {
  const PickDiagnosis& d = outcome.diagnosis;
  std::string text;
  if (d.closesAt > 0) {
    text += "the boundary is open; it closes with --gap " + Short(RoundedUpGap(d.closesAt));
    for (std::size_t i = 0; i < d.gaps.size(); ++i) {
      const PickGap& g = d.gaps[i];
      text += (i == 0 ? " (gap between " : ", gap between ") + At(g.fromX, g.fromY) + " and " +
              At(g.toX, g.toY);
    }
    if (!d.gaps.empty()) text += ")";
    return text;
  }
  if (!d.freeEnds.empty()) {
    text += "the boundary is open at";
    for (std::size_t i = 0; i < d.freeEnds.size() && i < 3; ++i) {
      text += (i == 0 ? " " : "; ") + At(d.freeEnds[i][0], d.freeEnds[i][1]);
    }
    return text + "; no small gap tolerance closes it";
  }
  return text + CauseText(d.cause);
}

void AddGapMarks(formats::SvgPick& pick, const PickOutcome& outcome) {
  for (const PickGap& g : outcome.diagnosis.gaps) {
    pick.gaps.push_back({{g.fromX, g.fromY}, {g.toX, g.toY}, g.size});
  }
  for (const auto& p : outcome.diagnosis.freeEnds) pick.freeEnds.push_back({p[0], p[1]});
}

std::vector<formats::GapMark> GapMarks(const std::vector<PickOutcome>& outcomes) {
  std::vector<formats::GapMark> marks;
  for (const PickOutcome& outcome : outcomes) {
    for (const PickGap& g : outcome.diagnosis.gaps) {
      marks.push_back({{g.fromX, g.fromY}, {g.toX, g.toY}, g.size, outcome.ok});
    }
  }
  return marks;
}

}  // namespace pphatch::cli
