// The driver's portable pieces: the PNG encoder and the path helpers.
#include <gtest/gtest.h>

// The decoder of the same well-kept library reads back what the encoder wrote.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/paths.h"
#include "tests/e2e/driver/png.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(EncodePng, DecodesToTheSamePixels) {
  // 2 x 2: red, green / blue, white.
  const Bytes rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  const Bytes png = e2e::EncodePng(2, 2, rgb);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(Bytes(png.begin(), png.begin() + 8),
            (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
  int width = 0;
  int height = 0;
  int channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width,
                                          &height, &channels, 3);
  ASSERT_NE(pixels, nullptr) << stbi_failure_reason();
  EXPECT_EQ(width, 2);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(channels, 3);
  EXPECT_EQ(Bytes(pixels, pixels + rgb.size()), rgb);
  stbi_image_free(pixels);
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
