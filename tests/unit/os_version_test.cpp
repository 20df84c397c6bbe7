#include <gtest/gtest.h>

#include "common/os_version.h"

namespace {

struct VersionCase {
  std::uint32_t platformId, major, minor, build;
  const char* name;
  int code;
};

class ClassifyWindowsVersionTest : public testing::TestWithParam<VersionCase> {};

std::string CaseName(const testing::TestParamInfo<VersionCase>& param) {
  const VersionCase& c = param.param;
  return "Platform" + std::to_string(c.platformId) + "_" + std::to_string(c.major) + "_" +
         std::to_string(c.minor) + "_" + std::to_string(c.build);
}

TEST_P(ClassifyWindowsVersionTest, NamesAndCodes) {
  const VersionCase& c = GetParam();
  const auto version = common::ClassifyWindowsVersion(c.platformId, c.major, c.minor, c.build);
  EXPECT_EQ(version.name, c.name);
  EXPECT_EQ(version.code, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Windows95Family, ClassifyWindowsVersionTest,
    testing::Values(VersionCase{1, 4, 0, 0, "Windows 95", 2},
                    // The major version of this family is never examined.
                    VersionCase{1, 7, 0, 0, "Windows 95", 2}, VersionCase{1, 0, 0, 0, "Windows 95", 2},
                    VersionCase{1, 4, 10, 0, "Windows 98", 3}, VersionCase{1, 4, 90, 0, "Windows ME", 4},
                    VersionCase{1, 4, 3, 0, "Windows 32", 1}, VersionCase{1, 4, 11, 0, "Windows 32", 1},
                    VersionCase{1, 4, 89, 0, "Windows 32", 1}), CaseName);

INSTANTIATE_TEST_SUITE_P(
    NtFamily, ClassifyWindowsVersionTest,
    testing::Values(VersionCase{2, 3, 51, 1057, "Windows NT", 5},
                    VersionCase{2, 4, 0, 1381, "Windows NT", 5},
                    VersionCase{2, 0, 0, 0, "Windows NT", 5},
                    VersionCase{2, 5, 0, 2195, "Windows 2000", 6},
                    VersionCase{2, 5, 1, 2600, "Windows XP", 7}), CaseName);

// Everything after XP is NT too: the NT layout and launchers apply to it.
INSTANTIATE_TEST_SUITE_P(
    NewerNt, ClassifyWindowsVersionTest,
    testing::Values(VersionCase{2, 5, 2, 3790, "Windows Server 2003", 7},
                    VersionCase{2, 5, 3, 0, "Windows NT 5.3", 7},
                    VersionCase{2, 6, 0, 6002, "Windows Vista", 7},
                    VersionCase{2, 6, 1, 7601, "Windows 7", 7},
                    VersionCase{2, 6, 2, 9200, "Windows 8", 7},
                    VersionCase{2, 6, 3, 9600, "Windows 8.1", 7},
                    VersionCase{2, 6, 4, 9841, "Windows NT 6.4", 7},
                    VersionCase{2, 10, 0, 19045, "Windows 10", 7},
                    VersionCase{2, 10, 0, 21999, "Windows 10", 7},
                    VersionCase{2, 10, 0, 22000, "Windows 11", 7},
                    VersionCase{2, 10, 0, 26100, "Windows 11", 7},
                    VersionCase{2, 10, 1, 0, "Windows NT 10.1", 7},
                    VersionCase{2, 11, 0, 30000, "Windows NT 11.0", 7}), CaseName);

// A failed query reads as platform 0.
INSTANTIATE_TEST_SUITE_P(
    Unrecognised, ClassifyWindowsVersionTest,
    testing::Values(VersionCase{0, 0, 0, 0, "Windows 32", 1}, VersionCase{0, 5, 1, 0, "Windows 32", 1},
                    VersionCase{3, 10, 0, 0, "Windows 32", 1},
                    VersionCase{0xFFFFFFFF, 4, 10, 0, "Windows 32", 1}), CaseName);

TEST(OsFamilyTest, CodesSplitIntoTwoFamiliesAndNothingElse) {
  for (std::int16_t code = -1; code <= 9; ++code) {
    EXPECT_EQ(common::IsWindows95Family(code), code >= 1 && code <= 4) << code;
    EXPECT_EQ(common::IsNtFamily(code), code >= 5 && code <= 7) << code;
  }
}

}  // namespace
