// The SVG picture: placement, arcs, pen-ups, hatched areas and failure marks.
#include "formats/svg_writer.h"

#include <numbers>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "memhost/builders.h"

namespace pphatch::formats {
namespace {

TEST(SvgPicture, FitsTheDrawingYUpWithArcsPenUpsHatchedAreasAndFailureMarks) {
  // A drawing 100 x 50: at the default size 1000 and margin 20 one drawing
  // unit is 9.6 pixels, x -> 20 + 9.6 x, y -> 20 + 9.6 (50 - y).
  const auto drawing = mem::MemDrawing::Create();
  mem::AddRectangle(drawing, {0, 0}, {100, 50});
  mem::AddCircle(drawing, {50, 25}, 10);
  // A quarter turn counter-clockwise from (60, 25) to (50, 35).
  mem::AddArc(drawing, {50, 25}, 10, 0, std::numbers::pi / 2);
  mem::AddFlaggedChain(drawing, std::vector<mem::ChainPoint>{{10, 40, true, false}, {20, 40, true, false},
                                                             {30, 40, false, false}, {40, 40, true, false}});
  const Contour square{{0, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}};
  SvgPick room{10, 10, true, {square, {{40, 20}, {60, 20}, {60, 30}, {40, 30}, {40, 20}}}, "", {}, "", ""};
  SvgPick miss{90, 40, false, {}, "no <area> & \"quotes\"", {}, "", ""};
  // The island of the second room: a whole circle of radius 10 about (50, 25), run clockwise.
  SvgPick round{10, 10, true, {square}, "", {}, "Hall  4686"};
  const ContourPiece circle{.from = {60, 25}, .to = {60, 25}, .arc = true, .centre = {50, 25},
                            .u = {10, 0}, .v = {0, 10}, .t1 = -2 * std::numbers::pi};
  round.curves = {StraightContour(square), {circle}};
  std::ostringstream out;
  WriteSvg(out, *drawing, {room, miss, round});
  const std::string svg = out.str();
  for (const std::string part : {
           "viewBox=\"0 0 1000 520\"",
           // The rectangle from its lower-left corner, counter-clockwise.
           "<path d=\"M20 500 L980 500 L980 20 L20 20 L20 500\"/>",
           "<circle cx=\"500\" cy=\"260\" r=\"96\"/>",
           // Counter-clockwise in the drawing is the sweep flag 0 once y points down.
           "<path d=\"M596 260 A96 96 0 0 0 500 164\"/>",
           "<path d=\"M116 116 L212 116 M308 116 L404 116\"/>",
           " Z M404 308 L596 308 L596 212 L404 212 L404 308 Z\" fill=\"url(#hatch0)\" fill-rule=\"evenodd\"",
           // The failed pick sits in the right half: its message runs leftwards.
           "text-anchor=\"end\">no &lt;area&gt; &amp; &quot;quotes&quot;</text>",
           "<g stroke=\"#d01010\" stroke-width=\"1.5\"><circle cx=\"884\" cy=\"116\"",
           // Halves of 96 pixels' radius; clockwise in the drawing is sweep flag 1 with y down.
           " Z M596 260 A96 96 0 0 1 404 260 A96 96 0 0 1 596 260 Z\" fill=\"url(#hatch1)\"",
           ">Hall  4686</text>"}) {
    EXPECT_NE(svg.find(part), std::string::npos) << part << "\n" << svg;
  }
  EXPECT_EQ(svg.find("url(#hatch2)"), std::string::npos);  // the failed pick has no area
  try {
    WriteSvgFile("/nonexistent-dir/x.svg", *drawing, {});
    ADD_FAILURE() << "no error";
  } catch (const WriteError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-dir/x.svg"), std::string::npos);
  }
}

}  // namespace
}  // namespace pphatch::formats
