#include "gap_report.h"

#include <cmath>
#include <cstdio>

namespace pphatch::cli {

namespace {

using Json = nlohmann::ordered_json;

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

std::string At(double x, double y) { return Short(x) + "," + Short(y); }

}  // namespace

double RoundedUpGap(double size) {
  if (!(size > 0) || !std::isfinite(size)) return size;
  const double unit = std::pow(10.0, std::floor(std::log10(size)) - 1);
  double rounded = std::ceil(size / unit) * unit;
  // The quotient may round down across the next multiple; never below the size.
  while (rounded < size) rounded += unit;
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
  const PickDiagnosis& d = outcome.diagnosis;
  std::string text = "no closed area at " + At(outcome.at.x, outcome.at.y) + ": ";
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

}  // namespace pphatch::cli
