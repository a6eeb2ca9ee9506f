// Requests on hostile drawings: non-finite and huge coordinates, degenerate
// views and graphics, huge and deeply nested graphics, clicks far away or
// exactly on a vertex. Every request must keep the rules of
// fuzz/checked_request.h (an exact message or closed boundaries holding the
// click, the drawing untouched, one beep on failure, no overrun); where the
// sound answer is plain it is checked as well.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "geometry/tolerance.h"
#include "hostile/hostile_scene.h"

namespace pphatch::hostile {
namespace {

using mem::Into;
using mem::Vec2;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A 10 x 10 square with its lower-left corner at the origin.
void AddSquare(HostileScene& scene) { mem::AddRectangle(Into(scene.drawing), {0, 0}, {10, 10}); }

// The answer is the square of AddSquare and nothing else.
void ExpectSquare(const reliability::CheckedAnswer& checked) {
  EXPECT_EQ(checked.problem, "");
  ASSERT_TRUE(checked.answer.ok);
  EXPECT_EQ(checked.answer.contours.size(), 1u);
  EXPECT_NEAR(NetArea(checked.answer), 100.0, 1e-9);
}

// The answer is the message.
void ExpectMessage(const reliability::CheckedAnswer& checked) {
  EXPECT_EQ(checked.problem, "");
  EXPECT_FALSE(checked.answer.ok);
  EXPECT_EQ(checked.answer.error, reliability::kNoAreaText);
}

TEST(HostileCoordinates, NonFiniteGraphicsBesideASquareEndInAClearAnswer) {
  const std::vector<void (*)(HostileScene&)> extras = {
      [](HostileScene& s) { mem::AddLine(Into(s.drawing), {kNaN, 3}, {20, kNaN}); },
      [](HostileScene& s) { mem::AddLine(Into(s.drawing), {-kInf, 3}, {kInf, 4}); },
      [](HostileScene& s) { mem::AddCircle(Into(s.drawing), {kNaN, 3}, 2); },
      [](HostileScene& s) { mem::AddCircle(Into(s.drawing), {30, 3}, kInf); },
      [](HostileScene& s) { mem::AddPolyline(Into(s.drawing), {{20, 0, kNaN}, {30, 0, 0}}); },
  };
  for (std::size_t i = 0; i < extras.size(); ++i) {
    SCOPED_TRACE(i);
    HostileScene scene;
    AddSquare(scene);
    extras[i](scene);
    EXPECT_EQ(scene.Click(5, 5).problem, "");
  }
}

TEST(HostileCoordinates, NonFiniteClickGivesTheMessage) {
  HostileScene scene;
  AddSquare(scene);
  ExpectMessage(scene.ClickView(kNaN, 375, {kNaN, 5}));
  ExpectMessage(scene.ClickView(500, kInf, {5, kInf}));
  ExpectMessage(scene.ClickView(-kInf, 375, {-kInf, 5}));
}

TEST(HostileCoordinates, CoordinatesOf1e300) {
  HostileScene huge;
  mem::AddRectangle(Into(huge.drawing), {-1e300, -1e300}, {1e300, 1e300});
  EXPECT_EQ(huge.Click(0, 0, 1e-297).problem, "");
  EXPECT_EQ(huge.Click(1e300, 0, 1e-297).problem, "");

  // A graphic at 1e300 far from the square stretches the drawing's extents
  // (and so the leftward scans) without changing the square's area.
  HostileScene far;
  AddSquare(far);
  mem::AddLine(Into(far.drawing), {-1e300, 5}, {-1e300, 6});
  ExpectSquare(far.Click(5, 5));
}

TEST(HostileView, ZeroSizeInvertedAndNonFiniteViews) {
  for (const auto& size : std::vector<Vec2>{{0, 0}, {-1000, -750}, {kNaN, 750}, {kInf, kInf}}) {
    SCOPED_TRACE(size.x);
    HostileScene scene;
    AddSquare(scene);
    scene.view->SetSize(size.x, size.y);
    EXPECT_EQ(scene.Click(5, 5).problem, "");
  }
}

TEST(HostileGraphics, DegenerateGraphicsBoundNothing) {
  const auto addDegenerate = [](HostileScene& s) {
    mem::AddLine(Into(s.drawing), {1, 1}, {1, 1});
    mem::AddLine(Into(s.drawing), {6, 2}, {6, 2});
    mem::AddCircle(Into(s.drawing), {5, 5}, 0);
    mem::AddArc(Into(s.drawing), {5, 5}, 3, 1, 1);
    mem::AddArc(Into(s.drawing), {2, 7}, 0, 0, 3);
    mem::AddPolyline(Into(s.drawing), {{3, 3, 1}, {3, 3, 0}});
  };
  HostileScene alone;
  addDegenerate(alone);
  ExpectMessage(alone.Click(5, 4));

  HostileScene inSquare;
  AddSquare(inSquare);
  addDegenerate(inSquare);
  ExpectSquare(inSquare.Click(8.5, 4));
}

// A closed polygon of n vertices on a circle of radius 100 about the origin.
std::vector<Vec2> RoundRing(int n) {
  std::vector<Vec2> ring;
  for (int i = 0; i < n; ++i) {
    const double a = kTwoPi * i / n;
    ring.push_back({100 * std::cos(a), 100 * std::sin(a)});
  }
  return ring;
}

TEST(HostileGraphics, PolylinesOf100000Vertices) {
  constexpr int kVertices = 100000;
  HostileScene boundary;
  mem::AddPolygon(Into(boundary.drawing), RoundRing(kVertices));
  const reliability::CheckedAnswer round = boundary.Click(0, 0);
  EXPECT_EQ(round.problem, "");
  ASSERT_TRUE(round.answer.ok);
  EXPECT_NEAR(std::fabs(SignedArea(round.answer.contours.front())), kTwoPi / 2 * 1e4, 1);

  // An open zigzag of 100,000 vertices inside the square bounds nothing: the
  // square is the whole answer.
  HostileScene inside;
  AddSquare(inside);
  std::vector<Vec2> zigzag;
  for (int i = 0; i < kVertices; ++i) zigzag.push_back({2 + 6.0 * i / kVertices, i % 2 ? 8.0 : 2.0});
  mem::AddChain(Into(inside.drawing), zigzag);
  const reliability::CheckedAnswer answer = inside.Click(1, 5);
  EXPECT_EQ(answer.problem, "");
  ASSERT_TRUE(answer.answer.ok);
  EXPECT_NEAR(std::fabs(SignedArea(answer.answer.contours.front())), 100.0, 1e-9);
}

// The square at the bottom of `depth` nested containers of that type.
void AddNestedSquare(HostileScene& scene, const char* type, int depth) {
  mem::GraphicPtr container = mem::AddContainer(Into(scene.drawing), type);
  for (int i = 1; i < depth; ++i) container = mem::AddContainer(Into(container), type);
  mem::AddRectangle(Into(container), {0, 0}, {10, 10});
}

TEST(HostileNesting, GroupsNested10000Deep) {
  HostileScene shallow;
  AddNestedSquare(shallow, "GRAPHIC", 100);
  ExpectSquare(shallow.Click(5, 5));

  HostileScene deep;
  AddNestedSquare(deep, "GRAPHIC", 10000);
  EXPECT_EQ(deep.Click(5, 5).problem, "");
}

TEST(HostileNesting, InsertsNested10000Deep) {
  HostileScene one;
  AddNestedSquare(one, "INSERT", 1);
  ExpectSquare(one.Click(5, 5));

  HostileScene deep;
  AddNestedSquare(deep, "INSERT", 10000);
  EXPECT_EQ(deep.Click(5, 5).problem, "");
}

TEST(HostileClick, FarOutsideTheDrawing) {
  HostileScene scene;
  AddSquare(scene);
  ExpectMessage(scene.Click(1e6, 1e6));
  ExpectMessage(scene.Click(-1e6, 5));
}

TEST(HostileClick, ExactlyOnAVertex) {
  HostileScene scene;
  AddSquare(scene);
  // The lower-right corner: the line through it meets the left side at its
  // lower end, and the boundary holds its own corner.
  ExpectSquare(scene.Click(10, 0));
  // Corners with nothing of the square to their left along their line.
  EXPECT_EQ(scene.Click(0, 0).problem, "");
  EXPECT_EQ(scene.Click(0, 10).problem, "");
  EXPECT_EQ(scene.Click(10, 10).problem, "");
}

}  // namespace
}  // namespace pphatch::hostile
