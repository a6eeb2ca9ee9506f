// The contour search leaves the drawing as it found it: fills it blanks are
// restored on every exit, and the candidate set is released.
#include <string>

#include "contour/search_fixture.h"
#include "memhost/snapshot.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch {
namespace {

class SearchFillsTest : public SearchTest {
 protected:
  // A solid-filled square under the click, inside a plain outer rectangle.
  void SetUp() override {
    SearchTest::SetUp();
    mem::AddRectangle(drawing, {0, 0}, {20, 10});
    filled = mem::AddRectangle(drawing, {4, 2}, {8, 6});
    mem::SetProperty(filled, "BrushStyle", std::string("Solid"));
  }

  void TearDown() override {
    SetClockForTesting(nullptr);
    SearchTest::TearDown();
  }

  std::string FillOf(const mem::GraphicPtr& graphic) const {
    return graphic->Props().Text("BrushStyle");
  }

  // Number of times the filled square's style was written.
  long FillWrites() const { return drawing->Faults().Calls("HostProperty.SetValue"); }

  mem::GraphicPtr filled;
};

TEST_F(SearchFillsTest, FillIsBlankedForTheMarchAndRestoredAfterwards) {
  const std::string before = mem::Snapshot(*drawing);
  drawing->Faults().ResetCounts();
  ASSERT_TRUE(SearchFrom({6, 4}));
  // The square's own left edge is met first: its fill was not in the way.
  ExpectLoop({{4, 2}, {4, 6}, {8, 6}, {8, 2}, {4, 2}});
  EXPECT_EQ(FillWrites(), 2);  // blanked once, restored once
  EXPECT_EQ(FillOf(filled), "Solid");
  EXPECT_EQ(mem::Snapshot(*drawing), before);
  ExpectSetsReleased();
}

TEST_F(SearchFillsTest, FillIsRestoredWhenAHostCallFailsMidMarch) {
  const std::string before = mem::Snapshot(*drawing);
  // The first pick count (the fills' pick) succeeds, the march's first fails.
  drawing->Faults().Fail("HostPickResult.Count").After(1);
  EXPECT_FALSE(SearchFrom({6, 4}));
  EXPECT_EQ(FillOf(filled), "Solid");
  EXPECT_EQ(mem::Snapshot(*drawing), before);
  ExpectSetsReleased();
}

TEST_F(SearchFillsTest, FailedRestoreIsRetriedWhenTheSearchEnds) {
  // Blanking succeeds, the restore before the walk fails once.
  drawing->Faults().Fail("HostProperty.SetValue").After(1).Times(1);
  drawing->Faults().ResetCounts();
  EXPECT_TRUE(SearchFrom({6, 4}));
  EXPECT_EQ(FillWrites(), 3);
  EXPECT_EQ(FillOf(filled), "Solid");
}

TEST_F(SearchFillsTest, FillIsRestoredWhenTheTimeBudgetRunsOut) {
  // The request starts at 100 s (first reading) and the search's own first
  // test passes (second); from the first march step on, 25 s have passed.
  int reads = 0;
  SetClockForTesting([&reads] { return ++reads <= 2 ? 100.0 : 125.0; });
  drawing->Faults().ResetCounts();
  EXPECT_FALSE(SearchFrom({6, 4}));
  EXPECT_EQ(reads, 3);
  EXPECT_EQ(FillWrites(), 2);
  EXPECT_EQ(FillOf(filled), "Solid");
  ExpectSetsReleased();
}

TEST_F(SearchFillsTest, UnreadableFillIsPassedOver) {
  // The style of the square cannot be read: it is neither blanked nor
  // restored, and the search still finds the square.
  drawing->Faults().Fail("HostProperty.Value").ForGraphic(filled->ID());
  drawing->Faults().ResetCounts();
  ASSERT_TRUE(SearchFrom({6, 4}));
  EXPECT_EQ(FillWrites(), 0);
  EXPECT_EQ(FillOf(filled), "Solid");
}

}  // namespace
}  // namespace pphatch
