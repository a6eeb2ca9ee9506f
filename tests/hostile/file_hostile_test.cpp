// Hostile drawing files: blocks that insert themselves, blocks nested
// 10,000 deep, truncated DXF, binary garbage, empty files. A file that can
// be read loads into a finite drawing; one that cannot ends the tool with
// exit status 2 and a message naming the file and the problem.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cli/tool_run.h"
#include "formats/dxf_reader.h"
#include "formats/json_drawing.h"

namespace pphatch::hostile {
namespace {

using cli_test::RunTool;
using cli_test::ScratchDir;
using cli_test::ToolRun;

// DXF text from group code and value pairs, with the EOF marker.
std::string Dxf(const std::vector<std::pair<int, std::string>>& pairs) {
  std::string text;
  for (const auto& [code, value] : pairs) text += std::to_string(code) + "\n" + value + "\n";
  return text + "0\nEOF\n";
}

// The pairs of a LINE from (x1, y1) to (x2, y2).
std::vector<std::pair<int, std::string>> Line(int x1, int y1, int x2, int y2) {
  return {{0, "LINE"}, {8, "0"}, {10, std::to_string(x1)}, {20, std::to_string(y1)},
          {11, std::to_string(x2)}, {21, std::to_string(y2)}};
}

// The pairs of an INSERT of the block at the origin.
std::vector<std::pair<int, std::string>> Insert(const std::string& block) {
  return {{0, "INSERT"}, {8, "0"}, {2, block}, {10, "0"}, {20, "0"}};
}

// A block definition around its entities.
std::vector<std::pair<int, std::string>> Block(
    const std::string& name, const std::vector<std::vector<std::pair<int, std::string>>>& entities) {
  std::vector<std::pair<int, std::string>> pairs = {
      {0, "BLOCK"}, {8, "0"}, {2, name}, {70, "0"}, {10, "0"}, {20, "0"}};
  for (const auto& e : entities) pairs.insert(pairs.end(), e.begin(), e.end());
  pairs.push_back({0, "ENDBLK"});
  return pairs;
}

// A drawing of the blocks and top-level entities.
std::string Drawing(const std::vector<std::vector<std::pair<int, std::string>>>& blocks,
                    const std::vector<std::vector<std::pair<int, std::string>>>& entities) {
  std::vector<std::pair<int, std::string>> pairs = {{0, "SECTION"}, {2, "BLOCKS"}};
  for (const auto& b : blocks) pairs.insert(pairs.end(), b.begin(), b.end());
  pairs.insert(pairs.end(), {{0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
  for (const auto& e : entities) pairs.insert(pairs.end(), e.begin(), e.end());
  pairs.push_back({0, "ENDSEC"});
  return Dxf(pairs);
}

// The four sides of the square (0,0)-(10,10) as lines.
std::vector<std::vector<std::pair<int, std::string>>> SquareLines() {
  return {Line(0, 0, 10, 0), Line(10, 0, 10, 10), Line(10, 10, 0, 10), Line(0, 10, 0, 0)};
}

// True when one of the report's warnings contains the text.
bool Warns(const formats::LoadedDrawing& loaded, const std::string& text) {
  for (const std::string& w : loaded.summary.report.warnings) {
    if (w.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(HostileDxf, BlockInsertingItselfIsCut) {
  // The reader may leave out the inner INSERT that closes the cycle (the
  // outer one then holds the block's line) or every INSERT of the block; it
  // says so, and the square is loaded either way.
  auto entities = SquareLines();
  entities.push_back(Insert("LOOP"));
  const std::string direct = Drawing({Block("LOOP", {Line(1, 1, 2, 2), Insert("LOOP")})}, entities);
  const formats::LoadedDrawing loaded = formats::ReadDxfText(direct, "direct.dxf");
  EXPECT_GE(loaded.summary.graphicCount, 4);
  EXPECT_LE(loaded.summary.graphicsAtAnyDepth, 6);
  EXPECT_TRUE(Warns(loaded, "inserts itself"));

  const std::string indirect =
      Drawing({Block("A", {Line(1, 1, 2, 2), Insert("B")}), Block("B", {Line(3, 3, 4, 4), Insert("A")})},
              {Insert("A")});
  const formats::LoadedDrawing viaOther = formats::ReadDxfText(indirect, "indirect.dxf");
  // At most INSERT A holding A's line and INSERT B, which holds B's line.
  EXPECT_LE(viaOther.summary.graphicsAtAnyDepth, 4);
  EXPECT_TRUE(Warns(viaOther, "inserts itself"));
}

TEST(HostileDxf, SelfInsertingDrawingStillHatches) {
  auto entities = SquareLines();
  entities.push_back(Insert("LOOP"));
  ScratchDir dir;
  dir.Write("loop.dxf", Drawing({Block("LOOP", {Line(1, 1, 2, 2), Insert("LOOP")})}, entities));
  const ToolRun run = RunTool({"pick", "loop.dxf", "--at", "5,5"}, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  const auto picks = cli_test::JsonLines(run.out);
  ASSERT_EQ(picks.size(), 1u);
  EXPECT_NEAR(cli_test::HatchedArea(picks[0]), 100.0, 1e-6);
}

TEST(HostileDxf, BlocksNested10000Deep) {
  constexpr int kDepth = 10000;
  std::vector<std::vector<std::pair<int, std::string>>> blocks = {Block("B0", SquareLines())};
  for (int i = 1; i < kDepth; ++i) {
    blocks.push_back(Block("B" + std::to_string(i), {Insert("B" + std::to_string(i - 1))}));
  }
  const std::string text = Drawing(blocks, {Insert("B" + std::to_string(kDepth - 1))});
  // The reader loads every level, or leaves the deepest out and says so, or
  // refuses the file by name; it must not run out of stack on the way.
  try {
    const formats::LoadedDrawing loaded = formats::ReadDxfText(text, "deep.dxf");
    EXPECT_EQ(loaded.summary.graphicCount, 1);
    if (loaded.summary.graphicsAtAnyDepth != kDepth + 4) {
      EXPECT_LT(loaded.summary.graphicsAtAnyDepth, kDepth);
      EXPECT_TRUE(Warns(loaded, "nested"));
    }
  } catch (const formats::ReadError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("deep.dxf: ", 0), 0u) << e.what();
  }
}

// Runs a pick on the file and expects exit status 2 with a message that
// names the file and contains `problem`.
void ExpectUnreadable(const std::string& file, const std::string& content, const std::string& problem) {
  SCOPED_TRACE(file);
  ScratchDir dir;
  dir.Write(file, content);
  const ToolRun run = RunTool({"pick", file, "--at", "5,5"}, dir);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find(file), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(problem), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

TEST(HostileFiles, UnreadableFilesEndWithStatus2NamingTheFile) {
  const std::string whole = Drawing({}, SquareLines());
  ExpectUnreadable("truncated.dxf", whole.substr(0, whole.size() / 2), "truncated");
  ExpectUnreadable("cut_pair.dxf", "0\nSECTION\n2\n", "ends");
  ExpectUnreadable("empty.dxf", "", "empty");
  ExpectUnreadable("blank.dxf", "\n\n  \n", "empty");
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
  ExpectUnreadable("garbage.dxf", garbage, "binary");
  ExpectUnreadable("binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + garbage, "byte");
  ExpectUnreadable("empty.json", "", "empty");
  ExpectUnreadable("truncated.json", "{\"graphics\": [{\"type\": \"GRAPHIC\", \"vertices\": [[0,0],", "line");
  ExpectUnreadable("garbage.json", garbage, "garbage.json: ");
}

}  // namespace
}  // namespace pphatch::hostile
