// The DXF reader loads every drawing the project knows (examples, fuzz
// seeds, binary samples, a generated sampler of every entity kind, and the real drawings
// beside the checkout when they are there) to exactly the drawing recorded
// in dxf_load_digests.txt: graphics, vertices, properties, summary and
// report, as a digest of their canonical text. A change of the reader that
// changes any loaded drawing fails here; a deliberate one updates the file
// with the line the failure prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>

#include "formats/dxf_emit.h"
#include "formats/dxf_parse.h"
#include "formats/dxf_reader.h"
#include "formats/dxf_text.h"
#include "formats/errors.h"
#include "memhost/drawing.h"
#include "memhost/snapshot.h"

namespace pphatch::formats {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = PPHATCH_SOURCE_DIR;

// 64-bit FNV-1a of the text.
std::uint64_t Digest(const std::string& text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

// Occurrences of `word` at the start of a line of `text` (after blanks).
int CountLines(const std::string& text, const std::string& word) {
  int count = 0;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    const std::size_t first = line.find_first_not_of(' ');
    count += first != std::string::npos && line.compare(first, word.size(), word) == 0;
  }
  return count;
}

// What a drawing loaded to: counts for the reader of a failure, and the digest.
std::string Describe(const LoadedDrawing& loaded) {
  std::string text = mem::Snapshot(*loaded.drawing);
  const LoadSummary& s = loaded.summary;
  text += "graphics " + std::to_string(s.graphicCount) + " " + std::to_string(s.graphicsAtAnyDepth);
  for (const auto& [type, count] : s.graphicsByType) text += " " + type + "=" + std::to_string(count);
  if (s.extents) {
    char box[160];
    std::snprintf(box, sizeof box, " extents %.17g %.17g %.17g %.17g", s.extents->minX,
                  s.extents->minY, s.extents->maxX, s.extents->maxY);
    text += box;
  }
  for (const std::string& line : s.report.Lines()) text += "\nreport " + line;
  char digest[17];
  std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(Digest(text)));
  return "graphics=" + std::to_string(CountLines(text, "[")) +
         " vertices=" + std::to_string(CountLines(text, "vertex ")) +
         " report=" + std::to_string(s.report.Lines().size()) + " digest=" + digest;
}

// A sampler of every entity kind the reader knows, on visible, hidden and
// frozen layers (named in another case), in model and paper space, on tilted
// and mirrored planes, with blocks placed in rows, nested, scaled unevenly,
// turned about a base point, unknown, inserting each other, nested beyond the
// reader's limit of 64 (N1 inserts N2 ... inserts N70), or without usable spline knots.
std::string Sampler() {
  using testing::DxfFile;
  std::string deep;
  for (int k = 1; k <= 70; ++k) {
    deep += "0 BLOCK 2 N" + std::to_string(k) + " 10 0 20 0 0 INSERT 2 N" + std::to_string(k + 1) +
            " 10 1 20 0 0 ENDBLK ";
  }
  return testing::Pairs("0 SECTION 2 HEADER 9 $TILEMODE 70 1 0 ENDSEC") + DxfFile(
      "0 LINE 8 0 39 5 10 0 20 0 30 0 11 10 21 0 31 0 "
      "0 CIRCLE 8 A 10 5 20 5 30 0 40 2 "
      "0 ARC 10 5 20 5 30 0 40 3 50 30 51 300 210 0 220 0 230 -1 "
      "0 ELLIPSE 10 1 20 1 30 0 11 4 21 0 31 0 40 0.5 41 0 42 3.14159 "
      "0 ELLIPSE 10 9 20 1 30 0 11 0 21 2 31 0 40 0.25 "
      "0 LWPOLYLINE 90 3 70 1 38 2 10 0 20 0 42 0.5 10 4 20 0 10 4 20 4 "
      "0 POLYLINE 66 1 70 1 10 0 20 0 30 1 0 VERTEX 10 1 20 1 30 0 42 -0.25 0 VERTEX 10 3 20 1 30 0 "
      "0 VERTEX 10 3 20 3 30 0 0 SEQEND "
      "0 POLYLINE 66 1 70 8 0 VERTEX 10 1 20 1 30 1 70 32 0 VERTEX 10 2 20 5 30 2 70 32 0 SEQEND "
      "0 SPLINE 70 8 71 3 72 8 73 4 40 0 40 0 40 0 40 0 40 1 40 1 40 1 40 1 "
      "10 0 20 0 30 0 10 1 20 2 30 0 10 3 20 2 30 0 10 4 20 0 30 0 "
      "0 SPLINE 70 8 71 3 74 3 11 0 21 0 31 0 11 2 21 3 31 0 11 5 21 0 31 0 "
      "0 INSERT 2 SQUARE 10 20 20 0 30 0 41 2 42 2 50 30 70 2 71 3 44 5 45 6 "
      "0 INSERT 2 MISSING 10 0 20 0 "
      "0 HATCH 10 0 20 0 30 0 2 SOLID 70 1 91 1 92 2 72 1 73 1 93 3 10 0 20 0 42 0.3 10 2 20 0 "
      "10 2 20 2 97 0 "
      "0 DIMENSION 70 0 10 0 20 5 30 0 13 0 23 0 33 0 14 5 24 0 34 0 "
      "0 LEADER 10 0 20 0 30 0 10 2 20 2 30 0 "
      "0 POINT 10 7 20 7 30 0 "
      "0 SOLID 10 0 20 0 30 0 11 1 21 0 31 0 12 0 22 1 32 0 13 1 23 1 33 0 "
      "0 3DFACE 10 0 20 0 30 0 11 1 21 0 31 0 12 1 22 1 32 0 13 1 23 1 33 0 "
      "0 3DSOLID 8 0 0 MTEXT 8 0 1 note 0 TEXT 1 label "
      "0 LINE 8 off 10 0 20 0 11 1 21 1 0 LINE 8 FROZEN 10 0 20 0 11 1 21 1 "
      "0 LINE 67 1 10 0 20 0 11 1 21 1 "
      // Planes tilted and upright (seen edge-on), an ellipse turned upwards,
      // a rational quarter circle, a hatch of an edge loop with an arc.
      "0 CIRCLE 10 0 20 0 30 0 40 2 210 0 220 0.6 230 0.8 0 CIRCLE 10 0 20 0 30 0 40 2 210 1 220 0 230 0 "
      "0 LWPOLYLINE 90 2 10 0 20 0 42 1 10 2 20 0 210 0 220 0.6 230 0.8 "
      "0 ELLIPSE 10 1 20 1 30 0 11 0 21 4 31 0 40 0.5 41 0 42 1.5707963267948966 "
      "0 SPLINE 70 12 71 2 72 6 73 3 40 0 40 0 40 0 40 1 40 1 40 1 41 1 41 0.7071067811865476 41 1 "
      "10 1 20 0 30 0 10 1 20 1 30 0 10 0 20 1 30 0 "
      "0 HATCH 10 0 20 0 30 0 2 ANSI31 70 0 91 1 92 1 93 2 72 1 10 0 20 0 11 2 21 0 "
      "72 2 10 1 20 0 40 1 50 0 51 180 73 1 97 0 75 0 "
      // Seen from below (extrusion -z): a half circle and a quarter ellipse run clockwise.
      "0 LWPOLYLINE 90 2 70 0 10 0 20 0 42 1 10 2 20 0 210 0 220 0 230 -1 "
      "0 ELLIPSE 10 0 20 0 30 0 11 4 21 0 31 0 40 0.5 41 0 42 1.5707963267948966 210 0 220 0 230 -1 "
      "0 INSERT 2 B1 10 10 20 10 41 0.5 42 0.5 50 30 0 INSERT 2 OUTER 10 0 20 10 41 2 42 2 "
      "0 INSERT 2 INNER 10 0 20 0 41 2 42 1 0 INSERT 2 ONE 10 0 20 0 0 INSERT 2 N1 10 0 20 0 "
      "0 SPLINE 70 0 71 2 72 2 40 0 40 1 10 0 20 0 10 1 20 1 10 2 20 0",
      "0 BLOCK 2 SQUARE 10 0 20 0 30 0 0 LWPOLYLINE 90 4 70 1 10 0 20 0 10 1 20 0 10 1 20 1 "
      "10 0 20 1 0 CIRCLE 10 0.5 20 0.5 40 0.25 0 ENDBLK "
      "0 BLOCK 2 B1 10 1 20 2 30 0 0 LINE 10 1 20 2 11 3 21 2 0 ENDBLK "
      "0 BLOCK 2 INNER 10 0 20 0 0 CIRCLE 10 1 20 0 40 1 0 ENDBLK "
      "0 BLOCK 2 OUTER 10 0 20 0 0 INSERT 2 INNER 10 5 20 0 50 90 0 ENDBLK "
      "0 BLOCK 2 ONE 10 0 20 0 0 LINE 10 0 20 0 11 1 21 0 0 INSERT 2 TWO 10 1 20 0 0 ENDBLK "
      "0 BLOCK 2 TWO 10 0 20 0 0 INSERT 2 ONE 10 1 20 0 0 ENDBLK " + deep,
      "0 LAYER 2 OFF 70 0 62 -7 0 LAYER 2 FROZEN 70 1 62 7");
}

// The drawings to check: name -> loader.
std::map<std::string, std::function<LoadedDrawing()>> Drawings() {
  std::map<std::string, std::function<LoadedDrawing()>> drawings;
  const auto addFolder = [&drawings](const fs::path& dir, const std::string& prefix) {
    if (!fs::is_directory(dir)) return;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().extension() != ".dxf") continue;
      const std::string path = entry.path().string();
      drawings[prefix + entry.path().filename().string()] = [path] { return ReadDxfFile(path); };
    }
  };
  addFolder(kSource / "examples", "examples/");
  addFolder(kSource / "fuzz" / "corpus" / "dxf_reader", "seeds/");
  // Binary files ezdxf saved from text ones: each loads as its text file does.
  addFolder(kSource / "tests" / "formats" / "data", "data/");
  addFolder(kSource / ".." / "shared" / "drawings", "shared/");
  drawings["generated/sampler"] = [] { return ReadDxfText(Sampler(), "sampler.dxf"); };
  return drawings;
}

TEST(DxfLoadDigest, EveryKnownDrawingLoadsAsRecorded) {
  std::map<std::string, std::string> expected;
  std::ifstream in(kSource / "tests" / "formats" / "dxf_load_digests.txt");
  ASSERT_TRUE(in) << "no dxf_load_digests.txt";
  for (std::string name, rest; in >> name && std::getline(in, rest);) {
    expected[name] = rest.substr(rest.find_first_not_of(' '));
  }
  int checked = 0;
  for (const auto& [name, load] : Drawings()) {
    const auto known = expected.find(name);
    if (known == expected.end()) {
      ADD_FAILURE() << "not recorded:\n" << name << " " << Describe(load());
      continue;
    }
    EXPECT_EQ(Describe(load()), known->second) << "loads differently: " << name;
    ++checked;
  }
  EXPECT_GE(checked, 8);
}

// The entities read and placed by two threads load, wherever the halves
// meet, to the drawing (IDs included) and the findings of one pass. Points
// put before or after the sampler's entities move the middle over each of
// its records; an insert with an attribute and a stray SEQEND go first, a
// hatch whose boundary cannot be read (a finding of the reader) last, and a
// block with a warning is placed at both ends.
TEST(DxfLoadDigest, EntitiesReadInHalvesLoadAsInOnePass) {
  // Big loads differ too much for a full comparison to be read: where they part.
  const auto expectSame = [](const std::string& halves, const std::string& onePass) {
    const auto [h, o] = std::mismatch(halves.begin(), halves.end(), onePass.begin(), onePass.end());
    if (h == halves.end() && o == onePass.end()) return;
    const std::size_t at = static_cast<std::size_t>(h - halves.begin());
    ADD_FAILURE() << "in halves:\n" << halves.substr(at, 200) << "\nin one pass:\n" << onePass.substr(at, 200);
  };
  const auto load = [](const std::string& text, std::size_t halvesFrom) {
    const DxfPairs pairs = SplitDxfPairs(text, "sampler.dxf");
    DxfDocument document = ParseDxf(pairs, "sampler.dxf", halvesFrom);
    const auto drawing = mem::MemDrawing::Create();
    EmitDxfDocument(document, drawing, document.report, "sampler.dxf", halvesFrom);
    std::string loaded = mem::Snapshot(*drawing);
    for (const std::string& line : document.report.Lines()) loaded += "\nreport " + line;
    return loaded;
  };
  std::string sampler = Sampler();
  // A block whose spline is left out, placed at both ends: its warning is given once.
  sampler.insert(sampler.find("BLOCKS\n") + 7,
                 testing::Pairs("0 BLOCK 2 BAD 10 0 20 0 0 SPLINE 70 0 71 3 0 ENDBLK"));
  const std::size_t first = sampler.find("ENTITIES\n") + 9;
  sampler.insert(first, testing::Pairs("0 INSERT 66 1 2 SQUARE 10 0 20 0 0 ATTRIB 1 tag 10 0 20 0 "
                                       "0 SEQEND 0 SEQEND 0 INSERT 2 BAD 10 0 20 0"));
  sampler.insert(sampler.find("0\nENDSEC\n", first),
                 testing::Pairs("0 INSERT 2 BAD 10 0 20 0 "
                                "0 HATCH 2 SOLID 70 1 91 1 92 2 72 0 73 1 93 3 10 0 20 0"));
  const std::size_t last = sampler.find("0\nENDSEC\n", first);
  std::string points;
  for (int count = 0; count < 140; count += 2) {
    SCOPED_TRACE(std::to_string(count) + " points");
    for (const std::size_t at : {first, last}) {
      std::string text = sampler;
      text.insert(at, points);
      expectSame(load(text, 0), load(text, std::numeric_limits<std::size_t>::max()));
    }
    points += testing::Pairs("0 POINT 10 7 20 7 0 POINT 10 8 20 8");
  }
  // A second half of more entities than are moved behind the first at a time.
  while (points.size() < 200000) points += points;
  std::string many = sampler;
  many.insert(last, points);
  expectSame(load(many, 0), load(many, std::numeric_limits<std::size_t>::max()));
}

}  // namespace
}  // namespace pphatch::formats
