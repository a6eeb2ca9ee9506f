#include "formats/dxf_writer.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "memhost/builders.h"

namespace pphatch::formats {
namespace {

// What dxflib reports of a file: hatch loops as edge start points, polylines, layers.
struct Collected : DL_CreationAdapter {
  struct Hatch {
    std::string layer, pattern;
    bool solid = false;
    std::vector<Contour> loops;
  };
  std::vector<Hatch> hatches;
  std::vector<std::pair<std::string, Contour>> polylines;
  int lines = 0, circles = 0;

  void addHatch(const DL_HatchData& d) override {
    hatches.push_back({getAttributes().getLayer(), d.pattern, d.solid, {}});
  }
  void addHatchLoop(const DL_HatchLoopData&) override { hatches.back().loops.emplace_back(); }
  void addHatchEdge(const DL_HatchEdgeData& e) override {
    ASSERT_EQ(e.type, 1);
    hatches.back().loops.back().push_back({e.x1, e.y1});
  }
  void addPolyline(const DL_PolylineData& d) override {
    EXPECT_EQ(d.flags & 1, 1);
    polylines.push_back({getAttributes().getLayer(), {}});
  }
  void addVertex(const DL_VertexData& v) override { polylines.back().second.push_back({v.x, v.y}); }
  void addLine(const DL_LineData&) override { ++lines; }
  void addCircle(const DL_CircleData&) override { ++circles; }
};

const Contour kOuter{{0, 0}, {10, 0}, {10, 8}, {0, 8}, {0, 0}};
const Contour kIsland{{2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}};
const Contour kTriangle{{20, 0}, {26, 0}, {23, 5}};

// An area given by its contours alone, written as they are.
PickArea Area(std::vector<Contour> contours) {
  PickArea area;
  area.contours = std::move(contours);
  return area;
}

TEST(DxfWriter, HatchLoopsReadBackVertexByVertex) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("pphatch_writer_" + std::to_string(getpid()) + ".dxf")).string();
  auto source = mem::MemDrawing::Create();
  mem::AddRectangle(source, {0, 0}, {10, 8});
  mem::AddCircle(source, {3, 3}, 1);
  // A contour of two points cannot be filled and is left out.
  DxfWriteOptions solid;
  solid.fill.pattern = "SOLID";
  WriteDxfResult(path, {Area({kOuter, kIsland}), Area({kTriangle}), Area({{{0, 0}, {1, 1}}})},
                 source.get(), solid);
  Collected got;
  DL_Dxf dxf;
  const bool read = dxf.in(path, &got);
  std::filesystem::remove(path);
  ASSERT_TRUE(read);
  ASSERT_EQ(got.hatches.size(), 2u);
  EXPECT_EQ(got.hatches[0].layer, kHatchLayer);
  EXPECT_TRUE(got.hatches[0].solid);
  ASSERT_EQ(got.hatches[0].loops.size(), 2u);
  const Contour outerRing(kOuter.begin(), kOuter.end() - 1),
      islandRing(kIsland.begin(), kIsland.end() - 1);
  EXPECT_EQ(got.hatches[0].loops[0], outerRing);
  EXPECT_EQ(got.hatches[0].loops[1], islandRing);
  EXPECT_EQ(got.hatches[1].loops.at(0), kTriangle);
  ASSERT_EQ(got.polylines.size(), 3u);
  EXPECT_EQ(got.polylines[1].first, kBoundaryLayer);
  EXPECT_EQ(got.polylines[1].second, islandRing);
  EXPECT_EQ(got.lines, 4);
  EXPECT_EQ(got.circles, 1);
}

TEST(DxfWriter, UnwritablePathIsAWriteError) {
  EXPECT_THROW(WriteDxfResult("/nonexistent/dir/out.dxf", {Area({kTriangle})}), WriteError);
}

}  // namespace
}  // namespace pphatch::formats
