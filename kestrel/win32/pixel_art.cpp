#include "kestrel/win32/pixel_art.h"

#include <cstdint>

namespace kestrel::win32 {
namespace {

// No colour of the artwork: it marks the pixels the mask lets through.
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

}  // namespace

platform::win32::UniqueGdiObject MakeBitmap(const PixelArt& art, COLORREF background,
                                            int size) {
  if (size <= 0) size = art.Width();
  const auto drawn = DrawArt(art, size);
  // No picture rather than a black square.
  if (drawn.empty()) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // rows top-down, as the art is written
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  platform::win32::UniqueGdiObject bitmap(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;

  auto* pixels = static_cast<std::uint32_t*>(bits);
  const Rgb behind{GetRValue(background), GetGValue(background), GetBValue(background)};
  for (std::size_t n = 0; n < drawn.size(); ++n) {
    const Rgb colour = drawn[n].value_or(behind);
    pixels[n] = (std::uint32_t{colour.red} << 16) | (std::uint32_t{colour.green} << 8) |
                colour.blue;
  }
  GdiFlush();
  return bitmap;
}

platform::win32::UniqueImageList MakeImageList(const std::vector<PixelArt>& images, int size) {
  platform::win32::UniqueImageList list(
      ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, static_cast<int>(images.size()), 0));
  if (!list) return list;
  for (const PixelArt& art : images) {
    const auto bitmap = MakeBitmap(art, kMaskColour, size);
    ImageList_AddMasked(list.get(), static_cast<HBITMAP>(bitmap.get()), kMaskColour);
  }
  return list;
}

}  // namespace kestrel::win32
