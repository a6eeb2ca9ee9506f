// Layer name patterns: wildcards and any case. (Which of the two lists wins,
// and how they are split, the CLI's layer table shows.)
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

}  // namespace
}  // namespace pphatch::formats
