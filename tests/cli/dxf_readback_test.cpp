// ezdxf reads back what the tool writes over a DXF drawing (the checks are
// in dxf_readback.py beside this file): over its own drawing, whose hatches
// it checks in detail, and over drawings of other programs, which must keep
// every entity, layer and block.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "tool_run.h"

namespace pphatch::cli_test {
namespace {

TEST(DxfReadBack, EzdxfFindsTheSourceKeptAndTheHatchesOfTheJsonArea) {
  if (std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3 (scripts/install-deps)";
  }
  const std::string shared = std::string(PPHATCH_SOURCE_DIR) + "/../shared/drawings/";
  const std::vector<std::vector<std::string>> cases = {
      {},
      {shared + "qcad_flange.dxf", "0,0", "20,0"},
      {shared + "hal9k_floorplan.dxf", "5,5", "400,300"},
  };
  for (const auto& c : cases) {
    if (!c.empty() && !fs::exists(c[0])) {
      std::cout << "skipped: " << c[0] << " is absent\n";
      continue;
    }
    SCOPED_TRACE(c.empty() ? "own drawing" : c[0]);
    ScratchDir dir;
    std::vector<std::string> args{ToolPath(), dir.Path().string()};
    args.insert(args.end(), c.begin(), c.end());
    const ToolRun run = RunScript("dxf_readback.py", args);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    if (c.empty()) {
      EXPECT_EQ(run.out.rfind("ok: 3 hatches", 0), 0u) << run.out;
    }
  }
}

}  // namespace
}  // namespace pphatch::cli_test
