#include "tests/e2e/driver/png.h"

#include <limits>

// A well-kept single-header encoder; its output goes to memory, never to a
// file of its own choosing.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace e2e {

std::vector<std::uint8_t> EncodePng(std::uint32_t width, std::uint32_t height,
                                    std::span<const std::uint8_t> rgb) {
  constexpr std::uint32_t kLargest = std::numeric_limits<int>::max() / 3;
  // Divided, not multiplied: a product could overflow in a 32-bit program.
  if (width == 0 || height == 0 || width > kLargest || height > kLargest ||
      rgb.size() % (std::size_t{width} * 3) != 0 || rgb.size() / (std::size_t{width} * 3) != height) {
    return {};
  }
  std::vector<std::uint8_t> png;
  const auto append = [](void* context, void* data, int size) {
    auto& out = *static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
  };
  const int stride = static_cast<int>(width * 3);
  if (!stbi_write_png_to_func(append, &png, static_cast<int>(width), static_cast<int>(height), 3,
                              rgb.data(), stride)) {
    return {};
  }
  return png;
}

}  // namespace e2e
