// Requests on hostile drawings: non-finite and huge coordinates, degenerate
// views and graphics, huge and deeply nested graphics, clicks far away or
// exactly on a vertex. Every request must keep the rules (a clean answer,
// the drawing untouched, one beep on failure), and where the sound answer
// is plain it is checked too.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <cstdio>
#include <limits>
#include <vector>

#include "hostile/hostile_scene.h"

namespace pphatch::hostile {
namespace {

using mem::Into;
using mem::Vec2;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A 10 x 10 square with its lower-left corner at the origin.
void AddSquare(HostileScene& scene) { mem::AddRectangle(Into(scene.drawing), {0, 0}, {10, 10}); }

TEST(HostileRequest, Deep) {
  for (int kind = 0; kind < 2; ++kind) {
    RequestFixture f;
    mem::GraphicPtr g = kind ? mem::AddContainer(Into(f.drawing), "INSERT") : mem::AddGroup(Into(f.drawing));
    for (int i=0;i<10000;++i) g = kind ? mem::AddContainer(Into(g), "INSERT") : mem::AddGroup(Into(g));
    mem::AddRectangle(Into(g), {0,0},{10,10});
    std::printf("built %d\n", kind); std::fflush(stdout);
    f.Look({5,5}, 1);
    auto o = f.Pick(5,5);
    std::printf("deep %d: ok=%d area=%g\n", kind, o.ok, o.ok ? o.NetArea() : 0.0); std::fflush(stdout);
  }
}

TEST(HostileRequest, Explore) {
  struct Case { const char* name; std::function<void(HostileScene&)> build; double x, y, zoom; };
  std::vector<Case> cases = {
    {"nan line", [](HostileScene& s){ AddSquare(s); mem::AddLine(Into(s.drawing), {kNaN, 3}, {20, kNaN}); }, 5, 5, 1},
    {"inf line", [](HostileScene& s){ AddSquare(s); mem::AddLine(Into(s.drawing), {-kInf, 3}, {kInf, 4}); }, 5, 5, 1},
    {"nan circle", [](HostileScene& s){ AddSquare(s); mem::AddCircle(Into(s.drawing), {kNaN, 3}, 2); }, 5, 5, 1},
    {"inf radius", [](HostileScene& s){ AddSquare(s); mem::AddCircle(Into(s.drawing), {30, 3}, kInf); }, 5, 5, 1},
    {"1e300 square", [](HostileScene& s){ mem::AddRectangle(Into(s.drawing), {-1e300, -1e300}, {1e300, 1e300}); }, 0, 0, 1e-297},
    {"1e300 far", [](HostileScene& s){ AddSquare(s); mem::AddLine(Into(s.drawing), {-1e300, 5}, {-1e300, 6}); }, 5, 5, 1},
    {"degenerate only", [](HostileScene& s){ mem::AddLine(Into(s.drawing), {1,1},{1,1}); mem::AddCircle(Into(s.drawing), {5,5}, 0); mem::AddArc(Into(s.drawing), {5,5}, 3, 1, 1);}, 5, 4, 1},
    {"degenerate in square", [](HostileScene& s){ AddSquare(s); mem::AddLine(Into(s.drawing), {1,1},{1,1}); mem::AddCircle(Into(s.drawing), {5,5}, 0); mem::AddArc(Into(s.drawing), {5,5}, 3, 1, 1);}, 8, 4, 1},
    {"far click", [](HostileScene& s){ AddSquare(s); }, 1e6, 1e6, 1},
    {"vertex click", [](HostileScene& s){ AddSquare(s); }, 0, 0, 1},
    {"vertex click 2", [](HostileScene& s){ AddSquare(s); }, 10, 10, 1},
    {"edge click", [](HostileScene& s){ AddSquare(s); }, 0, 5, 1},
    {"vertex 10,0", [](HostileScene& s){ AddSquare(s); }, 10, 0, 1},
    {"vertex 0,10", [](HostileScene& s){ AddSquare(s); }, 0, 10, 1},
    {"right edge", [](HostileScene& s){ AddSquare(s); }, 10, 5, 1},
    {"zero view", [](HostileScene& s){ AddSquare(s); s.view->SetSize(0,0);}, 5, 5, 1},
    {"inverted view", [](HostileScene& s){ AddSquare(s); s.view->SetSize(-1000,-750);}, 5, 5, 1},
    {"nan view", [](HostileScene& s){ AddSquare(s); s.view->SetSize(kNaN,750);}, 5, 5, 1},
    {"200k circle", [](HostileScene& s){ std::vector<Vec2> r; for (int i=0;i<200000;++i){ double a = i*6.283185307179586/200000; r.push_back({100*std::cos(a),100*std::sin(a)});} mem::AddPolygon(Into(s.drawing), r);}, 0, 0, 1},
    {"200k zigzag", [](HostileScene& s){ AddSquare(s); std::vector<Vec2> r; for (int i=0;i<200000;++i){ r.push_back({2 + 6.0*i/200000, 2 + (i%2)*6.0});} mem::AddChain(Into(s.drawing), r);}, 1, 5, 1},
    {"groups 10000", [](HostileScene& s){ mem::GraphicPtr g = mem::AddGroup(Into(s.drawing)); for (int i=0;i<10000;++i) g = mem::AddGroup(Into(g)); mem::AddRectangle(Into(g), {0,0},{10,10}); }, 5, 5, 1},
    {"inserts 10000", [](HostileScene& s){ mem::GraphicPtr g = mem::AddContainer(Into(s.drawing), "INSERT"); for (int i=0;i<10000;++i) g = mem::AddContainer(Into(g), "INSERT"); mem::AddRectangle(Into(g), {0,0},{10,10}); }, 5, 5, 1},
  };
  for (auto& c : cases) {
    HostileScene s; c.build(s); std::printf("%s...\n", c.name); std::fflush(stdout);
    auto r = s.Click(c.x, c.y, c.zoom);
    std::printf("%s: ok=%d problem='%s' contours=%zu area=%g\n", c.name, r.answer.ok, r.problem.c_str(), r.answer.contours.size(), r.answer.ok ? NetArea(r.answer) : 0.0);
  }
}

}  // namespace
}  // namespace pphatch::hostile
