#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

using Ids = std::vector<int>;
constexpr double kPi = std::numbers::pi;

TEST(PickPoint, FindsTheTopLevelGraphicDrawnWithinTheApertureOrFilledAroundIt) {
  HostFixture f;
  const int line = AddLine(f.drawing, {0, 0}, {10, 0})->Id();
  const int circle = AddCircle(f.drawing, {100, 0}, 5)->Id();
  // Quarter arc from 0 to 90 degrees: its circle's lower half is absent.
  const int arc = AddArc(f.drawing, {200, 0}, 5, 0, kPi / 2)->Id();
  // Bulge 1 from (300,0) to (302,0): a counter-clockwise half circle below the chord.
  const int poly = AddPolyline(f.drawing, {{300, 0, 1}, {302, 0, 0}})->Id();
  const auto group = AddGroup(f.drawing);
  AddData(group);
  AddLine(group, {0, 10}, {10, 10});
  const auto block = NewBlock(*f.drawing);
  AddLine(block, {0, -30}, {1, -30});
  // Scale 2, quarter turn: the block's line lands on (160,50)-(160,52).
  const int insert = AddInsert(f.drawing, block, {100, 50, 2, kPi / 2})->Id();
  const int text =
      AddText(f.drawing, 3, {{{400, 0}, {401, 0}, {401, 1}, {400, 1}}, {{402, 0}, {403, 0}, {403, 1}}})->Id();
  // Filled areas are picked inside; a blanked fill or an open chain is not.
  const auto square = AddRectangle(f.drawing, {500, 0}, {510, 10});
  SetProperty(square, "BrushStyle", std::string("Solid"));
  const auto disc = AddCircle(f.drawing, {530, 5}, 5);
  SetProperty(disc, "BrushStyle", std::string("Hatch"));
  SetProperty(AddRectangle(f.drawing, {600, 0}, {610, 10}), "BrushStyle", std::string());
  SetProperty(AddChain(f.drawing, {{650, 0}, {660, 0}, {660, 10}, {650, 10}}), "BrushStyle",
              std::string("Solid"));
  const struct {
    double x, y, radius;
    Ids expected;
    const char* what;
  } cases[] = {
      {5, 0.9, 1, {line}, "line"},
      {10.55, 0.8, 1, {line}, "0.996 from the line's end"},
      {105.9, 0, 1, {circle}, "circle"},
      {100, 0, 1, {}, "the circle's centre, not drawn"},
      {200, 5.5, 1, {arc}, "arc"},
      {205, -0.9, 1, {arc}, "near the arc's end (205, 0)"},
      {301, -1, 0.01, {poly}, "polyline arc run"},
      {301, 1, 0.5, {}, "the run's other half"},
      {5, 10.5, 1, {group->Id()}, "group member"},
      {160.9, 51, 1, {insert}, "insert part"},
      {0.5, -30, 1, {}, "the block itself, not in the drawing"},
      {401.5, 0, 0.2, {}, "the pen-up move between letters"},
      {402.5, 0, 0.2, {text}, "text outline"},
      {505, 5, 1, {square->Id()}, "inside a solid fill"},
      {530, 5, 1, {disc->Id()}, "inside a hatched disc"},
      {605, 5, 1, {}, "inside a blanked fill"},
  };
  for (const auto& c : cases) EXPECT_EQ(f.PickAt(c.x, c.y, c.radius), c.expected) << c.what;
}

TEST(PickWindow, FindsGraphicsCrossingOrInsideOnly) {
  HostFixture f;
  const int crossing = AddLine(f.drawing, {-100, 5}, {100, 5})->Id();
  const int inside = AddCircle(f.drawing, {5, 5}, 1)->Id();
  AddLine(f.drawing, {-100, 20}, {100, 20});
  AddCircle(f.drawing, {5, 5}, 50);  // encloses the window without meeting it
  const int arcCrossing = AddArc(f.drawing, {5, -3}, 5, 0, kPi)->Id();
  EXPECT_EQ(f.PickWindowAt({0, 0}, {10, 10}), (Ids{crossing, inside, arcCrossing}));
}

}  // namespace
}  // namespace pphatch::mem
