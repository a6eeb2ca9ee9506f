// ezdxf reads back what the tool writes over a DXF drawing (the checks are
// in dxf_readback.py beside this file).
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

// Runs the read-back script with the tool, a scratch folder and `more`
// arguments; its output, and its exit status in `status`.
std::string RunReadBack(const std::vector<std::string>& more, int& status) {
  ScratchDir dir;
  const std::string script = std::string(PPHATCH_SOURCE_DIR) + "/tests/cli/dxf_readback.py";
  std::string command = "/usr/bin/python3 " + Quoted(script) + " " + Quoted(ToolPath()) + " " +
                        Quoted(dir.Path().string());
  for (const std::string& arg : more) command += " " + Quoted(arg);
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  std::string out;
  if (pipe == nullptr) return out;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  status = pclose(pipe);
  return out;
}

bool HaveEzdxf() { return std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0; }

TEST(DxfReadBack, EzdxfFindsTheSourceKeptAndHatchesWithTrueArcsOfTheJsonArea) {
  if (!HaveEzdxf()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3 (scripts/install-deps)";
  int status = -1;
  const std::string out = RunReadBack({}, status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out.rfind("ok: 3 hatches", 0), 0u) << out;
}

// Drawings written by other programs keep every entity, layer and block.
TEST(DxfReadBack, RealDrawingsKeepEverythingOfTheSource) {
  if (!HaveEzdxf()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3 (scripts/install-deps)";
  const std::string shared = std::string(PPHATCH_SOURCE_DIR) + "/../shared/drawings/";
  const std::vector<std::vector<std::string>> cases = {
      {shared + "qcad_flange.dxf", "0,0", "20,0"},
      {shared + "hal9k_floorplan.dxf", "5,5", "400,300"},
  };
  for (const auto& c : cases) {
    if (!fs::exists(c[0])) {
      std::cout << "skipped: " << c[0] << " is absent\n";
      continue;
    }
    SCOPED_TRACE(c[0]);
    int status = -1;
    const std::string out = RunReadBack(c, status);
    EXPECT_EQ(status, 0) << out;
  }
}

}  // namespace
}  // namespace pphatch::cli_test
