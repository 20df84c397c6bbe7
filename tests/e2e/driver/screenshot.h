#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/windows_shim.h"
#include "tests/e2e/driver/window.h"

namespace e2e {

// Pixels as the screen shows them: rows top-down, three bytes (R, G, B) a pixel.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  bool operator==(const Image&) const = default;
  // Pixel (x, y) as 0xRRGGBB.
  std::uint32_t At(int x, int y) const;
};

// The pixels of the screen inside rect (clipped to the screen).
Image CaptureScreen(const RECT& rect);

// The window with its frame, once it has finished painting: two captures a
// little apart must agree.
Image CaptureWindow(const Window& window);

// The icon drawn as the system draws it, at the top left of a width x height
// picture filled with the background colour; size 0 draws the icon at its
// own size.
Image RenderIcon(HICON icon, int width, int height, COLORREF background, int size = 0);

bool SavePng(const Image& image, const std::string& path);

// Where screenshots go: KESTREL_SCREENSHOT_DIR (a Unix or Windows path), or
// "screenshots" in the working directory.
std::string ScreenshotDirectory();

// Saves the window as <directory>\<name>.png, name reduced to letters,
// digits, '-', '_' and '.'; returns the file's path. Throws a Failure when
// the file cannot be written.
std::string SaveScreenshot(const Window& window, std::string_view name);

}  // namespace e2e
