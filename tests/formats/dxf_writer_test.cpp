#include "formats/dxf_writer.h"

#include <gtest/gtest.h>

#include <iterator>
#include <regex>
#include <map>
#include <variant>

#include "cli/tool_run.h"
#include "formats/dxf_reader.h"
#include "memhost/builders.h"

namespace pphatch::formats {
namespace {

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
  const cli_test::ScratchDir dir;
  const std::string path = (dir.Path() / "areas.dxf").string();
  auto source = mem::MemDrawing::Create();
  mem::AddRectangle(source, {0, 0}, {10, 8});
  mem::AddCircle(source, {3, 3}, 1);
  // A contour of two points cannot be filled and is left out.
  DxfWriteOptions solid;
  solid.fill.pattern = "SOLID";
  WriteDxfResult(path, {Area({kOuter, kIsland}), Area({kTriangle}), Area({{{0, 0}, {1, 1}}})},
                 source.get(), solid);
  const LoadedDrawing back = ReadDxfFile(path);
  const std::string text = cli_test::FileText(path);
  // The reader keeps no layers: two hatches on the hatch layer, three polylines on the boundary one.
  const auto onLayer = [&text](const std::string& layer) {
    const std::regex group("\n  8\n" + layer + "\n");
    return std::distance(std::sregex_iterator(text.begin(), text.end(), group), std::sregex_iterator());
  };
  EXPECT_EQ(onLayer(kHatchLayer), 2);
  EXPECT_EQ(onLayer(kBoundaryLayer), 3);
  // Our reader makes each hatch loop a closed chain with the hatch's brush,
  // after the source's line and circle; then come the boundary polylines.
  std::vector<Contour> loops, boundaries;
  for (const auto& g : back.drawing->List()->Items()) {
    Contour ring;
    for (const auto& v : g->VertexList()) ring.push_back({v.x, v.y});
    if (g->InfoText() == "Hatch") {
      EXPECT_EQ(std::get<std::string>(*g->Props().Get("BrushStyle")), "Solid");
      loops.push_back(ring);
    } else if (g->IsClosed() && g->TypeText() != "CIRCLE") {
      boundaries.push_back(ring);
    }
  }
  // The source's rectangle (four lines) and circle, three loops, three polylines.
  EXPECT_EQ(back.summary.graphicsByType,
            (std::map<std::string, int>{{"CIRCLE", 1}, {"GRAPHIC", 4 + 3}, {"PWW50Polyline", 3}}));
  const std::vector<Contour> rings{kOuter, kIsland, {kTriangle[0], kTriangle[1], kTriangle[2], kTriangle[0]}};
  EXPECT_EQ(loops, rings);
  EXPECT_EQ(boundaries, rings);
}

}  // namespace
}  // namespace pphatch::formats
