// ezdxf reads back what the tool writes over a DXF drawing (the checks are
// in dxf_readback.py beside this file).
#include <gtest/gtest.h>

#include <cstdlib>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

TEST(DxfReadBack, EzdxfFindsTheSourceKeptAndHatchesWithTrueArcsOfTheJsonArea) {
  if (std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3 (scripts/install-deps)";
  }
  ScratchDir dir;
  const std::string script = std::string(PPHATCH_SOURCE_DIR) + "/tests/cli/dxf_readback.py";
  const std::string command = "/usr/bin/python3 " + Quoted(script) + " " + Quoted(ToolPath()) +
                              " " + Quoted(dir.Path().string()) + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  EXPECT_EQ(pclose(pipe), 0) << out;
  EXPECT_EQ(out.rfind("ok: 3 hatches", 0), 0u) << out;
}

}  // namespace
}  // namespace pphatch::cli_test
