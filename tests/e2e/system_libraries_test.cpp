// A library file of a system library's name, placed in the program folder,
// is never loaded by either program: Kestrel runs as an administrator, and
// such a file would run with its rights.
// Wine prefers its built-in copies of these libraries even over a file beside
// the program, where Windows searches the program folder first: CMake has
// Wine search as Windows does for this scenario, and the scenario's control
// proves that the setting took effect.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/tray.h"
#include "tidewatch/control_ids.h"

namespace {

using e2e::App;

constexpr const char* kLibraries[] = {"wsock32.dll", "icmp.dll", "winmm.dll"};

class SystemLibraries : public e2e::KestrelTest {
 protected:
  void SetUp() override {
    KestrelTest::SetUp();
    for (const char* name : kLibraries) {
      Dir().Install(e2e::BuiltProgram("KESTREL_RECORDING_LIBRARY"), name);
    }
    Dir().Install(e2e::BuiltProgram("KESTREL_BARE_NAME_LOADER"), "loader.exe");
    Dir().Install(e2e::BuiltProgram("KESTREL_TIDEWATCH_EXE"), "Tidewatch.exe");

    // The control: a load by bare name takes the planted copy.
    App& loader = Start("loader.exe", "wsock32.dll icmp.dll winmm.dll", SW_HIDE);
    ASSERT_EQ(loader.WaitForExit(), 0u);
    for (const char* name : kLibraries) {
      ASSERT_TRUE(Dir().Exists(std::string(name) + ".loaded"))
          << name << ": the load-order setting did not take effect, so this scenario tests nothing";
      Dir().Remove(std::string(name) + ".loaded");
    }
  }

  void ExpectNoneLoaded() {
    for (const char* name : kLibraries) {
      EXPECT_FALSE(Dir().Exists(std::string(name) + ".loaded")) << name << " was loaded";
    }
  }
};

TEST_F(SystemLibraries, NeitherProgramLoadsACopyBesideIt) {
  // A ping with its sound: the monitor binds all three libraries.
  Dir().WriteFile("Ping.cfg",
                  "PingAutomatic,#FALSE#\r\nPingHost,127.0.0.1\r\nPingInterval,5\r\n"
                  "PingSound,#TRUE#\r\n");
  Dir().WriteFile("Ping.wav", "RIFF");
  App& monitor = Start("Tidewatch.exe", {}, SW_HIDE);
  const e2e::Window form =
      e2e::WaitForHiddenWindow(monitor, tidewatch::ids::kHiddenFormClass, e2e::kStartTimeout);
  e2e::WaitForTrayIcons(1, e2e::kStartTimeout);
  const long long before = e2e::IcmpEchoRequestsSent();
  e2e::TrayRightClick(form);
  e2e::WaitForPopupMenu(monitor).Choose(tidewatch::ids::position::kPingNow);
  // The echo went out: the system's libraries answered, not the planted ones.
  EXPECT_GT(e2e::Eventually([] { return e2e::IcmpEchoRequestsSent(); }, before + 1), before);
  e2e::Pause(e2e::Millis(500));
  EXPECT_FALSE(monitor.FindMessageBox().has_value()) << monitor.DescribeState();

  WaitForMainWindow(StartKestrel());
  ExpectNoneLoaded();
}

}  // namespace
