#include <gtest/gtest.h>

#include "common/os_version.h"
#include "kestrel/startup.h"
#include "platform/win32/adapters.h"
#include "tests/adapters/child_process.h"

namespace {

using platform::win32::UniqueKey;

// The Windows version Wine reports to one program is set per executable name.
void SetWineVersionForSelf(const char* version) {
  std::string self = adapters::SelfPath();
  self = self.substr(self.find_last_of('\\') + 1);
  UniqueKey key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\Wine\\AppDefaults\\" + self).c_str(), 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key.get(), "Version", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(version),
                           static_cast<DWORD>(strlen(version) + 1)),
            ERROR_SUCCESS);
}

struct VersionCase {
  const char* wineVersion;
  platform::OsVersionInfo expected;
  const char* name;
  int code;
};

class VersionQueryTest : public testing::TestWithParam<VersionCase> {};

// A second process sees the version set for it, through the real query and
// the program's manifest, and the classification names it.
TEST_P(VersionQueryTest, ReportsTheEmulatedVersion) {
  const VersionCase& c = GetParam();
  SetWineVersionForSelf(c.wineVersion);
  const std::string report = adapters::TemporaryPath("version");
  ASSERT_EQ(adapters::RunSelf("--report-version \"" + report + "\""), 0);

  unsigned long platformId = 0, major = 0, minor = 0, build = 0;
  ASSERT_EQ(std::sscanf(adapters::ReadText(report).c_str(), "%lu %lu %lu %lu", &platformId,
                        &major, &minor, &build),
            4);
  EXPECT_EQ(platformId, c.expected.platformId);
  EXPECT_EQ(major, c.expected.major);
  EXPECT_EQ(minor, c.expected.minor);
  const auto version = common::ClassifyWindowsVersion(platformId, major, minor, build);
  EXPECT_EQ(version.name, c.name);
  EXPECT_EQ(version.code, c.code);
  DeleteFileA(report.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Wine, VersionQueryTest,
    testing::Values(VersionCase{"win95", {1, 4, 0, 0}, "Windows 95", 2},
                    VersionCase{"win98", {1, 4, 10, 0}, "Windows 98", 3},
                    VersionCase{"winxp", {2, 5, 1, 0}, "Windows XP", 7},
                    VersionCase{"win7", {2, 6, 1, 0}, "Windows 7", 7},
                    // Only a program that declares Windows 10 in its manifest sees 10.0.
                    VersionCase{"win10", {2, 10, 0, 0}, "Windows 10", 7}));

TEST(SingleInstanceTest, SecondProcessSeesTheFirstUntilItEnds) {
  const std::string name = "Kestrel.AdapterTest.Instance." + std::to_string(GetCurrentProcessId());
  {
    platform::win32::Win32SingleInstance first(name);
    EXPECT_FALSE(first.AnotherInstanceRunning());
    // Asking again keeps the answer: the first copy never sees itself as another.
    EXPECT_FALSE(first.AnotherInstanceRunning());
    EXPECT_EQ(adapters::RunSelf("--report-instance " + name), 10);
  }
  EXPECT_EQ(adapters::RunSelf("--report-instance " + name), 11);
}

TEST(ProcessEnvironmentTest, ProgramDirectoryHoldsTheProgram) {
  platform::win32::Win32ProcessEnvironment environment;
  const std::string directory = environment.ProgramDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), '\\');
  const std::string self = adapters::SelfPath();
  EXPECT_EQ(self.substr(0, directory.size() + 1), directory + "\\");
  EXPECT_EQ(self.find('\\', directory.size() + 1), std::string::npos);
}

TEST(ProcessEnvironmentTest, ArgumentsFollowTheProgramName) {
  const std::string report = adapters::TemporaryPath("cmdline");
  ASSERT_EQ(adapters::RunSelf("--report-command-line \"" + report + "\"   7 x"), 0);
  const std::string commandLine = adapters::ReadText(report);
  EXPECT_EQ(kestrel::CommandLineArguments(commandLine),
            "--report-command-line \"" + report + "\"   7 x");
  DeleteFileA(report.c_str());
}

TEST(ProgramStarterTest, StartsWithoutWaitingAndReportsAMissingProgram) {
  platform::win32::Win32ProgramStarter starter;
  const std::string report = adapters::TemporaryPath("started");
  EXPECT_EQ(starter.Start("\"" + adapters::SelfPath() + "\" --report-version \"" + report + "\"",
                          platform::ShowCode::Hidden),
            0ul);
  for (int i = 0; i < 100 && GetFileAttributesA(report.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(50);
  }
  EXPECT_NE(GetFileAttributesA(report.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(report.c_str());

  const unsigned long missing =
      starter.Start("\"C:\\no such folder\\Tidewatch.exe\"", platform::ShowCode::Hidden);
  EXPECT_TRUE(missing == ERROR_FILE_NOT_FOUND || missing == ERROR_PATH_NOT_FOUND) << missing;
}

// The wait returns only when the program has ended, and lets the caller
// handle the messages that arrive meanwhile.
TEST(ProgramStarterTest, StartAndWaitReturnsWhenTheProgramHasEnded) {
  platform::win32::Win32ProgramStarter starter;
  const std::string report = adapters::TemporaryPath("waited");
  PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  int handled = 0;
  const auto handle = [&] {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) handled += message.message == WM_APP;
  };
  EXPECT_EQ(starter.StartAndWait("\"" + adapters::SelfPath() + "\" --report-version \"" + report +
                                     "\"",
                                 platform::ShowCode::Minimized, handle),
            0ul);
  EXPECT_NE(GetFileAttributesA(report.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(handled, 1);
  DeleteFileA(report.c_str());

  const unsigned long missing =
      starter.StartAndWait("\"C:\\no such folder\\regedit.exe\"", platform::ShowCode::Minimized, handle);
  EXPECT_TRUE(missing == ERROR_FILE_NOT_FOUND || missing == ERROR_PATH_NOT_FOUND) << missing;
}

TEST(SystemRestartTest, ShutdownPrivilegeCanBeEnabled) {
  platform::win32::Win32SystemRestart restart;
  EXPECT_TRUE(restart.EnableShutdownPrivilege());
}

}  // namespace
