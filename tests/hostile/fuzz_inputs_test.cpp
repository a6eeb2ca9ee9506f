// The checked-in fuzz inputs replayed as tests: the seeds of every target,
// and each input that once broke a rule (fuzz/regressions/<target>/<fault>).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/tool_run.h"
#include "formats/dxf_reader.h"
#include "formats/json_drawing.h"
#include "fuzz/checked_request.h"
#include "fuzz/drawing_decoder.h"

namespace pphatch::hostile {
namespace {

namespace fs = std::filesystem;

// The files of a folder of the source tree's fuzz/ folder, sorted; none when it is missing.
std::vector<fs::path> FuzzFiles(const std::string& folder) {
  std::vector<fs::path> files;
  const fs::path dir = fs::path(PPHATCH_SOURCE_DIR) / "fuzz" / folder;
  if (!fs::is_directory(dir)) return files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The request decoded from a file's bytes.
reliability::DecodedRequest DecodeFile(const fs::path& file) {
  const std::string bytes = cli_test::FileText(file);
  return reliability::DecodeRequest(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                    bytes.size());
}

TEST(FuzzInputs, RequestSeedsAndRegressionsKeepTheRules) {
  std::vector<fs::path> files = FuzzFiles("corpus/request");
  ASSERT_GE(files.size(), 6u);
  const std::vector<fs::path> regressions = FuzzFiles("regressions/request");
  files.insert(files.end(), regressions.begin(), regressions.end());
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    EXPECT_EQ(reliability::RunCheckedRequest(DecodeFile(file), reliability::kFuzzClock).problem, "");
  }
}

TEST(FuzzInputs, ReaderSeedsLoadAndRegressionsEndCleanly) {
  const auto expectClean = [](const fs::path& file, bool seed, auto read) {
    SCOPED_TRACE(file.string());
    try {
      read(cli_test::FileText(file), file.filename().string());
    } catch (const formats::ReadError& e) {
      EXPECT_FALSE(seed) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind(file.filename().string() + ": ", 0), 0u) << e.what();
    }
  };
  const std::vector<fs::path> dxfSeeds = FuzzFiles("corpus/dxf_reader");
  const std::vector<fs::path> jsonSeeds = FuzzFiles("corpus/json_drawing");
  ASSERT_GE(dxfSeeds.size(), 5u);
  ASSERT_GE(jsonSeeds.size(), 2u);
  for (const fs::path& f : dxfSeeds) expectClean(f, true, formats::ReadDxfText);
  for (const fs::path& f : jsonSeeds) expectClean(f, true, formats::ReadJsonText);
  for (const fs::path& f : FuzzFiles("regressions/dxf_reader")) expectClean(f, false, formats::ReadDxfText);
  for (const fs::path& f : FuzzFiles("regressions/json_drawing")) expectClean(f, false, formats::ReadJsonText);
}

}  // namespace
}  // namespace pphatch::hostile
