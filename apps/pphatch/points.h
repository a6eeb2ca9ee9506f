// Pick points given on the command line or in a points file.
#pragma once

#include <string>
#include <vector>

namespace pphatch::cli {

/// A point in drawing coordinates.
struct DrawingPoint {
  double x = 0, y = 0;
};

/// The point of an --at value "X,Y"; CliError when it is not two finite numbers.
DrawingPoint ParseAtValue(const std::string& text);

/// The points of a points file: one point a line as "X Y" or "X,Y"; blank
/// lines and everything after a '#' are skipped. CliError naming the file
/// (and the line) when it cannot be read or a line is not a point.
std::vector<DrawingPoint> ReadPointsFile(const std::string& path);

}  // namespace pphatch::cli
