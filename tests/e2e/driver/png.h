#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace e2e {

// An 8-bit RGB PNG of width x height pixels; rgb holds the rows top-down,
// three bytes a pixel, no padding. Returns an empty vector when the sizes do
// not fit the data.
std::vector<std::uint8_t> EncodePng(std::uint32_t width, std::uint32_t height,
                                    std::span<const std::uint8_t> rgb);

}  // namespace e2e
