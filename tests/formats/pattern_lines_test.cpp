#include "formats/pattern_lines.h"

#include <gtest/gtest.h>

#include <numbers>

namespace pphatch::formats {
namespace {

// The summed length of the lines.
double TotalLength(const std::vector<LineSegment>& lines) {
  double total = 0;
  for (const auto& [a, b] : lines) total += Length(b - a);
  return total;
}

TEST(PatternLines, LinesStopAtTheOuterContourAndLeaveIslandsOpen) {
  const auto square = StraightContour({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  const auto island = StraightContour({{4, 4}, {6, 4}, {6, 6}, {4, 6}});
  // Lines at y = 0, 1, ..., 9 (the one along the top edge is not inside).
  const auto lines = PatternLines({square, island}, 0, 1);
  EXPECT_NEAR(TotalLength(lines), 100 - 2 * 2, 1e-12);
  for (const auto& [a, b] : lines) {
    const mem::Vec2 mid = 0.5 * (a + b);
    EXPECT_FALSE(mid.x > 4 && mid.x < 6 && mid.y > 4 && mid.y < 6);
  }
}

TEST(PatternLines, TurnedLinesFillADiscToItsArea) {
  // Lines of spacing s cover about area / s of length; a disc of radius 10.
  const ContourPiece circle{.from = {13, -2}, .to = {13, -2}, .arc = true, .centre = {3, -2},
                            .u = {10, 0}, .v = {0, 10}, .t1 = 2 * std::numbers::pi};
  const double spacing = 0.05;
  const auto lines = PatternLines({{circle}}, std::numbers::pi / 4, spacing);
  EXPECT_NEAR(TotalLength(lines) * spacing, std::numbers::pi * 100, 0.01 * std::numbers::pi * 100);
  for (const auto& [a, b] : lines) {
    EXPECT_LE(Length(a - circle.centre), 10 + 1e-9);
    EXPECT_LE(Length(b - circle.centre), 10 + 1e-9);
  }
}

}  // namespace
}  // namespace pphatch::formats
