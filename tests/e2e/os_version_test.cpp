// The status bar names the Windows version the program runs on.
#include <gtest/gtest.h>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/kestrel.h"

namespace {

struct VersionCase {
  const char* wine_version;
  const char* panel;
};

void PrintTo(const VersionCase& c, std::ostream* out) {
  *out << c.wine_version;
}

class OsVersion : public e2e::KestrelTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(OsVersion, StatusBarNamesIt) {
  SetKestrelVersion(GetParam().wine_version);
  e2e::App& app = StartKestrel();
  const e2e::Window main = WaitForMainWindow(app);
  const e2e::Window status = main.Child(kestrel::ids::StatusBar1);
  ASSERT_EQ(status.StatusPanelCount(), 3);
  EXPECT_EQ(e2e::Eventually([&] { return status.StatusText(2); }, std::string(GetParam().panel)),
            GetParam().panel);
  Screenshot(main, {});
}

INSTANTIATE_TEST_SUITE_P(Versions, OsVersion,
                         ::testing::Values(VersionCase{"win95", "OS: Windows 95"},
                                           VersionCase{"win98", "OS: Windows 98"},
                                           VersionCase{"winme", "OS: Windows ME"},
                                           VersionCase{"nt40", "OS: Windows NT"},
                                           VersionCase{"win2k", "OS: Windows 2000"},
                                           VersionCase{"winxp", "OS: Windows XP"},
                                           // The program's manifest declares Windows 10.
                                           VersionCase{"win10", "OS: Windows 10"}),
                         [](const auto& test) { return std::string(test.param.wine_version); });

}  // namespace
