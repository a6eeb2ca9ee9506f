#include "formats/dxf_labels.h"

#include <gtest/gtest.h>

#include "formats/dxf_text.h"

namespace pphatch::formats {
namespace {

using testing::DxfFile;

TEST(DxfLabels, TextBoxesFollowJustificationRotationAndMTextAttachment) {
  const std::string dxf = DxfFile(
      // Left-aligned TEXT, height 10: a box 24 x 10 from the insertion point.
      "0 TEXT 8 ROOMS 10 100 20 50 40 10 1 ABCD "
      // Centred on its alignment point (72 = 1), turned by 90 degrees.
      "0 TEXT 10 0 20 0 11 200 21 0 40 10 50 90 72 1 1 AB "
      // MTEXT 60 wide attached at its top left (71 = 1): two paragraphs, formatting codes.
      "0 MTEXT 8 ROOMS 10 0 20 100 40 5 41 60 71 1 1 {\\fArial|b1;Main}\\PHall "
      // In paper space: left out.
      "0 TEXT 67 1 10 0 20 0 1 Sheet");
  const auto labels = ReadDxfLabels(dxf, "t.dxf");
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_EQ(labels[0].text, "ABCD");
  EXPECT_EQ(labels[0].layer, "ROOMS");
  EXPECT_NEAR(labels[0].middle.x, 112, 1e-12);
  EXPECT_NEAR(labels[0].middle.y, 55, 1e-12);
  EXPECT_EQ(labels[1].insertion.x, 200);
  EXPECT_NEAR(labels[1].middle.x, 195, 1e-12);  // half the height left of the turned baseline
  EXPECT_NEAR(labels[1].middle.y, 0, 1e-12);
  EXPECT_EQ(labels[2].text, "Main Hall");
  EXPECT_NEAR(labels[2].middle.x, 30, 1e-12);
  EXPECT_NEAR(labels[2].middle.y, 95, 1e-12);
}

}  // namespace
}  // namespace pphatch::formats
