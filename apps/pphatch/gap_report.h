// What the tool tells about gaps: the JSON fields of a pick that found no
// area ("open") or bridged gaps ("bridged"), and the one line a person
// reads on standard error.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "formats/dxf_writer.h"
#include "formats/svg_writer.h"
#include "picking.h"

namespace pphatch::cli {

/// Adds to a pick's JSON object: for a failed pick
/// "open":{"closes_at":S,"gaps":[{"from":[x,y],"to":[x,y],"size":s},...]},
/// or "open":{"free_ends":[[x,y],...]}, or "open":{"cause":"..."}; for a
/// pick whose area runs over bridges "bridged":[{"from":..,"to":..,"size":..},...].
void AddGapFields(nlohmann::ordered_json& line, const PickOutcome& outcome);

/// The explanation of a failed pick, one line without newline: "no closed
/// area at X,Y: the boundary is open; it closes with --gap G (gap between
/// X1,Y1 and X2,Y2)", or where the boundary is open, or the cause. G is the
/// closing tolerance rounded up to two significant digits, so that giving
/// it closes the gap.
std::string ExplainFailure(const PickOutcome& outcome);

/// The part of ExplainFailure after the point: why the pick found no area.
std::string WhyNoArea(const PickOutcome& outcome);

/// Gives the SVG pick the outcome's gaps (or bridges) and free ends.
void AddGapMarks(formats::SvgPick& pick, const PickOutcome& outcome);

/// The gaps and bridges of all outcomes, as DXF marks.
std::vector<formats::GapMark> GapMarks(const std::vector<PickOutcome>& outcomes);

/// The closing tolerance rounded up to two significant digits.
double RoundedUpGap(double size);

}  // namespace pphatch::cli
