// The tool's outputs: JSON Lines, and the pick outcomes in the forms the
// SVG and DXF writers take.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "formats/dxf_writer.h"
#include "formats/load_summary.h"
#include "formats/svg_writer.h"
#include "picking.h"

namespace pphatch::cli {

/// One JSON object on one line (no newline):
/// {"index":1,"at":[X,Y],"ok":true,"contours":[{"kind":"External","points":[[x,y],...]},
///  {"kind":"Internal",...}],"units":"millimeters","ms":0.42}, or for a failed pick
/// {"index":2,"at":[X,Y],"ok":false,"code":"no_area","error":"...","units":...,"ms":0.42}.
/// units is null when the drawing does not say; ms has two decimals.
std::string JsonLine(const PickOutcome& outcome, const std::string& units);

/// JsonLine of each outcome, one a line, in order.
void WriteJsonLines(std::ostream& out, const std::vector<PickOutcome>& outcomes,
                    const std::string& units);

/// Every outcome as a pick to draw.
std::vector<formats::SvgPick> ToSvgPicks(const std::vector<PickOutcome>& outcomes);

/// The options of an annotated picture of the drawing: its file name, the
/// date, its units and texts, and the frame (nothing: where the graphics are).
formats::SvgOptions PictureOptions(const std::string& drawingPath, const formats::LoadSummary& summary,
                                   const std::optional<mem::Box>& frame);

/// The areas of the successful outcomes, in order.
std::vector<formats::PickArea> ToAreas(const std::vector<PickOutcome>& outcomes);

/// Runs `write` on the file at `path`, or on standard output when `path`
/// is empty or "-"; CliError naming the file and the system's reason when
/// it cannot be written.
void ToOutput(const std::string& path, const std::function<void(std::ostream&)>& write);

/// kExitAllFound when every outcome found an area, else kExitSomeFailed.
int ExitStatus(const std::vector<PickOutcome>& outcomes);

}  // namespace pphatch::cli
