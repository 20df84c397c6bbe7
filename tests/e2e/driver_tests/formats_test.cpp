// The driver's portable pieces: the PNG encoder and the path helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/paths.h"
#include "tests/e2e/driver/png.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

std::uint32_t BigEndian(const Bytes& b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
         std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

// Undoes ZlibStored, checking every field a decoder checks; counts the blocks.
Bytes Unstore(const Bytes& z, int& blocks) {
  EXPECT_GE(z.size(), 2u + 5u + 4u);
  EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0) << "zlib header check bits";
  EXPECT_EQ(z[0] & 0x0F, 8) << "method deflate";
  Bytes out;
  std::size_t at = 2;
  blocks = 0;
  for (bool final = false; !final;) {
    final = z.at(at) & 1;
    EXPECT_EQ(z[at] & 6, 0) << "stored block type";
    const unsigned len = z.at(at + 1) | z.at(at + 2) << 8;
    const unsigned nlen = z.at(at + 3) | z.at(at + 4) << 8;
    EXPECT_EQ(len ^ 0xFFFFu, nlen);
    out.insert(out.end(), z.begin() + static_cast<long>(at + 5),
               z.begin() + static_cast<long>(at + 5 + len));
    at += 5 + len;
    ++blocks;
  }
  EXPECT_EQ(z.size(), at + 4) << "Adler-32 ends the stream";
  EXPECT_EQ(BigEndian(z, at), e2e::Adler32(out));
  return out;
}

TEST(Checksums, MatchPublishedValues) {
  EXPECT_EQ(e2e::Crc32(Of("123456789")), 0xCBF43926u);
  EXPECT_EQ(e2e::Crc32({}), 0u);
  EXPECT_EQ(e2e::Crc32(Of("IEND")), 0xAE426082u);  // the CRC every PNG ends with
  EXPECT_EQ(e2e::Adler32(Of("Wikipedia")), 0x11E60398u);
  EXPECT_EQ(e2e::Adler32({}), 1u);
  // Both sums are modular; a long run of 0xFF makes them wrap many times.
  const Bytes ones(100000, 0xFF);
  EXPECT_EQ(e2e::Crc32(ones),
            e2e::Crc32(Bytes(ones.begin() + 1, ones.end()), e2e::Crc32(Bytes(1, 0xFF))));
  EXPECT_EQ(e2e::Adler32(ones),
            e2e::Adler32(Bytes(ones.begin() + 7, ones.end()), e2e::Adler32(Bytes(7, 0xFF))));
}

TEST(ZlibStored, RoundTripsAcrossBlockBoundaries) {
  struct Case {
    std::size_t size;
    int blocks;
  };
  for (const Case c : {Case{0, 1}, Case{1, 1}, Case{65535, 1}, Case{65536, 2}, Case{2 * 65535, 2},
                       Case{2 * 65535 + 1, 3}}) {
    SCOPED_TRACE(c.size);
    Bytes data(c.size);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 3);
    int blocks = 0;
    EXPECT_EQ(Unstore(e2e::ZlibStored(data), blocks), data);
    EXPECT_EQ(blocks, c.blocks);
  }
}

TEST(EncodePng, WritesSignatureChunksAndRows) {
  // 2 x 2: red, green / blue, white.
  const Bytes rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  const Bytes png = e2e::EncodePng(2, 2, rgb);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(Bytes(png.begin(), png.begin() + 8),
            (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));

  std::vector<std::string> types;
  Bytes idat;
  for (std::size_t at = 8; at < png.size();) {
    const std::uint32_t length = BigEndian(png, at);
    const std::string type(png.begin() + static_cast<long>(at + 4),
                           png.begin() + static_cast<long>(at + 8));
    const Bytes covered(png.begin() + static_cast<long>(at + 4),
                        png.begin() + static_cast<long>(at + 8 + length));
    EXPECT_EQ(BigEndian(png, at + 8 + length), e2e::Crc32(covered)) << type;
    if (type == "IHDR") {
      EXPECT_EQ(BigEndian(png, at + 8), 2u);
      EXPECT_EQ(BigEndian(png, at + 12), 2u);
      EXPECT_EQ(png[at + 16], 8);  // bit depth
      EXPECT_EQ(png[at + 17], 2);  // RGB
    }
    if (type == "IDAT") idat.assign(covered.begin() + 4, covered.end());
    types.push_back(type);
    at += 12 + length;
  }
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  int blocks = 0;
  // Each row begins with filter type 0.
  EXPECT_EQ(Unstore(idat, blocks), (Bytes{0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255}));
}

TEST(EncodePng, RefusesSizesThatDoNotFitTheData) {
  const Bytes six(6, 0);
  EXPECT_TRUE(e2e::EncodePng(0, 2, six).empty());
  EXPECT_TRUE(e2e::EncodePng(2, 0, six).empty());
  EXPECT_TRUE(e2e::EncodePng(2, 2, six).empty());
  EXPECT_TRUE(e2e::EncodePng(1, 1, six).empty());
  EXPECT_FALSE(e2e::EncodePng(2, 1, six).empty());
  EXPECT_FALSE(e2e::EncodePng(1, 2, six).empty());
}

TEST(Paths, ToWindowsPath) {
  const std::pair<const char*, const char*> cases[] = {
      {"/work/main/build/screenshots", "Z:\\work\\main\\build\\screenshots"},
      {"/", "Z:\\"},
      {"/dir with blanks/a.exe", "Z:\\dir with blanks\\a.exe"},
      {"C:\\Program Files\\Kestrel", "C:\\Program Files\\Kestrel"},
      {"z:/already/windows", "z:/already/windows"},
      {"\\\\server\\share", "\\\\server\\share"},
      {"relative/dir", "relative\\dir"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(e2e::ToWindowsPath(in), out) << in;
}

TEST(Paths, JoinBaseNameAndCommandLine) {
  EXPECT_EQ(e2e::JoinPath("C:\\P", "Kestrel.cfg"), "C:\\P\\Kestrel.cfg");
  EXPECT_EQ(e2e::JoinPath("C:\\", "x"), "C:\\x");
  EXPECT_EQ(e2e::JoinPath("", "x"), "x");
  EXPECT_EQ(e2e::JoinPath("C:\\P", "Help\\help.htm"), "C:\\P\\Help\\help.htm");
  EXPECT_EQ(e2e::BaseName("C:\\P\\Kestrel.exe"), "Kestrel.exe");
  EXPECT_EQ(e2e::BaseName("/build/Kestrel.exe"), "Kestrel.exe");
  EXPECT_EQ(e2e::BaseName("Kestrel.exe"), "Kestrel.exe");
  // The arguments reach the program exactly, blanks included.
  EXPECT_EQ(e2e::CommandLine("C:\\P\\K.exe", ""), "\"C:\\P\\K.exe\"");
  EXPECT_EQ(e2e::CommandLine("C:\\P\\K.exe", " 0 "), "\"C:\\P\\K.exe\"  0 ");
  EXPECT_EQ(e2e::CommandLine("C:\\P\\K.exe", "abc"), "\"C:\\P\\K.exe\" abc");
}

}  // namespace
