// Requests on DXF drawings written by other people and programs (floor
// plans, a site plan, a map, mechanical parts), when the project's checkout
// sits beside a folder of them (../shared/drawings); skipped elsewhere.
// Every click at random points must keep the rules of every request, and a
// few clicks whose areas were checked against GEOS must find them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <vector>

#include "formats/drawing_file.h"
#include "formats/errors.h"
#include "fuzz/checked_request.h"
#include "hostile/hostile_scene.h"
#include "memhost/view_setup.h"

namespace pphatch::hostile {
namespace {

namespace fs = std::filesystem;

constexpr int kClicksPerDrawing = 12;

fs::path DrawingsFolder() { return fs::path(PPHATCH_SOURCE_DIR) / ".." / "shared" / "drawings"; }

// The drawing and a view set up round the click, as the tool sets them up.
reliability::CheckedAnswer ClickIn(const std::shared_ptr<mem::MemDrawing>& drawing, Point2 click,
                                   double gap = 0) {
  const auto view = std::make_shared<mem::MemView>(drawing);
  mem::ShowAroundClick(*view, {click.x, click.y});
  const mem::Vec2 v = view->ToView({click.x, click.y});
  return reliability::RunCheckedRequest({drawing, view, click, {v.x, v.y}, gap});
}

TEST(RealDrawings, RandomClicksKeepTheRules) {
  if (!fs::is_directory(DrawingsFolder())) GTEST_SKIP() << "no folder " << DrawingsFolder();
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(DrawingsFolder())) {
    if (entry.path().extension() == ".dxf") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  int read = 0, found = 0, foundBridged = 0;
  for (const fs::path& file : files) {
    formats::LoadedDrawing loaded;
    try {
      loaded = formats::ReadDrawingFile(file.string());
    } catch (const formats::ReadError&) {
      continue;  // a file the readers refuse
    }
    ++read;
    const std::optional<mem::Box> box = loaded.drawing->Index().Bounds();
    ASSERT_TRUE(box.has_value()) << file;
    std::mt19937 rng(7);
    const auto within = [&rng](double lo, double hi) { return lo + (hi - lo) * (rng() / 4294967296.0); };
    for (int i = 0; i < kClicksPerDrawing; ++i) {
      const Point2 click{within(box->minX, box->maxX), within(box->minY, box->maxY)};
      const reliability::CheckedAnswer checked = ClickIn(loaded.drawing, click);
      EXPECT_EQ(checked.problem, "") << file.filename() << " click " << click.x << ", " << click.y;
      found += checked.answer.ok;
      // Gaps up to a thousandth of the drawing bridged: the same rules hold,
      // and an area found without bridges is still found.
      const double gap = 1e-3 * std::max(box->maxX - box->minX, box->maxY - box->minY);
      const reliability::CheckedAnswer bridged = ClickIn(loaded.drawing, click, gap);
      EXPECT_EQ(bridged.problem, "") << file.filename() << " click " << click.x << ", " << click.y
                                     << " gap " << gap;
      if (checked.answer.ok) {
        EXPECT_TRUE(bridged.answer.ok) << file.filename() << " click " << click.x << ", " << click.y;
      }
      foundBridged += bridged.answer.ok;
    }
  }
  EXPECT_GE(read, 8);
  EXPECT_GT(found, read * kClicksPerDrawing / 4);
  EXPECT_GE(foundBridged, found);
}

TEST(RealDrawings, AreasCheckedAgainstGeos) {
  if (!fs::is_directory(DrawingsFolder())) GTEST_SKIP() << "no folder " << DrawingsFolder();
  // Clicks whose areas scripts/compare-real-drawings found equal to GEOS's
  // face: a room whose walls lie on the drawing's bounding box, a flange's
  // section bounded by a line ending on an arc, a gear closed across gaps
  // of a few millionths.
  struct Known {
    const char* file;
    Point2 click;
    double area;
  };
  const Known known[] = {{"hal9k_floorplan.dxf", {223.5735357, 20.89092134}, 623792.0},
                         {"qcad_flange.dxf", {21.81418688, -82.1953028}, 114.9857},
                         {"f550_gear.dxf", {-68.0082506, 66.18302438}, 3667.854}};
  for (const Known& k : known) {
    const formats::LoadedDrawing loaded = formats::ReadDrawingFile((DrawingsFolder() / k.file).string());
    const reliability::CheckedAnswer checked = ClickIn(loaded.drawing, k.click);
    EXPECT_EQ(checked.problem, "") << k.file;
    ASSERT_TRUE(checked.answer.ok) << k.file;
    EXPECT_NEAR(NetArea(checked.answer), k.area, 1e-3 * k.area) << k.file;
  }
}

}  // namespace
}  // namespace pphatch::hostile
