// Pick points given on the command line or in a points file.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "memhost/outline.h"

namespace pphatch::cli {

/// A point in drawing coordinates.
struct DrawingPoint {
  double x = 0, y = 0;
};

/// The point of an --at value "X,Y"; CliError when it is not two finite numbers.
DrawingPoint ParseAtValue(const std::string& text);

/// The box of a --frame value "X1,Y1,X2,Y2" (any two opposite corners);
/// CliError when it is not four finite numbers or the box has no width or height.
mem::Box ParseFrameValue(const std::string& text);

/// The hint for an --at value split by the shell ("--at 1 2"): "write the
/// point as X,Y (1,2)" when `value` and `next` are the two numbers of a
/// point; "give --at before each point" when both are points ("--at 1,2
/// 3,4"); else nothing.
std::optional<std::string> SplitPointHint(const std::string& value, const std::string& next);

/// The points of a points text: one point a line as "X Y" or "X,Y"; blank
/// lines and everything after a '#' are skipped. CliError listing the bad
/// lines (the first 20, and how many more), one a line, with `name`.
std::vector<DrawingPoint> ReadPoints(std::istream& in, const std::string& name);

/// ReadPoints of the file at `path`, or of standard input for "-"; CliError
/// with the system's reason when the file cannot be opened.
std::vector<DrawingPoint> ReadPointsFile(const std::string& path);

}  // namespace pphatch::cli
