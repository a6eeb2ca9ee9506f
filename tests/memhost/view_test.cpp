#include <gtest/gtest.h>

#include <vector>

#include "memhost/view_setup.h"
#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

// A grid of n x n squares of side 0.8, one at every whole-numbered corner
// from (0, 0): 100 x 100 of them cover [0, 99.8] in both directions.
void AddSquareGrid(const std::shared_ptr<MemDrawing>& drawing, int n) {
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) AddRectangle(drawing, {1.0 * i, 1.0 * j}, {i + 0.8, j + 0.8});
  }
}

TEST(ViewForClick, ShowsAFewGraphicsWholeAndManyBySquareThatHoldsTheWantedCount) {
  HostFixture f;
  f.view->SetSize(1000, 750);
  AddRectangle(f.drawing, {0, 0}, {10, 5});
  ShowAroundClick(*f.view, {8, 1});
  // As FitToDrawing with its margin of 5 %: the width decides, 1000 / (10 * 1.1)
  // against 750 / (5 * 1.1).
  EXPECT_NEAR(f.view->Zoom(), 1000 / 11.0, 1e-12);
  EXPECT_NEAR(f.view->Centre().x, 5, 1e-12);
  EXPECT_NEAR(f.view->Centre().y, 2.5, 1e-12);
  f.drawing->List()->Remove(0);
  AddSquareGrid(f.drawing, 100);
  // At the mean density 100 of the 10000 squares fill a square of side
  // sqrt(99.8^2 / 100) = 9.98. Round (50.4, 50.4) it meets 11 x 11 squares,
  // and its half (side 4.99) only 5 x 5: the view shows the 9.98 square.
  ShowAroundClick(*f.view, {50.4, 50.4}, 100);
  EXPECT_NEAR(f.view->Zoom(), 750 / 9.98, 1e-9);
  EXPECT_EQ(f.view->Centre().x, 50.4);
  EXPECT_EQ(f.view->Centre().y, 50.4);
  // In the corner the 9.98 square meets only 6 x 6 squares; twice that side
  // meets 11 x 11.
  ShowAroundClick(*f.view, {0.4, 0.4}, 100);
  EXPECT_NEAR(f.view->Zoom(), 750 / 19.96, 1e-9);
}

}  // namespace
}  // namespace pphatch::mem
