#include "kestrel/artwork.h"

#include <gtest/gtest.h>

#include "kestrel/main_menu.h"

namespace {

// A row of the wrong length or an unknown letter would draw a smeared or
// wrongly coloured image.
void ExpectWellFormed(const kestrel::PixelArt& art, int size, const std::string& name) {
  ASSERT_EQ(art.Height(), size) << name;
  for (const std::string& row : art.rows) {
    EXPECT_EQ(static_cast<int>(row.size()), size) << name << ": " << row;
    for (char key : row) {
      EXPECT_TRUE(key == '.' || kestrel::ArtColour(key)) << name << ": letter " << key;
    }
  }
}

TEST(ArtworkTest, EveryImageIsWholeAndEveryButtonHasOne) {
  const auto& images = kestrel::ToolbarImages();
  ASSERT_EQ(images.size(), 11u);
  for (std::size_t i = 0; i < images.size(); ++i) {
    ExpectWellFormed(images[i], 16, "image " + std::to_string(i + 1));
  }
  ExpectWellFormed(kestrel::TipPicture(), 32, "tip picture");
  for (const auto& button : kestrel::Toolbar()) {
    if (button.IsSeparator()) continue;
    EXPECT_GE(button.image, 1) << button.key;
    EXPECT_LE(button.image, static_cast<int>(images.size())) << button.key;
  }
  EXPECT_FALSE(kestrel::ArtColour('.'));
}

// The art enlarged for 120, 150 and 200 % must keep its outline where it
// is, let no transparent area through nor eat into the picture, and keep
// colours that it has.
TEST(ArtworkTest, DrawsAtEveryToolbarSizeWithoutMovingTheOutline) {
  const kestrel::PixelArt leftHalfBlack{std::vector<std::string>(16, "kkkkkkkk........")};
  const kestrel::PixelArt blueSquare{std::vector<std::string>(16, std::string(16, 'b'))};
  const struct {
    int size;
    int blackColumns;  // of the left half
  } cases[] = {{16, 8}, {20, 10}, {24, 12}, {32, 16}, {48, 24}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const auto half = kestrel::DrawArt(leftHalfBlack, c.size);
    ASSERT_EQ(half.size(), static_cast<std::size_t>(c.size * c.size));
    for (int x = 0; x < c.size; ++x) {
      const auto& pixel = half[static_cast<std::size_t>((c.size - 1) * c.size + x)];
      EXPECT_EQ(pixel.has_value(), x < c.blackColumns) << "column " << x;
      if (pixel) EXPECT_EQ(pixel->red + pixel->green + pixel->blue, 0);
    }
    for (const auto& pixel : kestrel::DrawArt(blueSquare, c.size)) {
      ASSERT_TRUE(pixel);
      EXPECT_EQ(pixel->blue, 216);
    }
  }
  // A one-pixel diagonal stays one unbroken line at twice the size: each
  // row of the enlargement touches the row above it.
  std::vector<std::string> diagonal(16, std::string(16, '.'));
  for (std::size_t i = 0; i < 16; ++i) diagonal[i][i] = 'k';
  const auto line = kestrel::DrawArt({diagonal}, 32);
  for (int y = 1; y < 32; ++y) {
    bool touches = false;
    for (int x = 0; x < 32; ++x) {
      const bool here = line[static_cast<std::size_t>(y * 32 + x)].has_value();
      const bool above = line[static_cast<std::size_t>((y - 1) * 32 + x)].has_value();
      touches = touches || (here && above);
    }
    EXPECT_TRUE(touches) << "row " << y;
  }
  // Nothing to draw from, or a picture that is not square: no pixels.
  EXPECT_TRUE(kestrel::DrawArt({}, 24).empty());
  EXPECT_TRUE(kestrel::DrawArt(leftHalfBlack, 0).empty());
  EXPECT_TRUE(kestrel::DrawArt({{"kk"}}, 4).empty());
}

}  // namespace
