// Layer name patterns: wildcards, any case, and which of the two lists wins.
#include "formats/layer_filter.h"

#include <gtest/gtest.h>

namespace pphatch::formats {
namespace {

TEST(LayerFilter, PatternsMatchWholeNamesInAnyCase) {
  EXPECT_TRUE(LayerNameMatches("DIM*", "dimensions"));
  EXPECT_TRUE(LayerNameMatches("*", ""));
  EXPECT_TRUE(LayerNameMatches("a?c*d", "AbCxxd"));
  EXPECT_TRUE(LayerNameMatches("*-*-*", "A-B-C"));
  EXPECT_FALSE(LayerNameMatches("DIM", "DIM2"));
  EXPECT_FALSE(LayerNameMatches("?IM", "IM"));
  EXPECT_FALSE(LayerNameMatches("*X", "XY"));
  // Many stars against a long name stay quick and correct.
  EXPECT_FALSE(LayerNameMatches("*a*a*a*a*a*b", std::string(200, 'a')));
}

TEST(LayerFilter, IgnoredLayersWinOverChosenOnes) {
  const LayerFilter filter{SplitLayerList(" WALL* ,DOORS,"), SplitLayerList("walls-old")};
  EXPECT_EQ(filter.only.size(), 2u);
  EXPECT_TRUE(filter.Keeps("Walls"));
  EXPECT_TRUE(filter.Keeps("doors"));
  EXPECT_FALSE(filter.Keeps("WALLS-OLD"));
  EXPECT_FALSE(filter.Keeps("TEXT"));
  EXPECT_TRUE(LayerFilter{}.Keeps("anything"));
}

}  // namespace
}  // namespace pphatch::formats
