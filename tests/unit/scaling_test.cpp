#include "common/scaling.h"

#include <gtest/gtest.h>

namespace {

using common::Scaling;

TEST(ScalingTest, LengthsAtTheCommonScalings) {
  const struct {
    int dpi, pixels96, px, twips, twipsPx, toolbar;
  } cases[] = {
      // 100 %: twips at 15 to the pixel, as the layouts were drawn.
      {96, 10, 10, 6600, 440, 16},
      {120, 10, 13, 6600, 550, 24},   // 12.5 rounds up; 16 px art is 20 wanted
      {144, 3, 5, 255, 26, 24},       // 4.5 and 25.5 round up
      {192, 7, 14, 1095, 146, 32},
      {168, 16, 28, 15, 2, 32},       // 28 wanted: ties to the larger art
      {96, -3, -3, -15, -1, 16},
      {144, -3, -5, -255, -26, 24},   // negatives mirror positives
      {0, 10, 10, 1440, 96, 16},      // a failed query counts as 96
      {-5, 10, 10, 1440, 96, 16},
      {72, 1, 1, 1440, 72, 16},       // 0.75 rounds to 1; below 96 stays 16
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    const Scaling s(c.dpi);
    EXPECT_EQ(c.px, s.Px(c.pixels96));
    EXPECT_EQ(c.twipsPx, s.Twips(c.twips));
    EXPECT_EQ(c.toolbar, s.ToolbarImageSize());
  }
}

TEST(ScalingTest, LargeLengthsDoNotOverflow) {
  EXPECT_EQ(2'000'000'000, Scaling(192).Px(1'000'000'000));
}

}  // namespace
