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

// The square art drawn size by size pixels, row by row from the top;
// nothing for a transparent pixel. Larger sizes come from the letters
// enlarged by edge-aware pixel doubling or tripling, so that slopes stay
// slopes and one-pixel lines keep one width, then averaged down to the size
// where it is not such a multiple (16 pixels at 24 and 20). A pixel is
// transparent where most of the area it covers is.
std::vector<std::optional<Rgb>> DrawArt(const PixelArt& art, int size);

// The images of ImageList1, 16 by 16: image n is element n - 1. Images 1 to
// 10 belong to the toolbar's commands, 11 to its Help button.
const std::vector<PixelArt>& ToolbarImages();

// The picture of the tip window, 32 by 32.
const PixelArt& TipPicture();

}  // namespace kestrel
