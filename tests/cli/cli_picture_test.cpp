// The annotated picture: title, scale bar, ticks, numbered picks with a
// legend, faint drawing text, and a frame that leaves far outliers out.
// The SVG is read back with an XML parser.
#include <string>

#include <gtest/gtest.h>

#include "formats/dxf_text.h"
#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

using formats::testing::DxfFile;
using formats::testing::Pairs;

// What svg_facts.py reads from the picture; no object when it cannot.
nlohmann::json SvgFacts(const fs::path& svg) {
  const ToolRun run = RunScript("svg_facts.py", {svg.string()});
  return run.status == 0 ? nlohmann::json::parse(run.out, nullptr, false) : nlohmann::json();
}

// Twenty circles of radius 4 on a 100 x 80 grid, a label, and two lines
// thousands of units away.
std::string Cluster() {
  std::string entities;
  for (int i = 0; i < 5; ++i) {
    for (int j = 0; j < 4; ++j) {
      entities +=
          "0 CIRCLE 8 0 10 " + std::to_string(10 + 20 * i) + " 20 " + std::to_string(10 + 20 * j) + " 40 4 ";
    }
  }
  return Pairs("0 SECTION 2 HEADER 9 $INSUNITS 70 4 0 ENDSEC") +
         DxfFile(entities + "0 TEXT 8 0 10 30 20 40 40 2 1 PLATE-A "
                            "0 LINE 8 0 10 9000 20 9000 11 9100 21 9000 "
                            "0 LINE 8 0 10 -7000 20 8000 11 -7000 21 8100");
}

// True when the two [x, y, w, h] boxes overlap.
bool Overlap(const nlohmann::json& a, const nlohmann::json& b) {
  return a[0].get<double>() < b[0].get<double>() + b[2].get<double>() &&
         b[0].get<double>() < a[0].get<double>() + a[2].get<double>() &&
         a[1].get<double>() < b[1].get<double>() + b[3].get<double>() &&
         b[1].get<double>() < a[1].get<double>() + a[3].get<double>();
}

TEST(CliPicture, FramesTheDenseGraphicsNumbersPicksAndListsThemInTheLegend) {
  ScratchDir dir;
  const std::string drawing = dir.Write("cluster.dxf", Cluster()).string();
  // Seven picks crowded into and around one circle, and one beside the grid.
  std::vector<std::string> args{"pick", drawing, "-o", "p.svg", "--at", "50,50", "--at", "49,50",
                                "--at", "51,50", "--at", "50,49", "--at", "50,51", "--at", "49,49",
                                "--at", "51,51", "--at", "0,40"};
  const ToolRun run = RunTool(args, dir);
  EXPECT_EQ(run.status, 1) << run.err;
  const nlohmann::json facts = SvgFacts(dir.Path() / "p.svg");
  ASSERT_TRUE(facts.is_object()) << "the SVG does not parse";

  EXPECT_EQ(facts["note"], "2 graphics far outside, not shown");
  EXPECT_EQ(facts["drawing_shapes"], 20);
  // A drawing of 100 units fitted into 1000 pixels: nothing drawn beyond the picture.
  EXPECT_LT(facts["drawing_max"].get<double>(), facts["width"].get<double>());

  ASSERT_EQ(facts["legend"].size(), 8u);
  const std::string first = facts["legend"][0];
  EXPECT_EQ(first.rfind("1  (50, 50)  area 50.", 0), 0u) << first;  // 16 pi less the chords
  EXPECT_NE(first.find("mm²"), std::string::npos) << first;
  const std::string last = facts["legend"][7];
  EXPECT_EQ(last, "8  (0, 40)  no area: Operation can not be performed with these objects.");

  const std::string title = facts["title"];
  EXPECT_EQ(title.rfind("cluster.dxf  20", 0), 0u) << title;  // the file, then the date
  EXPECT_EQ(facts["scale_bar"], "20 mm");
  EXPECT_GE(facts["ticks_x"].size(), 3u);
  EXPECT_GE(facts["ticks_y"].size(), 3u);
  EXPECT_EQ(facts["texts"], nlohmann::json::array({"PLATE-A"}));

  const auto& numbers = facts["numbers"];
  ASSERT_EQ(numbers.size(), 8u);
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    for (std::size_t k = i + 1; k < numbers.size(); ++k) {
      EXPECT_FALSE(Overlap(numbers[i], numbers[k])) << i + 1 << " and " << k + 1;
    }
  }
}

TEST(CliPicture, TicksAtCoordinatesFarBeyondTheSpanEnd) {
  ScratchDir dir;
  // A corner of two lines 1024 long, 1e18 from the origin: there the tick
  // number (coordinate / step) is beyond 2^53, where adding one to it
  // changes nothing, so ticks must be counted, not stepped.
  const std::string drawing =
      dir.Write("far.dxf", DxfFile("0 LINE 8 0 10 1e18 20 1e18 11 1e18 21 1000000000000001024 "
                                   "0 LINE 8 0 10 1e18 20 1e18 11 1000000000000001024 21 1e18"))
          .string();
  const ToolRun run = RunTool({"pick", drawing, "--at", "1e18,1e18", "-o", "far.svg"}, dir);
  EXPECT_EQ(run.status, 1) << run.err;
  const nlohmann::json facts = SvgFacts(dir.Path() / "far.svg");
  ASSERT_TRUE(facts.is_object());
  EXPECT_GE(facts["ticks_x"].size(), 1u);
  EXPECT_LE(facts["ticks_x"].size(), 12u);
}

}  // namespace
}  // namespace pphatch::cli_test
