#include "curves/extract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "memhost/builders.h"
#include "support/chains.h"
#include "geometry/tolerance.h"

namespace pphatch {
namespace {

using mem::Vec2;

constexpr double E = 1e-6;
constexpr double kNear = 1e-9;

// Every field of two records equal.
bool Same(const CurveRecord& a, const CurveRecord& b) {
  return a.PointCount == b.PointCount && a.X == b.X && a.Y == b.Y && a.Closed == b.Closed &&
         a.SumX == b.SumX && a.SumY == b.SumY && a.Kind == b.Kind && a.MaxX == b.MaxX &&
         a.MaxY == b.MaxY && a.MinX == b.MinX && a.MinY == b.MinY && a.Used == b.Used &&
         a.TypeName == b.TypeName && a.ExactCircle == b.ExactCircle && a.Radius == b.Radius &&
         a.CenterX == b.CenterX && a.CenterY == b.CenterY;
}

class Extract : public ::testing::Test {
 protected:
  // Extracts the graphic into record_, which must succeed, and checks the
  // bounds, sums and Closed mark against the points.
  void Take(const mem::GraphicPtr& g) {
    ASSERT_TRUE(ExtractCurve(g, record_));
    const CurveRecord& r = record_;
    ASSERT_GT(r.PointCount, 0);
    const auto xs = r.X.begin(), ys = r.Y.begin();
    const int n = r.PointCount;
    EXPECT_NEAR(r.MinX, *std::min_element(xs, xs + n), kNear);
    EXPECT_NEAR(r.MaxX, *std::max_element(xs, xs + n), kNear);
    EXPECT_NEAR(r.MinY, *std::min_element(ys, ys + n), kNear);
    EXPECT_NEAR(r.MaxY, *std::max_element(ys, ys + n), kNear);
    EXPECT_NEAR(r.SumX, std::accumulate(xs, xs + n, 0.0), kNear * (1 + std::fabs(r.SumX)));
    EXPECT_NEAR(r.SumY, std::accumulate(ys, ys + n, 0.0), kNear * (1 + std::fabs(r.SumY)));
    EXPECT_EQ(r.Closed, std::fabs(r.X[0] - r.X[n - 1]) <= E && std::fabs(r.Y[0] - r.Y[n - 1]) <= E);
  }
  std::pair<double, double> At(int i) const { return {record_.X[i], record_.Y[i]}; }
  static std::pair<double, double> Vertex(const mem::GraphicPtr& g, int i) {
    return {g->VertexList()[i].x, g->VertexList()[i].y};
  }
  void ExpectPoint(int i, double x, double y) {
    ASSERT_LT(i, record_.PointCount);
    EXPECT_NEAR(record_.X[i], x, kNear) << "point " << i;
    EXPECT_NEAR(record_.Y[i], y, kNear) << "point " << i;
  }
  // Every point on the ellipse about c with major axis `major` and ratio 0.5.
  void ExpectOnEllipse(Vec2 c, Vec2 major) {
    const double a = mem::Length(major), ux = major.x / a, uy = major.y / a;
    for (int i = 0; i < record_.PointCount; ++i) {
      const double dx = record_.X[i] - c.x, dy = record_.Y[i] - c.y;
      const double u = (dx * ux + dy * uy) / a, v = (dy * ux - dx * uy) / (0.5 * a);
      EXPECT_NEAR(u * u + v * v, 1, kNear) << "point " << i;
    }
  }

  ToleranceScope tolerance_{E};
  std::shared_ptr<mem::MemDrawing> drawing_ = mem::MemDrawing::Create();
  CurveRecord record_;
};

TEST_F(Extract, TurnedEllipsesLieOnTheirCurve) {
  // Turned by 30 degrees, and a hair off vertical (an axis direction that
  // must not be rounded to vertical).
  for (const double turn : {Degrees(30), Degrees(90) + 3e-5}) {
    const Vec2 major{4 * std::cos(turn), 4 * std::sin(turn)};
    record_.ExactCircle = true;
    Take(mem::AddEllipse(drawing_, {0, 0}, major, 0.5));
    ASSERT_EQ(record_.PointCount, 61);
    ExpectPoint(0, major.x, major.y);
    ExpectPoint(15, -0.5 * major.y, 0.5 * major.x);
    ExpectPoint(30, -major.x, -major.y);
    ExpectOnEllipse({0, 0}, major);
    EXPECT_EQ(record_.TypeName, "GRAPHIC");
    EXPECT_TRUE(record_.ExactCircle);  // not written for an ellipse
    EXPECT_NEAR(record_.Radius, 4, kNear);
  }
}

TEST_F(Extract, ArcsRunBetweenTheHostsEndVertices) {
  struct Case {
    double start, end;  // degrees
    int steps;
    double from;  // first sampling angle
  };
  // The last row is a whole circle: 60 steps of 6 degrees from angle 0, closed exactly.
  for (const Case& c : {Case{0, 3, 5, 0}, Case{0, 90, 20, 0}, Case{0, 180, 30, 0},
                        Case{350, 10, 10, -10}, Case{120, 300, 30, 120}, Case{0, 360, 60, 0}}) {
    SCOPED_TRACE(c.end);
    const bool whole = c.end == 360;
    const auto arc = whole ? mem::AddCircle(drawing_, {1, 1}, 2)
                           : mem::AddArc(drawing_, {1, 1}, 2, Degrees(c.start), Degrees(c.end));
    Take(arc);
    ASSERT_EQ(record_.PointCount, c.steps + 1);
    const double step = (c.start > c.end ? c.end + 360 - c.start : c.end - c.start) / c.steps;
    for (int i = 0; i <= c.steps; ++i) {
      const double t = Degrees(c.from + i * step);
      ExpectPoint(i, 1 + 2 * std::cos(t), 1 + 2 * std::sin(t));
    }
    // The ends are the host's own end vertices, exactly; a circle's start is (3, 1).
    EXPECT_EQ(At(0), (whole ? std::pair{3.0, 1.0} : Vertex(arc, 1)));
    EXPECT_EQ(At(c.steps), whole ? At(0) : Vertex(arc, 2));
    EXPECT_EQ(record_.Closed && record_.ExactCircle, whole);
    EXPECT_EQ(record_.TypeName, "CIRCLE");
    EXPECT_EQ((std::vector<double>{record_.Radius, record_.CenterX, record_.CenterY}),
              (std::vector<double>{2, 1, 1}));
  }
  const Vec2 centre{1, 2}, major{3 * std::cos(Degrees(30)), 3 * std::sin(Degrees(30))};
  for (const auto& [start, end] : {std::pair{20.0, 250.0}, std::pair{300.0, 60.0}}) {
    const auto arc = mem::AddEllipticalArc(drawing_, centre, major, 0.5, Degrees(start), Degrees(end));
    Take(arc);
    ExpectPoint(0, Vertex(arc, 1).first, Vertex(arc, 1).second);
    ExpectPoint(record_.PointCount - 1, Vertex(arc, 2).first, Vertex(arc, 2).second);
    ExpectOnEllipse(centre, major);
    EXPECT_EQ(record_.TypeName, "GRAPHIC");
  }
}

TEST_F(Extract, ChainsByTypeBrushAndTextMode) {
  // Child 0 reaches x = 1, child 1 x = 2; child 2, the "GRAPHIC", x = 3.
  const auto build = [this](const std::string& type, const std::string& brush) {
    auto g = mem::AddContainer(drawing_, type);
    mem::SetProperty(g, "BrushStyle", brush);
    mem::AddTyped(g, "DATA", {{0, 0}, {1, 0}});
    mem::AddTyped(g, "DATA", {{0, 0}, {2, 0}});
    mem::AddChain(g, {{0, 0}, {3, 0}, {3, 3}, {0, 0}});
    return g;
  };
  const auto text = mem::AddText(drawing_, 3, {{{0, 0}, {1, 0}, {1, 2}}, {{2, 0}, {3, 0}, {3, 2}}});
  struct Case {
    mem::GraphicPtr graphic;
    double maxX;
    int points;
    const char* type;
  };
  const Case cases[] = {
      {build("PWW30CURVE", "Solid"), 3, 4, "PWW30CURVE"},
      {build("PWW30CURVE", "Hatch"), 2, 2, "PWW30CURVE"},
      {build("PWW50Polyline", "Hatch"), 1, 2, "PWW50Polyline"},
      {mem::AddCurve(drawing_, {{0, 0}, {5, 0}}, "Hatch"), 5, 0, "PWW30CURVE"},
      {text, 3, 8, "TEXT"},
      {mem::AddChain(drawing_, {{0, 0}, {4, 0}, {4, 3}, {E / 2, -E / 2}}), 4, 4, "GRAPHIC"},
      // Bounds hold for coordinates far from the origin too.
      {mem::AddChain(drawing_, {{2e7, 3e7}, {2e7 + 1, 3e7 + 2}}), 2e7 + 1, 2, "GRAPHIC"},
      {mem::AddChain(drawing_, {{-2e8, -3e8}, {-2e8 - 1, -3e8 - 2}}), -2e8, 2, "GRAPHIC"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.graphic->TypeText() + " " + std::to_string(c.maxX));
    Take(c.graphic);
    EXPECT_EQ(record_.MaxX, c.maxX);
    EXPECT_TRUE(c.points == 0 || record_.PointCount == c.points) << record_.PointCount;
    EXPECT_EQ(record_.TypeName, c.type);
  }
  // The text's outlines are read for text mode 3 (a number or a text), else the record stays.
  mem::SetProperty(text, "TextMode", std::string("3"));
  Take(text);
  EXPECT_EQ(record_.TypeName, "TEXT");
  mem::SetProperty(text, "TextMode", 2.0);
  const CurveRecord before = record_;
  Take(text);
  EXPECT_TRUE(Same(record_, before));
}

}  // namespace
}  // namespace pphatch
