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

}  // namespace
