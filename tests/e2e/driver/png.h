#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace e2e {

// Checksums of the PNG and zlib formats, exposed for the encoder's tests.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
std::uint32_t Adler32(std::span<const std::uint8_t> bytes, std::uint32_t adler = 1);

// A zlib stream of stored (uncompressed) deflate blocks: screenshots are
// small, and a stream this simple needs no compression library.
std::vector<std::uint8_t> ZlibStored(std::span<const std::uint8_t> bytes);

// An 8-bit RGB PNG of width x height pixels; rgb holds the rows top-down,
// three bytes a pixel, no padding. Returns an empty vector when the sizes do
// not fit the data.
std::vector<std::uint8_t> EncodePng(std::uint32_t width, std::uint32_t height,
                                    std::span<const std::uint8_t> rgb);

}  // namespace e2e
