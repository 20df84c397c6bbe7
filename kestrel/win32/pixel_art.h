#pragma once

#include <vector>

#include "kestrel/artwork.h"
#include "platform/win32/handles.h"

namespace kestrel::win32 {

// A 24-bit bitmap of the picture, its transparent pixels in background.
platform::win32::UniqueGdiObject MakeBitmap(const PixelArt& art, COLORREF background);

// An image list of the pictures, all of the given size, with their
// transparent pixels masked out.
platform::win32::UniqueImageList MakeImageList(const std::vector<PixelArt>& images, int size);

}  // namespace kestrel::win32
