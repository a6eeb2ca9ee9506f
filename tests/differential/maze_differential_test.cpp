// Whole requests compared with GEOS in seeded random mazes: hundreds of
// walls on a turned grid, where the face around a click winds far from it,
// and either reaches out through an opening in the outer wall or stays
// shut in. Walls are drawn as a real drawing holds them: long lines that
// the walls across them end on (T-junctions off by rounding, the grid being
// turned), single lines, polylines through several corners, and nested,
// scaled and turned inserts; round columns stand on some corners. Half the mazes are not turned, so that walls lie along
// the edges of the tiles a search reads round a click a third of a cell
// from a corner. Clicks fall at random and there.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

#include "differential/drawing_chords.h"
#include "differential/geos_faces.h"
#include "differential/request_areas.h"
#include "support/request_fixture.h"

namespace pphatch::differential {
namespace {

constexpr uint32_t kMazes = 8;
constexpr int kCells = 97;                     // per side
constexpr double kCell = 96.0 / kCells;        // not a power of two
constexpr double kWallChance = 0.5;            // per inner wall
constexpr double kColumnChance = 0.04;         // per corner
constexpr int kRandomClicks = 20, kCornerClicks = 10;

class MazeMaker {
 public:
  MazeMaker(uint32_t seed, std::shared_ptr<mem::MemDrawing> drawing, bool leaky, bool turned)
      : rng_(seed), drawing_(std::move(drawing)), leaky_(leaky), turn_(turned ? Uniform(0, 0.4) : 0) {}

  void Make() {
    // A unit wall, and a wall of two halves that meet in its middle.
    const mem::GraphicPtr unit = mem::NewBlock(*drawing_);
    mem::AddLine(mem::Into(unit), {0, 0}, {1, 0});
    halves_ = mem::NewBlock(*drawing_);
    mem::AddInsert(mem::Into(halves_), unit, {0, 0, 0.5, 0});
    mem::AddInsert(mem::Into(halves_), unit, {0.5, 0, 0.5, 0});
    // across[j][i]: the wall from grid point (i, j) to (i + 1, j); up[i][j]:
    // from (i, j) to (i, j + 1). The outer walls of a leaky maze have gaps.
    const double outerChance = leaky_ ? 0.9 : 1;
    std::vector<std::vector<bool>> across(kCells + 1, std::vector<bool>(kCells));
    std::vector<std::vector<bool>> up(kCells + 1, std::vector<bool>(kCells));
    for (int j = 0; j <= kCells; ++j) {
      const double chance = j == 0 || j == kCells ? outerChance : kWallChance;
      for (int i = 0; i < kCells; ++i) {
        across[j][i] = Uniform(0, 1) < chance;
        up[j][i] = Uniform(0, 1) < chance;
      }
    }
    for (int k = 0; k <= kCells; ++k) {
      const auto x = static_cast<double>(k);
      DrawRuns(across[k], [x](int i) { return Vec2{static_cast<double>(i), x}; });
      DrawRuns(up[k], [x](int j) { return Vec2{x, static_cast<double>(j)}; });
    }
    for (int j = 0; j <= kCells; ++j) {
      for (int i = 0; i <= kCells; ++i) {
        if (Uniform(0, 1) < kColumnChance) mem::AddCircle(mem::Into(drawing_), At({double(i), double(j)}), 0.3 * kCell);
      }
    }
  }

  /// True when the drawing point lies inside the maze's outer wall.
  bool Inside(Vec2 p) const {
    const Vec2 d{p.x - 50, p.y - 50};
    const double x = (50 + d.x * std::cos(turn_) + d.y * std::sin(turn_) - 2) / kCell;
    const double y = (50 - d.x * std::sin(turn_) + d.y * std::cos(turn_) - 2) / kCell;
    return x > 0 && x < kCells && y > 0 && y < kCells;
  }

  /// The drawing point of a grid point (in cells).
  Vec2 At(Vec2 grid) const {
    const Vec2 p{2 + kCell * grid.x - 50, 2 + kCell * grid.y - 50};
    return {50 + p.x * std::cos(turn_) - p.y * std::sin(turn_), 50 + p.x * std::sin(turn_) + p.y * std::cos(turn_)};
  }

 private:
  double Uniform(double lo, double hi) { return lo + (hi - lo) * (rng_() / 4294967296.0); }

  // Draws each run of present walls between grid points point(i) and
  // point(i + 1), in one of the ways a drawing holds walls.
  template <class Point>
  void DrawRuns(const std::vector<bool>& present, Point point) {
    const mem::Into into(drawing_);
    for (size_t i = 0; i < present.size();) {
      if (!present[i]) {
        ++i;
        continue;
      }
      size_t end = i;
      while (end < present.size() && present[end]) ++end;
      const double way = Uniform(0, 1);
      const Vec2 a = At(point(static_cast<int>(i))), b = At(point(static_cast<int>(end)));
      if (way < 0.5) {
        mem::AddLine(into, a, b);
      } else if (way < 0.65) {
        std::vector<Vec2> corners;
        for (size_t k = i; k <= end; ++k) corners.push_back(At(point(static_cast<int>(k))));
        mem::AddChain(into, corners);
      } else {
        for (size_t k = i; k < end; ++k) {
          const Vec2 p = At(point(static_cast<int>(k))), q = At(point(static_cast<int>(k + 1)));
          if (way < 0.82) {
            mem::AddLine(into, p, q);
          } else {
            const Vec2 d = q - p;
            mem::AddInsert(into, halves_, {p.x, p.y, std::hypot(d.x, d.y), std::atan2(d.y, d.x)});
          }
        }
      }
      i = end;
    }
  }

  std::mt19937 rng_;
  std::shared_ptr<mem::MemDrawing> drawing_;
  const bool leaky_;
  const double turn_;
  mem::GraphicPtr halves_;
};

// Every click away from the walls must fail where GEOS finds no bounded
// face around it (naming the free ends where its face leaks, when it lies
// inside the maze), and otherwise return the area of the GEOS face that
// holds it.
TEST(MazeDifferential, FacesThatWindFarFromTheClickMatchGeos) {
  int total = 0, inFaces = 0, outside = 0;
  for (uint32_t seed = 1; seed <= kMazes; ++seed) {
    RequestFixture f;
    MazeMaker maze(seed, f.drawing, seed % 2 == 1, seed % 4 < 2);
    maze.Make();
    f.Look({50, 50}, 12);
    const DrawingChords chords(*f.drawing, kOnCurve);
    const GeosFaces faces(ChainPoints(chords), kOnCurve);
    std::vector<Vec2> clicks = RandomClicks(seed, chords, kClearance, kRandomClicks);
    std::mt19937 rng(seed);
    for (int n = 0; n < kCornerClicks; ++n) {
      const Vec2 corner{static_cast<double>(rng() % kCells), static_cast<double>(rng() % kCells)};
      const Vec2 click = maze.At(corner + Vec2{1.0 / 3, 1.0 / 3});
      if (chords.Clearance(click) >= kClearance) clicks.push_back(click);
    }
    for (const Vec2 click : clicks) {
      ++total;
      const PickOutcome out = f.Pick(click.x, click.y);
      const std::vector<const GeosFaces::Face*> holding = faces.Holding(click);
      std::ostringstream ours;
      ours << std::setprecision(17) << "maze " << seed << " click (" << click.x << ", " << click.y
           << "): ours " << (out.ok ? "finds " : "fails ") << out.NetArea();
      if (holding.empty()) {
        ++outside;
        EXPECT_FALSE(out.ok) << ours.str() << ", GEOS finds no face";
        // Inside, the click's face leaks through the outer wall, where
        // walls end free: the diagnosis names such ends.
        if (maze.Inside(click)) {
          EXPECT_TRUE(f.hatch->Diagnosis().cause == PickDiagnosis::Cause::kOpen &&
                      !f.hatch->Diagnosis().freeEnds.empty())
              << ours.str();
        }
        continue;
      }
      ++inFaces;
      const GeosFaces::Face& face = *holding.front();
      EXPECT_TRUE(out.ok && AllClosed(out, kClosingGap)) << ours.str();
      EXPECT_NEAR(out.NetArea(), face.area, kRelative * face.area + chords.Allowance(face.box))
          << ours.str() << ", GEOS with " << face.holes << " holes";
    }
  }
  std::printf("[ mazes        ] %d clicks, %d inside a bounded face, %d outside every face\n", total,
              inFaces, outside);
  // Both answers must be common for the comparison to mean something.
  EXPECT_GT(inFaces, total / 4);
  EXPECT_GT(outside, total / 12);
}

}  // namespace
}  // namespace pphatch::differential
