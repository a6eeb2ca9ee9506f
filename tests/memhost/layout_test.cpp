#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <variant>

#include "memhost/sets.h"
#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(ArcLayout, CircleKeepsItsCentreInVertexZero) {
  HostFixture f;
  const auto circle = AddCircle(f.drawing, {1, 1}, 2);
  const auto a = circle->GetArcData();
  EXPECT_EQ(VertexAt(circle, 0), (Vec2{1, 1}));
  EXPECT_EQ(a[0], 1);
  EXPECT_EQ(a[1], 1);
  EXPECT_EQ(a[3], 3);
  EXPECT_EQ(a[4], 1);
  EXPECT_EQ(a[6], 1);
  EXPECT_EQ(a[7], 0);
  EXPECT_DOUBLE_EQ(a[8], 2 * kPi);
  EXPECT_TRUE(circle->Closed());
  EXPECT_THROW(AddLine(f.drawing, {0, 0}, {1, 0})->GetArcData(), HostError);
}

TEST(ArcLayout, ArcVerticesAreCentreStartEndMiddle) {
  HostFixture f;
  // From 350 to 10 degrees: wraps through 0, middle at 0.
  const auto arc = AddArc(f.drawing, {0, 0}, 2, 350 * kPi / 180, 10 * kPi / 180);
  const auto a = arc->GetArcData();
  EXPECT_NEAR(a[7], 350 * kPi / 180, 1e-12);
  EXPECT_NEAR(a[8], 10 * kPi / 180, 1e-12);
  EXPECT_EQ(VertexAt(arc, 0), (Vec2{0, 0}));
  EXPECT_NEAR(VertexAt(arc, 1).y, -2 * std::sin(10 * kPi / 180), 1e-12);
  EXPECT_NEAR(VertexAt(arc, 2).y, 2 * std::sin(10 * kPi / 180), 1e-12);
  EXPECT_NEAR(VertexAt(arc, 3).x, 2, 1e-12);
  EXPECT_NEAR(VertexAt(arc, 3).y, 0, 1e-12);
  EXPECT_FALSE(arc->Closed());

  // Elliptical arc, major (4,0) turned by 90 degrees, ratio 0.5, t from 0 to pi/2:
  // point(t) = c + cos t (0,4) + sin t * 0.5 * (-4, 0).
  const auto ell = AddEllipticalArc(f.drawing, {10, 0}, {0, 4}, 0.5, 0, kPi / 2);
  const auto e = ell->GetArcData();
  EXPECT_EQ(e[3], 10);
  EXPECT_EQ(e[4], 4);
  EXPECT_EQ(e[6], 0.5);
  EXPECT_NEAR(VertexAt(ell, 1).y, 4, 1e-12);
  EXPECT_NEAR(VertexAt(ell, 2).x, 8, 1e-12);
  EXPECT_NEAR(VertexAt(ell, 2).y, 0, 1e-12);
}

// The "Info" property of a graphic, as text.
std::string InfoOf(const HostGraphicPtr& g) {
  return std::get<std::string>(g->Properties()->Item("Info")->Value());
}

TEST(BuilderLayout, ChildrenWhereScanAndExtractionLookForThem) {
  HostFixture f;
  const std::vector<Vec2> ring{{0, 0}, {4, 0}, {4, 4}, {0, 0}};
  const auto plain = AddCurve(f.drawing, ring, "Solid");
  EXPECT_EQ(plain->Graphics()->Count(), 1);
  EXPECT_EQ(plain->Graphics()->Item(0)->Type(), "GRAPHIC");
  const auto patterned = AddCurve(f.drawing, ring, "Cross");  // outline is child 1
  EXPECT_EQ(patterned->Graphics()->Item(0)->Type(), "DATA");
  EXPECT_EQ(patterned->Graphics()->Item(1)->Vertices()->Count(), 4);
  EXPECT_TRUE(patterned->Closed());

  const auto wide = AddIntProp(f.drawing, "Line_Width_Cosmetic", {{0, 0}, {4, 0}},
                               {{0, -1}, {4, -1}, {4, 1}, {0, 1}, {0, -1}}, true);
  EXPECT_EQ(wide->Type(), "PWW50IntProp");
  EXPECT_EQ(InfoOf(wide->Graphics()->Item(0)), "Line_Width_Cosmetic");
  EXPECT_EQ(wide->Graphics()->Item(0)->InfoText(), "Line_Width_Cosmetic");
  EXPECT_EQ(InfoOf(wide), "");

  const auto text = AddText(f.drawing, 3, {{{0, 0}, {1, 0}, {1, 1}}, {{2, 0}, {3, 0}, {3, 1}}});
  EXPECT_EQ(std::get<double>(text->Properties()->Item("TextMode")->Value()), 3);
  const auto outline = text->Graphics()->Item(0)->Vertices();
  ASSERT_EQ(outline->Count(), 8);  // each letter closed
  EXPECT_TRUE(outline->Item(3)->PenDown());
  EXPECT_FALSE(outline->Item(4)->PenDown());  // the move to the second letter

  EXPECT_EQ(AddHatch(f.drawing, ring)->InfoText(), "Hatch");
  EXPECT_EQ(AddDimension(f.drawing, {0, 0}, {4, 0}, 1)->Type(), "PWW25DimLin");
  EXPECT_EQ(AddSolid(f.drawing, {0, 0}, {1, 1})->Type(), "PWW40CUBE");
  EXPECT_THROW(plain->Properties()->Item("NoSuchProperty"), HostError);
}

TEST(GraphicSet, AddMakesGraphicsOutsideTheDrawing) {
  HostFixture f;
  const auto line = AddLine(f.drawing, {0, 0}, {1, 0});
  const auto set = f.drawing->GraphicSets()->Add("LocalSet", false);
  const auto made = set->Add(kContainerKind);
  made->Graphics()->Add(kChainKind)->Vertices()->Add(3, 4);
  set->AddGraphic(line);
  EXPECT_EQ(set->Count(), 2);
  EXPECT_EQ(set->Item(1), line);
  EXPECT_EQ(made->Index(), -1);
  EXPECT_EQ(made->Graphics()->Item(0)->Index(), 0);
  EXPECT_EQ(made->Graphics()->Item(0)->Graphics()->Parent(), made->Graphics()->Item(0));
  EXPECT_EQ(f.drawing->Graphics()->Count(), 1);
  EXPECT_THROW(set->Add(5), HostError);
  set->Clear();
  EXPECT_EQ(set->Count(), 0);
  EXPECT_EQ(line->Index(), 0);  // a referenced graphic stays in the drawing
  EXPECT_EQ(made->Graphics()->Item(0)->Vertices()->Item(0)->Y(), 4);  // still readable
}

TEST(GraphicSet, ArcThroughPointsInCounterClockwiseOrder) {
  HostFixture f;
  const auto set = f.drawing->GraphicSets()->Add();
  // Counter-clockwise: (1,0) over (0,1) to (-1,0).
  const auto ccw = set->AddArcThroughPoints(1, 0, 0, 0, 1, 0, -1, 0, 0);
  EXPECT_EQ(ccw->Type(), "ARC");
  auto a = ccw->GetArcData();
  EXPECT_NEAR(a[0], 0, 1e-12);
  EXPECT_NEAR(a[1], 0, 1e-12);
  EXPECT_NEAR(a[3], 1, 1e-12);
  EXPECT_NEAR(a[7], 0, 1e-12);
  EXPECT_NEAR(a[8], kPi, 1e-12);
  EXPECT_EQ(VertexAt(ccw, 1), (Vec2{1, 0}));
  EXPECT_EQ(VertexAt(ccw, 2), (Vec2{-1, 0}));
  EXPECT_NEAR(VertexAt(ccw, 3).y, 1, 1e-12);
  // Clockwise: (-1,0) over (0,1) to (1,0) is the same arc, start and end swapped.
  const auto cw = set->AddArcThroughPoints(-1, 0, 0, 0, 1, 0, 1, 0, 0);
  a = cw->GetArcData();
  EXPECT_NEAR(a[7], 0, 1e-12);
  EXPECT_NEAR(a[8], kPi, 1e-12);
  EXPECT_EQ(VertexAt(cw, 1), (Vec2{1, 0}));
  EXPECT_EQ(VertexAt(cw, 2), (Vec2{-1, 0}));
  // Through (0,-1) instead: the lower half, from pi to 2 pi.
  a = set->AddArcThroughPoints(-1, 0, 0, 0, -1, 0, 1, 0, 0)->GetArcData();
  EXPECT_NEAR(a[7], kPi, 1e-12);
  EXPECT_NEAR(a[8], 0, 1e-12);
  EXPECT_THROW(set->AddArcThroughPoints(0, 0, 0, 1, 1, 0, 2, 2, 0), HostError);
  EXPECT_EQ(set->Count(), 3);
  EXPECT_EQ(f.drawing->Graphics()->Count(), 0);
}

}  // namespace
}  // namespace pphatch::mem
