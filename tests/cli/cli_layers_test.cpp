// Choosing the layers that bound areas, and `info` in the drawing's own
// words: entity names, layers with counts and states, units, extents, and
// what will not bound an area.
#include <cmath>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "dxf_drawing.h"
#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

using std::numbers::pi;

// Circles come back as 60-sided polygons, 0.18 % smaller than the circle.
constexpr double kCircleShare = 0.003;

// A flange seen from the front: the outline circle of radius 10 on layer
// OUTLINE, cut into quarters by centre lines, a hidden line and a
// dimension line on layers of their own; text on an off layer, a circle on
// a frozen one, a thick circle far away.
std::string Flange() {
  return DxfDrawing()
      .Header("$INSUNITS", 4)
      .Header("$TILEMODE", 1)
      .Layer("OUTLINE")
      .Layer("CENTER")
      .Layer("Hidden")
      .Layer("DIM-1")
      .Layer("NOTES", true)
      .Layer("OLD", false, true)
      .Circle("OUTLINE", 0, 0, 10)
      .Line("CENTER", -12, 0, 12, 0)
      .Line("CENTER", 0, -12, 0, 12)
      .Line("Hidden", -12, 5, 12, 5)
      .Line("dim-1", 5, -12, 5, 12)
      .Text("NOTES", 0, 0, "FLANGE")
      .Circle("OLD", 0, 0, 3)
      .Circle("OUTLINE", 100, 100, 5, 2.5)
      .Str();
}

TEST(CliLayers, LeavingOutCentreHiddenAndDimensionLayersHatchesTheWholeCircle) {
  ScratchDir dir;
  const std::string flange = dir.Write("flange.dxf", Flange()).string();
  const double whole = pi * 10 * 10;
  struct Case {
    std::vector<std::string> options;
    double area;
  };
  const Case cases[] = {
      {{}, -1},  // cut by the lines: a piece of the circle only
      {{"--ignore-layers", "CENTER,HIDDEN,DIM*"}, whole},
      {{"--ignore-layers", "center", "--ignore-layers", " hidden , Dim-?"}, whole},
      {{"--layers", "outline"}, whole},
      {{"--layers", "OUT*,CENTER", "--ignore-layers", "CENTER"}, whole},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"pick", flange, "--at", "2,2"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ToolRun run = RunTool(args, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    const double area = HatchedArea(lines[0]);
    if (c.area < 0) {
      EXPECT_LT(area, whole / 4) << "the lines must cut the circle";
    } else {
      EXPECT_NEAR(area, c.area, kCircleShare * c.area) << c.options.size();
    }
  }
}

TEST(CliInfo, NamesEntitiesLayersStatesUnitsExtentsAndWhatBoundsNoArea) {
  ScratchDir dir;
  const std::string flange = dir.Write("flange.dxf", Flange()).string();
  const std::string blocksOnly =
      dir.Write("blocks.dxf", DxfDrawing().Block("B", DxfDrawing().Line("0", 0, 0, 1, 1)).WithoutEntitiesSection().Str())
          .string();
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> says, neverSays;
  };
  const Case cases[] = {
      {{flange, "--ignore-layers", "dim*"},
       {"(DXF, units: millimeters)", "CIRCLE          3", "LINE            4", "TEXT            1", "layers: 6",
        "CENTER          2\n", "DIM-1           1  ignored", "NOTES           1  off", "OLD             1  frozen",
        "1 entity with a thickness", "2 entities on layers that are off or frozen: not loaded",
        "1 entity on layers left out by the layer options"},
       // Host kinds only when asked for.
       {"PWW50Polyline", "GRAPHIC"}},
      {{"--verbose", flange}, {"GRAPHIC         4"}, {}},
      {{blocksOnly}, {"no drawing entities: the file holds only blocks", "units: not stated"}, {}},
      {{Example("floor_plan.dxf")},
       {"INSERT          3", "CIRCLE          2", "ARC             2", "POLYLINE        3",
        "x 0 .. 1000, y 0 .. 700 (1000 x 700)", "4 TEXT entities: text never bounds an area"},
       {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"info"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ToolRun run = RunTool(args, dir);
    SCOPED_TRACE(run.out);
    EXPECT_EQ(run.status, 0) << run.err;
    for (const std::string& part : c.says) EXPECT_NE(run.out.find(part), std::string::npos) << part;
    for (const std::string& part : c.neverSays) EXPECT_EQ(run.out.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace pphatch::cli_test
