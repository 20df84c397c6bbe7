#pragma once

#include <vector>

#include "kestrel/artwork.h"
#include "platform/win32/handles.h"

namespace kestrel::win32 {

// A bitmap of the picture drawn size pixels square (by default at the size
// it is drawn in), its transparent pixels in background.
platform::win32::UniqueGdiObject MakeBitmap(const PixelArt& art, COLORREF background,
                                            int size = 0);

// An image list of the pictures, all drawn at the given size (16 for the
// screen at 96 DPI, 24 and 32 for 150 and 200 %), with their transparent
// pixels masked out.
platform::win32::UniqueImageList MakeImageList(const std::vector<PixelArt>& images, int size);

}  // namespace kestrel::win32
