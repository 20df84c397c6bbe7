#include "tests/e2e/driver/png.h"

#include <array>
#include <string_view>

namespace e2e {
namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr auto kCrcTable = MakeCrcTable();

// The largest payload of one stored deflate block (its length field is 16 bits).
constexpr std::size_t kMaxStoredBlock = 65535;

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 24));
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              std::span<const std::uint8_t> data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t type_at = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  // The CRC covers the type and the data, not the length.
  PutBigEndian(out, Crc32(std::span(out).subspan(type_at)));
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  crc = ~crc;
  for (std::uint8_t b : bytes) crc = kCrcTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes, std::uint32_t adler) {
  constexpr std::uint32_t kModulus = 65521;
  std::uint32_t a = adler & 0xFFFF;
  std::uint32_t b = adler >> 16;
  for (std::uint8_t byte : bytes) {
    a = (a + byte) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

std::vector<std::uint8_t> ZlibStored(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  out.reserve(bytes.size() + bytes.size() / kMaxStoredBlock * 5 + 16);
  // CMF 0x78: deflate with a 32 KiB window; FLG 0x01 makes CMF*256+FLG a multiple of 31.
  out.push_back(0x78);
  out.push_back(0x01);
  std::size_t at = 0;
  do {  // An empty input still needs one (final, empty) block.
    const std::size_t length = std::min(kMaxStoredBlock, bytes.size() - at);
    const bool final = at + length == bytes.size();
    out.push_back(final ? 1 : 0);  // BFINAL, BTYPE 00 = stored
    const auto len = static_cast<std::uint16_t>(length);
    const auto nlen = static_cast<std::uint16_t>(~len);
    out.push_back(static_cast<std::uint8_t>(len));
    out.push_back(static_cast<std::uint8_t>(len >> 8));
    out.push_back(static_cast<std::uint8_t>(nlen));
    out.push_back(static_cast<std::uint8_t>(nlen >> 8));
    out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
               bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  } while (at < bytes.size());
  PutBigEndian(out, Adler32(bytes));
  return out;
}

std::vector<std::uint8_t> EncodePng(std::uint32_t width, std::uint32_t height,
                                    std::span<const std::uint8_t> rgb) {
  if (width == 0 || height == 0) return {};
  const std::uint64_t row_bytes = std::uint64_t{width} * 3;
  if (row_bytes * height != rgb.size()) return {};

  // Each row starts with its filter type; 0 is "none".
  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<std::size_t>((row_bytes + 1) * height));
  for (std::uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    const auto row =
        rgb.subspan(static_cast<std::size_t>(y * row_bytes), static_cast<std::size_t>(row_bytes));
    raw.insert(raw.end(), row.begin(), row.end());
  }

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header.push_back(8);  // bits per sample
  header.push_back(2);  // colour type: RGB
  header.push_back(0);  // compression: deflate
  header.push_back(0);  // filter method
  header.push_back(0);  // no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", ZlibStored(raw));
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace e2e
