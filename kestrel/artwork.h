#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

struct Rgb {
  std::uint8_t red, green, blue;
};

// A picture as rows of letters of one width, one letter a pixel; the view
// turns it into a bitmap. Drawn pixel by pixel for the size it is shown at,
// so that it stays sharp.
struct PixelArt {
  std::vector<std::string> rows;

  int Width() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
  int Height() const { return static_cast<int>(rows.size()); }
};

// The colour of a letter; nothing for a transparent pixel.
std::optional<Rgb> ArtColour(char key);

// The images of ImageList1, 16 by 16: image n is element n - 1. Images 1 to
// 10 belong to the toolbar's commands, 11 to its Help button.
const std::vector<PixelArt>& ToolbarImages();

// The picture of the tip window, 32 by 32.
const PixelArt& TipPicture();

}  // namespace kestrel
