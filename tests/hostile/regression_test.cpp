// Faults that fuzzing found, each pinned by the smallest drawing that shows
// it (two more are rows of request_hostile_test.cpp). The fuzz input that
// found each one is kept in fuzz/regressions/ and replayed by fuzz_inputs_test.cpp.
#include <gtest/gtest.h>

#include <string>

#include "component/state.h"
#include "geometry/tolerance.h"
#include "formats/dxf_text.h"
#include "formats/json_drawing.h"
#include "hostile/hostile_scene.h"

namespace pphatch::hostile {
namespace {

using formats::testing::DxfErrorOf;
using formats::testing::DxfFile;
using formats::testing::ReadErrorOf;
using mem::Into;

// A clock on which every host call takes a millisecond: the budget is 20,000
// calls, and 200,000 calls end the request whatever it does.
constexpr reliability::RequestClock kHostCallClock{1.0, 1e-3, 200000};

// A view 0.0005 units wide (zoom 1) inside a large, almost whole arc: the
// graphics along each of the arc's long edges were gathered through windows
// as small as the view, hundreds of thousands of picks per edge, without a
// look at the budget in between.
TEST(Regression, TinyViewInsideALargeArcStaysWithinBudget) {
  HostileScene scene;
  mem::AddArc(Into(scene.drawing), {29, 42}, 29, 41 * kTwoPi / 64, 37 * kTwoPi / 64);
  scene.view->SetSize(0.0005, 0.000375);
  scene.Look({44, 42.5}, 1);
  const mem::Vec2 v = scene.view->ToView({44, 42.5});
  const reliability::CheckedAnswer checked =
      reliability::RunCheckedRequest({scene.drawing, scene.view, {44, 42.5}, {v.x, v.y}}, kHostCallClock);
  EXPECT_EQ(checked.problem, "");
  EXPECT_LE(checked.seconds, kRequestBudgetSeconds + reliability::kBudgetMargin);
}

// A number too large for a double stopped the JSON parser with its own
// out-of-range exception, which left the reader as something other than a
// ReadError: the tool then printed the parser's words without the file name.
TEST(Regression, JsonNumberTooLargeForADoubleIsAReadError) {
  const std::string error = ReadErrorOf([] {
    formats::ReadJsonText(R"({"graphics": [{"type": "line", "from": [1e400, 0], "to": [1, 1]}]})",
                          "big.json");
  });
  EXPECT_EQ(error.rfind("big.json: ", 0), 0u) << error;
  EXPECT_NE(error.find("1e400"), std::string::npos) << error;
}

// An integer group code written as a whole real beyond the range of long
// long ("1e300" as a boundary's edge count) was turned into an integer
// anyway, which is undefined behaviour; it is now refused like any other
// value that is no integer.
TEST(Regression, DxfIntegerBeyondLongLongIsAReadError) {
  const auto point = [](const std::string& flags) {
    return DxfFile("0 POINT 8 0 70 " + flags + " 10 0 20 0");
  };
  const std::string error = DxfErrorOf(point("1e300"), "count.dxf");
  EXPECT_EQ(error.rfind("count.dxf: line 10: ", 0), 0u) << error;
  EXPECT_NE(error.find("needs an integer"), std::string::npos) << error;
  // Whole reals within range are still read as integers.
  EXPECT_EQ(DxfErrorOf(point("2.0"), "whole.dxf"), "no error");
}

}  // namespace
}  // namespace pphatch::hostile
