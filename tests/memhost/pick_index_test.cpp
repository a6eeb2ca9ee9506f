#include "memhost/pick_index.h"

#include <gtest/gtest.h>

#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

using Ids = std::vector<int>;

TEST(PickIndex, CountInBoxCountsBoxesMeetingItUpToTheLimit) {
  HostFixture f;
  // Unit squares at x = 0, 2, 4, ..., 18.
  for (int i = 0; i < 10; ++i) AddRectangle(f.drawing, {2.0 * i, 0}, {2.0 * i + 1, 1});
  PickIndex& index = f.drawing->Index();
  EXPECT_EQ(index.Size(), 10u);
  EXPECT_EQ(index.CountInBox({1.5, 0.2, 6.5, 0.4}, 100), 3u);  // squares at 2, 4 and 6
  EXPECT_EQ(index.CountInBox({1.5, 0.2, 6.5, 0.4}, 2), 2u);
  EXPECT_EQ(index.CountInBox({3, 0, 3.5, 1}, 100), 1u);  // touching the square at 2
  EXPECT_EQ(index.CountInBox({1.2, 0, 1.8, 1}, 100), 0u);
}

TEST(PickIndex, GraphicsAddedAfterTheFirstPickJoinThoseIndexedAtOnce) {
  HostFixture f;
  // Indexed all at once by the first pick: 500 vertical lines at x = 0 .. 499,
  // the line at x = i with ID i + 1.
  for (int i = 0; i < 500; ++i) AddLine(f.drawing, {1.0 * i, 0}, {1.0 * i, 10});
  EXPECT_EQ(f.PickAt(250.5, 5, 0.6), (Ids{251, 252}));
  // Indexed one by one at the next pick, and listed in drawing order.
  const auto later = AddLine(f.drawing, {250.4, 0}, {250.4, 10});
  EXPECT_EQ(f.PickAt(250.5, 5, 0.6), (Ids{251, 252, later->Id()}));
  EXPECT_EQ(f.PickAt(250.35, 5, 0.1), (Ids{later->Id()}));
  EXPECT_EQ(f.drawing->Index().Size(), 501u);
}

}  // namespace
}  // namespace pphatch::mem
