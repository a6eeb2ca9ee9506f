#include "formats/json_drawing.h"

#include <gtest/gtest.h>

#include <numbers>
#include <regex>

#include "cli/tool_run.h"
#include "formats/drawing_file.h"
#include "formats/dxf_text.h"
#include "formats/json_read.h"
#include "memhost/builders.h"
#include "memhost/snapshot.h"

namespace pphatch::formats {
namespace {

using namespace pphatch::mem;

// The snapshot without graphic IDs, which a reader gives out anew.
std::string Content(const MemDrawing& d) {
  return std::regex_replace(Snapshot(d), std::regex("#[0-9]+ "), "");
}

// A drawing with every kind of graphic, flag and property the host model knows.
std::shared_ptr<MemDrawing> EveryKind() {
  auto d = MemDrawing::Create();
  d->Props().Define("TileMode", 1.0);
  d->SetWorkplane(MemWorkplane::Identity()->MovedAlongNormal(0.5));
  AddLine(d, {0, 0}, {10, 0.1});
  AddFlaggedChain(d, {{0, 0}, {1, 0, false, false}, {1, 1, true, true}, {2, 2}}, false);
  AddRectangle(d, {0, 0}, {3, 2})->SetIgnored(true);
  AddPolyline(d, {{0, 0, 0.5}, {4, 0, 0}, {4, 4, -1}}, true);
  AddCurve(d, {{0, 0}, {1, 2}, {3, 1}}, "Cross");
  AddCircle(d, {1, 1}, 2);
  AddEllipse(d, {0, 0}, {3, 4}, 0.3);
  AddArc(d, {0, 0}, 1, 5.5, 0.25);
  AddEllipticalArc(d, {2, 2}, {0, 2}, 0.5, 1, 2);
  auto group = AddGroup(d);
  AddData(group);
  AddLine(group, {0, 0}, {1, 1});
  auto wall = AddWall(d);
  AddCosmeticChild(wall, "Gap", {{0, 0}, {5, 0}});
  AddDoubleLine(d);
  AddLine(AddMultiline(d), {0, 1}, {2, 1});
  AddCircle(AddDrafting(d), {5, 5}, 1);
  AddPolygon(AddRegion(d), {{0, 0}, {2, 0}, {1, 1}});
  auto block = NewBlock(*d);
  AddArc(block, {0, 0}, 1, 0, 1);
  AddInsert(d, block, {5, 5, 2, 0.3});
  AddText(d, 3, {{{0, 0}, {1, 0}, {0, 1}}, {{2, 0}, {3, 0}, {2, 1}}});
  AddIntProp(d, "Line_Width_Cosmetic", {{0, 0}, {4, 0}}, {{0, -1}, {4, -1}, {4, 1}, {0, 1}}, true);
  AddHatch(d, {{0, 0}, {1, 0}, {1, 1}}, "ANSI31");
  AddDimension(d, {0, 0}, {4, 0}, 1);
  AddPoint(d, {7, 7});
  AddSolid(d, {0, 0}, {1, 1});
  AddSurface(d, {{0, 0}, {1, 0}, {0, 1}});
  auto tilted = AddTyped(d, "PWW30CURVE", {{0, 0}, {1, 1}});
  tilted->SetPlane(MemWorkplane::Identity()->Tilted(0.25));
  SetProperty(tilted, "Thickness", 0.125);
  SetProperty(tilted, "Note", std::string("a/b ~ c"));
  tilted->SetInfoText("Line_Width_Cosmetic");
  tilted->SetVertex(1, {1, 1, 0.5, true, false});
  return d;
}

TEST(JsonDrawing, EveryKindSurvivesARoundTripThroughAFileOfAnyCaseExtension) {
  const auto original = EveryKind();
  const cli_test::ScratchDir dir;
  const std::string path = (dir.Path() / "plan.JSON").string();
  WriteJsonFile(*original, path);
  const LoadedDrawing loaded = ReadDrawingFile(path);
  EXPECT_EQ(Content(*loaded.drawing), Content(*original));
  EXPECT_EQ(WriteJsonText(*loaded.drawing), WriteJsonText(*original));
  EXPECT_EQ(loaded.summary.graphicCount, static_cast<int>(original->List()->Items().size()));
}

TEST(JsonDrawing, ShorthandInDegreesBulgesAndBlocksUsesTheBuilders) {
  // The examples' JSON drawings hold lines, walls, text, regions, chains,
  // rectangles and circles; these are the shorthand parts they lack.
  const auto loaded = ReadJsonText(R"({
    "blocks": {"door": [{"type": "line", "from": [0, 0], "to": [1, 0]}]},
    "graphics": [
      {"type": "arc", "centre": [1, 1], "radius": 2, "start_deg": 90, "end_deg": 180},
      {"type": "polyline", "points": [[0, 0, 1], {"x": 2, "y": 0}], "closed": false},
      {"type": "insert", "block": "door", "at": [10, 0], "scale": 2, "rotation_deg": 90}]})",
                                   "hand.json");
  const auto& items = loaded.drawing->List()->Items();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_DOUBLE_EQ(items[0]->Shape()->start, std::numbers::pi / 2);
  EXPECT_DOUBLE_EQ(items[0]->Shape()->end, std::numbers::pi);
  EXPECT_EQ(items[1]->VertexList().size(), 4u);  // the bulge adds centre and sense point
  const auto& door = items[2]->ChildItems().at(0)->VertexList();
  EXPECT_NEAR(door[1].x, 10, 1e-12);
  EXPECT_NEAR(door[1].y, 2, 1e-12);
}

// The message of the ReadError that reading `text` throws.
std::string ErrorOf(const std::string& text) {
  return testing::ReadErrorOf([&] { ReadJsonText(text, "plan.json"); });
}

TEST(JsonDrawing, FaultsNameTheFileAndTheSpot) {
  EXPECT_EQ(ErrorOf("{\n  \"graphics\": [\n    {\"type\": \"line\",}\n  ]\n}")
                .rfind("plan.json: line 3, column ", 0),
            0u);
  EXPECT_EQ(ErrorOf(R"({"graphics": [{"type": "line", "from": [0, 0], "to": [1, 1]},
                                     {"type": "circle", "centre": [0, 0], "radius": "2"}]})"),
            "plan.json: /graphics/1/radius: expected a number");
  EXPECT_EQ(ErrorOf(R"({"graphics": [{"type": "circle", "centre": [0, 0], "radious": 2}]})"),
            "plan.json: /graphics/0/radious: unknown key 'radious'; did you mean radius?");
  EXPECT_EQ(ErrorOf(R"({"graphics": [{"type": "insert", "block": "x", "at": [0, 0]}]})"),
            "plan.json: /graphics/0/block: no block 'x' (define it under \"blocks\" first)");
  EXPECT_EQ(ErrorOf(""), "plan.json: the file is empty");
  EXPECT_EQ(testing::ReadErrorOf([] { ReadDrawingFile("plan.svg"); }),
            "plan.svg: unknown drawing format (expected a .dxf or .json file)");
}

TEST(JsonDrawing, InsertsThatMultiplyBeyondTheLimitAreRefused) {
  // Block k inserts block k-1 twice. Reading blocks 0 to 4 makes 1, 4, 10,
  // 22 and 46 graphics (83 in all); the first insert of block 5 would add 47
  // more, beyond room for 100.
  std::string blocks = R"("b0": [{"type": "line", "from": [0, 0], "to": [1, 0]}])";
  for (int k = 1; k <= 6; ++k) {
    const std::string inner =
        R"({"type": "insert", "block": "b)" + std::to_string(k - 1) + R"(", "at": [0, 0]})";
    blocks += ", \"b" + std::to_string(k) + "\": [" + inner + ", " + inner + "]";
  }
  try {
    ReadJsonDrawing(Json::parse("{\"blocks\": {" + blocks + "}}"), 100);
    ADD_FAILURE() << "the insert bomb was read";
  } catch (const JsonContentError& e) {
    EXPECT_EQ(e.path, "/blocks/b5/0");
    EXPECT_EQ(e.what, "the drawing would hold more than 100 graphics");
  }
}

}  // namespace
}  // namespace pphatch::formats
