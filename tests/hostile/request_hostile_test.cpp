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
constexpr double kRulesOnly = 0, kMessage = -1;
constexpr int kVertices = 100000;

// A 10 x 10 square with its lower-left corner at the origin.
void AddSquare(HostileScene& scene) { mem::AddRectangle(Into(scene.drawing), {0, 0}, {10, 10}); }

// The square at the bottom of `depth` nested containers of that type.
void AddNestedSquare(HostileScene& scene, const char* type, int depth) {
  mem::GraphicPtr container = mem::AddContainer(Into(scene.drawing), type);
  for (int i = 1; i < depth; ++i) container = mem::AddContainer(Into(container), type);
  mem::AddRectangle(Into(container), {0, 0}, {10, 10});
}

// Degenerate graphics: zero-length lines, zero circles and arcs, a bulge on a repeated point.
void AddDegenerate(HostileScene& s) {
  mem::AddLine(Into(s.drawing), {1, 1}, {1, 1});
  mem::AddLine(Into(s.drawing), {6, 2}, {6, 2});
  mem::AddCircle(Into(s.drawing), {5, 5}, 0);
  mem::AddArc(Into(s.drawing), {5, 5}, 3, 1, 1);
  mem::AddArc(Into(s.drawing), {2, 7}, 0, 0, 3);
  mem::AddPolyline(Into(s.drawing), {{3, 3, 1}, {3, 3, 0}});
}

// A click at `at` with the view centred there at `zoom`, and its answer: the
// one boundary of that area, the message, or only the rules kept.
struct Click {
  Vec2 at;
  double zoom, area;
};

// A scene: the square or not, what `build` adds, and its clicks (none: a
// click in the square's middle that must keep the rules).
struct Scene {
  const char* what;
  bool square;
  void (*build)(HostileScene&);
  std::vector<Click> clicks = {};
};

const Scene kScenes[] = {
    {"a square", true, nullptr,
     {{{1e6, 1e6}, 1, kMessage}, {{-1e6, 5}, 1, kMessage},
      // The lower-right corner: the line through it meets the left side at
      // its lower end, and the boundary holds its own corner; the others
      // have nothing of the square to their left along their line.
      {{10, 0}, 1, 100}, {{0, 0}, 1, kRulesOnly}, {{0, 10}, 1, kRulesOnly}, {{10, 10}, 1, kRulesOnly}}},
    {"NaN line", true, [](HostileScene& s) { mem::AddLine(Into(s.drawing), {kNaN, 3}, {20, kNaN}); }},
    {"infinite line", true, [](HostileScene& s) { mem::AddLine(Into(s.drawing), {-kInf, 3}, {kInf, 4}); }},
    {"NaN circle", true, [](HostileScene& s) { mem::AddCircle(Into(s.drawing), {kNaN, 3}, 2); }},
    {"infinite circle", true, [](HostileScene& s) { mem::AddCircle(Into(s.drawing), {30, 3}, kInf); }},
    {"NaN bulge", true,
     [](HostileScene& s) { mem::AddPolyline(Into(s.drawing), {{20, 0, kNaN}, {30, 0, 0}}); }},
    {"a square of 1e300", false,
     [](HostileScene& s) { mem::AddRectangle(Into(s.drawing), {-1e300, -1e300}, {1e300, 1e300}); },
     {{{0, 0}, 1e-297, kRulesOnly}, {{1e300, 0}, 1e-297, kRulesOnly}}},
    // A graphic at 1e300 stretches the extents (and so the leftward scans).
    {"a line 1e300 away", true,
     [](HostileScene& s) { mem::AddLine(Into(s.drawing), {-1e300, 5}, {-1e300, 6}); },
     {{{5, 5}, 1, 100}}},
    {"zero view", true, [](HostileScene& s) { s.view->SetSize(0, 0); }},
    {"inverted view", true, [](HostileScene& s) { s.view->SetSize(-1000, -750); }},
    {"NaN view", true, [](HostileScene& s) { s.view->SetSize(kNaN, 750); }},
    {"infinite view", true, [](HostileScene& s) { s.view->SetSize(kInf, kInf); }},
    {"degenerate graphics alone", false, AddDegenerate, {{{5, 4}, 1, kMessage}}},
    {"degenerate graphics in the square", true, AddDegenerate, {{{8.5, 4}, 1, 100}}},
    {"a polygon of 100,000 vertices on a circle of radius 100", false,
     [](HostileScene& s) {
       std::vector<Vec2> ring;
       for (int i = 0; i < kVertices; ++i) {
         ring.push_back({100 * std::cos(kTwoPi * i / kVertices), 100 * std::sin(kTwoPi * i / kVertices)});
       }
       mem::AddPolygon(Into(s.drawing), ring);
     },
     {{{0, 0}, 1, 0.5 * kVertices * 1e4 * std::sin(kTwoPi / kVertices)}}},
    {"an open zigzag of 100,000 vertices in the square", true,
     [](HostileScene& s) {
       std::vector<Vec2> zigzag;
       for (int i = 0; i < kVertices; ++i) zigzag.push_back({2 + 6.0 * i / kVertices, i % 2 ? 8.0 : 2.0});
       mem::AddChain(Into(s.drawing), zigzag);
     },
     {{{1, 5}, 1, 100}}},
    {"groups 100 deep", false, [](HostileScene& s) { AddNestedSquare(s, "GRAPHIC", 100); },
     {{{5, 5}, 1, 100}}},
    {"groups 10,000 deep", false, [](HostileScene& s) { AddNestedSquare(s, "GRAPHIC", 10000); }},
    {"one insert", false, [](HostileScene& s) { AddNestedSquare(s, "INSERT", 1); }, {{{5, 5}, 1, 100}}},
    {"inserts 10,000 deep", false, [](HostileScene& s) { AddNestedSquare(s, "INSERT", 10000); }},
    // An insert whose copy the host cannot make is passed over (not its island).
    {"an insert that cannot be copied", true,
     [](HostileScene& s) {
       const auto block = mem::NewBlock(*s.drawing);
       mem::AddRectangle(Into(block), {0, 0}, {1, 1});
       mem::AddInsert(Into(s.drawing), block, {.x = 2, .y = 2});
       s.drawing->Faults().Fail("HostGraphic.Duplicate");
     },
     {{{5, 5}, 1, 100}}},
    // Fault: after spike removal the square was handed back for a click on the line outside it.
    {"a click on a line dangling outside the square", true,
     [](HostileScene& s) { mem::AddLine(Into(s.drawing), {10, 5}, {20, 5}); }, {{{15, 5}, 10, kRulesOnly}}},
    // Fault: the NaN sweep became a step count of the host's pick outline (undefined behaviour).
    {"a polyline arc run from a NaN point", true,
     [](HostileScene& s) { mem::AddPolyline(Into(s.drawing), {{kNaN, 22, 1}, {20, 25, 0}}); }},
};

TEST(HostileRequests, EveryClickKeepsTheRulesAndPlainAnswersHold) {
  for (const Scene& scene : kScenes) {
    HostileScene s;
    if (scene.square) AddSquare(s);
    if (scene.build) scene.build(s);
    const std::vector<Click> clicks =
        scene.clicks.empty() ? std::vector<Click>{{{5, 5}, 1, kRulesOnly}} : scene.clicks;
    for (const Click& c : clicks) {
      SCOPED_TRACE(testing::Message() << scene.what << ", click " << c.at.x << ", " << c.at.y);
      const reliability::CheckedAnswer checked = s.Click(c.at.x, c.at.y, c.zoom);
      EXPECT_EQ(checked.problem, "");
      if (c.area == kMessage) {
        EXPECT_FALSE(checked.answer.ok);
        EXPECT_EQ(checked.answer.error, reliability::kNoAreaText);
      } else if (c.area > 0) {
        ASSERT_TRUE(checked.answer.ok);
        EXPECT_EQ(checked.answer.contours.size(), 1u);
        EXPECT_NEAR(NetArea(checked.answer), c.area, 1e-9 * c.area);
      }
    }
  }
}

TEST(HostileRequests, NonFiniteClickGivesTheMessage) {
  HostileScene scene;
  AddSquare(scene);
  for (const auto& [vx, vy, click] : {std::tuple{kNaN, 375.0, Vec2{kNaN, 5}},
                                      std::tuple{500.0, kInf, Vec2{5, kInf}},
                                      std::tuple{-kInf, 375.0, Vec2{-kInf, 5}}}) {
    const reliability::CheckedAnswer checked = scene.ClickView(vx, vy, {click.x, click.y});
    EXPECT_EQ(checked.problem, "");
    EXPECT_FALSE(checked.answer.ok);
    EXPECT_EQ(checked.answer.error, reliability::kNoAreaText);
  }
}

}  // namespace
}  // namespace pphatch::hostile
