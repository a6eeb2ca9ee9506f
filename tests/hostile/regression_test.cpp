// Faults that fuzzing found, each pinned by the smallest drawing that shows
// it. The fuzz input that found each one is kept in fuzz/regressions/ and
// replayed by fuzz_inputs_test.cpp.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "support/tolerance_scope.h"
#include "component/state.h"
#include "driver/result_graphic.h"
#include "geometry/tolerance.h"
#include "formats/dxf_reader.h"
#include "formats/json_drawing.h"
#include "hostile/hostile_scene.h"

namespace pphatch::hostile {
namespace {

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

// Expects reading `text` as `name` to end in a ReadError whose message
// starts with `prefix` and holds `fragment`.
template <typename Read>
void ExpectReadError(Read read, const std::string& text, const std::string& name,
                     const std::string& prefix, const std::string& fragment) {
  try {
    read(text, name);
    FAIL() << name << " was read";
  } catch (const formats::ReadError& e) {
    const std::string what = e.what();
    EXPECT_EQ(what.rfind(prefix, 0), 0u) << what;
    EXPECT_NE(what.find(fragment), std::string::npos) << what;
  }
}

// A number too large for a double stopped the JSON parser with its own
// out-of-range exception, which left the reader as something other than a
// ReadError: the tool then printed the parser's words without the file name.
TEST(Regression, JsonNumberTooLargeForADoubleIsAReadError) {
  ExpectReadError(formats::ReadJsonText,
                  R"({"graphics": [{"type": "line", "from": [1e400, 0], "to": [1, 1]}]})",
                  "big.json", "big.json: ", "1e400");
}

// An integer group code written as a whole real beyond the range of long
// long ("1e300" as a boundary's edge count) was turned into an integer
// anyway, which is undefined behaviour; it is now refused like any other
// value that is no integer.
TEST(Regression, DxfIntegerBeyondLongLongIsAReadError) {
  const auto point = [](const std::string& flags) {
    return "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\n0\n70\n" + flags +
           "\n10\n0\n20\n0\n0\nENDSEC\n0\nEOF\n";
  };
  ExpectReadError(formats::ReadDxfText, point("1e300"), "count.dxf", "count.dxf: line 10: ",
                  "needs an integer");
  // Whole reals within range are still read as integers.
  EXPECT_NO_THROW(formats::ReadDxfText(point("2.0"), "whole.dxf"));
}

// A click exactly on a line that hangs outside a square: the walk round the
// square goes out along the line and back, so the loop "holds" the click on
// that spike; spike removal then cuts the line away and the square was handed
// back for a click outside it.
TEST(Regression, ClickOnADanglingLineOutsideAnAreaIsNotHatched) {
  HostileScene scene;
  mem::AddRectangle(Into(scene.drawing), {0, 0}, {10, 10});
  mem::AddLine(Into(scene.drawing), {10, 5}, {20, 5});
  const reliability::CheckedAnswer checked = scene.Click(15, 5, 10);
  EXPECT_EQ(checked.problem, "");
}

// A polyline arc run from a point with a NaN coordinate has a NaN radius and
// sweep; the host's pick outline turned the NaN sweep into a step count,
// undefined behaviour that UndefinedBehaviorSanitizer stops on (the test is
// only a real check in the sanitized build of make check-asan).
TEST(Regression, PolylineArcRunFromANaNPointIsPickedSafely) {
  HostileScene scene;
  mem::AddRectangle(Into(scene.drawing), {0, 0}, {10, 10});
  mem::AddPolyline(Into(scene.drawing),
                   {{std::numeric_limits<double>::quiet_NaN(), 22, 1}, {20, 25, 0}});
  const reliability::CheckedAnswer checked = scene.Click(5, 5);
  EXPECT_EQ(checked.problem, "");
}

}  // namespace
}  // namespace pphatch::hostile
