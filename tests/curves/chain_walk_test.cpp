#include "curves/chain_walk.h"

#include <gtest/gtest.h>

#include <vector>

#include "geometry/tolerance.h"

namespace pphatch {
namespace {

TEST(ChainWalk, SharpestRightTurnWinsFirstOnTiesNeverAReversal) {
  const std::vector<Branch> options{
      {0.5, 0, 0, 1}, {-1.0, 1, 0, 1}, {-1.0, 2, 0, 1}, {-kPi + 0.005, 3, 0, 1}, {kTwoPi, 4, 0, 1}};
  EXPECT_EQ(ChooseSharpestRight(options, 0.01), 1u);
  EXPECT_EQ(ChooseSharpestRight(options, 1e-5), 3u);
  EXPECT_FALSE(ChooseSharpestRight({{-kPi, 0, 0, 1}, {kTwoPi, 0, 0, 1}}, 1e-5).has_value());
}

}  // namespace
}  // namespace pphatch
