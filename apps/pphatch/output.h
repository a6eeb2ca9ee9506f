// The tool's outputs: JSON Lines, and the pick outcomes in the forms the
// SVG and DXF writers take.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "formats/dxf_writer.h"
#include "formats/svg_writer.h"
#include "picking.h"

namespace pphatch::cli {

/// One JSON object on one line (no newline):
/// {"at":[X,Y],"ok":true,"contours":[{"kind":"External","points":[[x,y],...]},
///  {"kind":"Internal",...}],"ms":0.42}, or for a failed pick
/// {"at":[X,Y],"ok":false,"error":"...","ms":0.42}. ms has two decimals.
std::string JsonLine(const PickOutcome& outcome);

/// JsonLine of each outcome, one a line, in order.
void WriteJsonLines(std::ostream& out, const std::vector<PickOutcome>& outcomes);

/// Every outcome as a pick to draw.
std::vector<formats::SvgPick> ToSvgPicks(const std::vector<PickOutcome>& outcomes);

/// The areas of the successful outcomes, in order.
std::vector<formats::PickArea> ToAreas(const std::vector<PickOutcome>& outcomes);

/// Runs `write` on the file at `path`, or on standard output when `path`
/// is empty; CliError naming the file when it cannot be written.
void ToOutput(const std::string& path, const std::function<void(std::ostream&)>& write);

/// kExitAllFound when every outcome found an area, else kExitSomeFailed.
int ExitStatus(const std::vector<PickOutcome>& outcomes);

}  // namespace pphatch::cli
