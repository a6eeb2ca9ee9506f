#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include "cli/tool_run.h"
#include "fuzz/checked_request.h"
#include "memhost/snapshot.h"
namespace pphatch {
TEST(Probe, Dump) {
  const char* path = std::getenv("PROBE");
  if (!path) GTEST_SKIP();
  const std::string bytes = cli_test::FileText(path);
  auto r = reliability::DecodeRequest(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  std::printf("%s", mem::Snapshot(*r.drawing).c_str());
  std::printf("view centre %g %g zoom %g rot %g click %.17g %.17g\n", r.view->Centre().x, r.view->Centre().y, r.view->Zoom(), r.view->Rotation(), r.click.x, r.click.y);
  auto c = reliability::RunCheckedRequest(r, {10.0, 1e-4, 400000}); std::printf("seconds %g\n", c.seconds);
  std::printf("ok=%d problem=%s\n", c.answer.ok, c.problem.c_str());
  for (auto& ch : c.answer.contours) { std::printf("contour:"); for (auto p : ch) std::printf(" (%.17g,%.17g)", p.x, p.y); std::printf("\n"); }
}
}
