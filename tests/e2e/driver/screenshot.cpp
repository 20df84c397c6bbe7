#include "tests/e2e/driver/screenshot.h"

#include <algorithm>
#include <cstdlib>

#include "tests/e2e/driver/paths.h"
#include "tests/e2e/driver/png.h"

namespace e2e {
namespace {

// Creates dir and its missing parents.
void CreateDirectories(const std::string& dir) {
  for (std::size_t at = dir.find('\\', 3); at != std::string::npos; at = dir.find('\\', at + 1)) {
    CreateDirectoryA(dir.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryA(dir.c_str(), nullptr);
}

std::string FileName(std::string_view name) {
  std::string out;
  for (char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.';
    out += plain ? c : '_';
  }
  return out.empty() ? "screenshot" : out;
}

// Pixels as a 32-bit DIB holds them (B, G, R, unused) to R, G, B.
std::vector<std::uint8_t> ToRgb(const std::uint8_t* bgrx, std::size_t pixels) {
  std::vector<std::uint8_t> rgb(pixels * 3);
  for (std::size_t i = 0; i < pixels; ++i) {
    rgb[i * 3] = bgrx[i * 4 + 2];
    rgb[i * 3 + 1] = bgrx[i * 4 + 1];
    rgb[i * 3 + 2] = bgrx[i * 4];
  }
  return rgb;
}

}  // namespace

std::uint32_t Image::At(int x, int y) const {
  const auto i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)) *
                 3;
  return (std::uint32_t{rgb[i]} << 16) | (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2];
}

Image CaptureScreen(const RECT& wanted) {
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT rect{};
  if (!IntersectRect(&rect, &wanted, &screen)) return {};
  Image image;
  image.width = rect.right - rect.left;
  image.height = rect.bottom - rect.top;

  HDC screen_dc = GetDC(nullptr);
  HDC memory_dc = CreateCompatibleDC(screen_dc);
  HBITMAP bitmap = CreateCompatibleBitmap(screen_dc, image.width, image.height);
  HGDIOBJ previous = SelectObject(memory_dc, bitmap);
  BitBlt(memory_dc, 0, 0, image.width, image.height, screen_dc, rect.left, rect.top, SRCCOPY);
  SelectObject(memory_dc, previous);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;  // no row padding
  info.bmiHeader.biCompression = BI_RGB;
  const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
  std::vector<std::uint8_t> bgrx(pixels * 4);
  GetDIBits(memory_dc, bitmap, 0, static_cast<UINT>(image.height), bgrx.data(), &info,
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory_dc);
  ReleaseDC(nullptr, screen_dc);

  image.rgb = ToRgb(bgrx.data(), pixels);
  return image;
}

Image CaptureWindow(const Window& window) {
  // The answer to WM_NULL shows that the window's thread is back in its
  // message loop; RDW_UPDATENOW then has it paint what is still pending,
  // all children included, before it returns.
  window.Send(WM_NULL);
  RedrawWindow(window.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  // The X server may show the drawing a little later; a picture that stays
  // the same for a while is the finished one. One that keeps changing (an
  // animation) is taken as it is after a second and a half.
  Image last = CaptureScreen(window.Rect());
  int same = 0;
  PollUntil(
      [&] {
        Image next = CaptureScreen(window.Rect());
        same = next == last ? same + 1 : 0;
        last = std::move(next);
        return same >= 2;
      },
      Millis(1500), Millis(50));
  return last;
}

Image RenderIcon(HICON icon, int width, int height, COLORREF background, int size) {
  HDC screen_dc = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen_dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  GdiFlush();

  Image image;
  image.width = width;
  image.height = height;
  image.rgb =
      ToRgb(static_cast<const std::uint8_t*>(bits), static_cast<std::size_t>(width) * height);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen_dc);
  return image;
}

bool SavePng(const Image& image, const std::string& path) {
  const std::vector<std::uint8_t> png = EncodePng(
      static_cast<std::uint32_t>(image.width), static_cast<std::uint32_t>(image.height), image.rgb);
  if (png.empty()) return false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
                  written == png.size();
  CloseHandle(file);
  return ok;
}

std::string ScreenshotDirectory() {
  const char* dir = std::getenv("KESTREL_SCREENSHOT_DIR");
  return dir && *dir ? ToWindowsPath(dir) : std::string("screenshots");
}

std::string SaveScreenshot(const Window& window, std::string_view name) {
  const Image image = CaptureWindow(window);
  const std::string dir = ScreenshotDirectory();
  CreateDirectories(dir);
  const std::string path = JoinPath(dir, FileName(name) + ".png");
  if (image.width == 0 || !SavePng(image, path)) {
    throw Failure("cannot save a screenshot of " + window.Describe() + " as " + path);
  }
  return path;
}

}  // namespace e2e
