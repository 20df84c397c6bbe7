#include "kestrel/win32/pixel_art.h"

#include <cstdint>

namespace kestrel::win32 {
namespace {

// No colour of the artwork: it marks the pixels the mask lets through.
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

}  // namespace

platform::win32::UniqueGdiObject MakeBitmap(const PixelArt& art, COLORREF background) {
  const int width = art.Width();
  const int height = art.Height();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top-down, as the art is written
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  platform::win32::UniqueGdiObject bitmap(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;

  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    const std::string& row = art.rows[static_cast<std::size_t>(y)];
    for (int x = 0; x < width; ++x) {
      const auto colour = x < static_cast<int>(row.size())
                              ? ArtColour(row[static_cast<std::size_t>(x)])
                              : std::nullopt;
      const std::uint32_t red = colour ? colour->red : GetRValue(background);
      const std::uint32_t green = colour ? colour->green : GetGValue(background);
      const std::uint32_t blue = colour ? colour->blue : GetBValue(background);
      pixels[y * width + x] = (red << 16) | (green << 8) | blue;
    }
  }
  GdiFlush();
  return bitmap;
}

platform::win32::UniqueImageList MakeImageList(const std::vector<PixelArt>& images, int size) {
  platform::win32::UniqueImageList list(
      ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, static_cast<int>(images.size()), 0));
  if (!list) return list;
  for (const PixelArt& art : images) {
    const auto bitmap = MakeBitmap(art, kMaskColour);
    ImageList_AddMasked(list.get(), static_cast<HBITMAP>(bitmap.get()), kMaskColour);
  }
  return list;
}

}  // namespace kestrel::win32
