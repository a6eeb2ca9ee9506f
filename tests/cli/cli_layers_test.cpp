// Choosing the layers that bound areas, and `info` in the drawing's own
// words: entity names, layers with counts and states, units, extents, and
// what will not bound an area.
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "formats/dxf_text.h"
#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

using formats::testing::DxfFile;
using formats::testing::Pairs;
using std::numbers::pi;

// Circles come back as 60-sided polygons, 0.18 % smaller than the circle.
constexpr double kCircleShare = 0.003;

// A flange seen from the front: the outline circle of radius 10 on layer
// OUTLINE, cut into quarters by centre lines, a hidden line and a
// dimension line on layers of their own; text on an off layer, a circle on
// a frozen one, a thick circle far away.
std::string Flange() {
  return Pairs("0 SECTION 2 HEADER 9 $INSUNITS 70 4 9 $TILEMODE 70 1 0 ENDSEC") +
         DxfFile("0 CIRCLE 8 OUTLINE 10 0 20 0 40 10 0 LINE 8 CENTER 10 -12 20 0 11 12 21 0 "
                 "0 LINE 8 CENTER 10 0 20 -12 11 0 21 12 0 LINE 8 Hidden 10 -12 20 5 11 12 21 5 "
                 "0 LINE 8 dim-1 10 5 20 -12 11 5 21 12 0 TEXT 8 NOTES 10 0 20 0 40 2 1 FLANGE "
                 "0 CIRCLE 8 OLD 10 0 20 0 40 3 0 CIRCLE 8 OUTLINE 39 2.5 10 100 20 100 40 5",
                 "",
                 "0 LAYER 2 OUTLINE 70 0 62 7 0 LAYER 2 CENTER 70 0 62 7 0 LAYER 2 Hidden 70 0 62 7 "
                 "0 LAYER 2 DIM-1 70 0 62 7 0 LAYER 2 NOTES 70 0 62 -7 0 LAYER 2 OLD 70 1 62 7");
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
      dir.Write("blocks.dxf", Pairs("0 SECTION 2 BLOCKS 0 BLOCK 2 B 10 0 20 0 0 LINE 8 0 10 0 20 0 11 1 21 1 "
                                    "0 ENDBLK 0 ENDSEC 0 EOF"))
          .string();
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> says, neverSays;
  };
  const Case cases[] = {
      {{flange, "--ignore-layers", "dim*"},
       {"(DXF, units: millimeters)", "CIRCLE          3", "LINE            4", "TEXT            1",
        "layers: 6", "CENTER          2\n", "DIM-1           1  ignored", "NOTES           1  off",
        "OLD             1  frozen",
        "1 entity with a thickness", "2 entities on layers that are off or frozen: not loaded",
        "1 entity on layers left out by the layer options"},
       // Host kinds only when asked for.
       {"PWW50Polyline", "GRAPHIC"}},
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
