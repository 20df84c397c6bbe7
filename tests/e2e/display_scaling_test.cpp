// The windows at the display scaling of the test's prefix (100 %, and in
// prefixes of their own 150 % and 200 %): every text whole, every control
// inside its window and none on another.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/layout.h"
#include "tests/e2e/driver/ping_dialog.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/settings_panel.h"

namespace {

namespace ids = kestrel::ids;
using e2e::App;
using e2e::Window;

enum class Shown { kMainWindow, kPingDialog, kTipOfTheDay, kModeInformation };

class DisplayScaling : public e2e::SettingsScenario, public ::testing::WithParamInterface<Shown> {
 protected:
  Window Open(Shown shown) {
    if (shown == Shown::kTipOfTheDay) {
      e2e::DeleteRegistryValue(e2e::kKestrelOptionsKey, e2e::kShowTipsAtStartup);
      // The longest tip that comes with the program: its wrapped lines must fit too.
      Dir().WriteFile("TIPs.TXT",
                      "Apply saves your choice in Kestrel.cfg and writes it into the registry, but "
                      "Windows reads TCP/IP settings only when it starts. Restart after every "
                      "Apply, or the new values wait.\r\n");
      return StartKestrel().WaitForWindow(ids::kTipWindowClass, ids::lblTipText,
                                          e2e::kStartTimeout);
    }
    // From an automatic mode to Manual, whose explanation is the longest.
    if (shown == Shown::kModeInformation) Dir().WriteFile("Kestrel.cfg", "OptiMode,2\r\n");
    App& app = StartKestrel();
    const Window main = WaitForMainWindow(app);
    if (shown == Shown::kMainWindow) return main;
    if (shown == Shown::kModeInformation) {
      main.Child(ids::cmbOptimize).ComboSelect(3);
      return WaitForModeInformation(app);
    }
    main.Child(ids::cmdPing).Click();
    return e2e::PingDialog::WaitFor(app).Dialog();
  }
};

TEST_P(DisplayScaling, EveryTextIsWholeAndNoControlLiesOnAnother) {
  const int dpi = e2e::ExpectedDpi();
  ASSERT_EQ(e2e::ScreenDpi(), dpi) << "the prefix's display scaling did not take";
  const Window window = Open(GetParam());
  EXPECT_EQ(e2e::LayoutProblems(window), std::vector<std::string>{});
  if (dpi != 96) Screenshot(window, std::to_string(dpi));

  // Moved to a monitor of another scaling (one that the screen holds), the
  // window grows or shrinks with it; moved back, it is laid out exactly as
  // before, nothing drifted by rounding.
  const int other = dpi == 192 ? 144 : dpi + 48;
  const std::vector<std::string> before = e2e::ControlPlaces(window);
  RECT client{};
  GetClientRect(window.Handle(), &client);
  window.SendDpiChanged(other, window.Rect());
  RECT moved{};
  GetClientRect(window.Handle(), &moved);
  // Only the width: Wine keeps the frame and caption of the screen's DPI.
  EXPECT_NEAR(moved.right, MulDiv(client.right, other, dpi), 1);
  window.SendDpiChanged(dpi, window.Rect());
  EXPECT_EQ(e2e::ControlPlaces(window), before);
}

INSTANTIATE_TEST_SUITE_P(Windows, DisplayScaling,
                         ::testing::Values(Shown::kMainWindow, Shown::kPingDialog,
                                           Shown::kTipOfTheDay, Shown::kModeInformation),
                         [](const auto& test) {
                           switch (test.param) {
                             case Shown::kMainWindow: return std::string("MainWindow");
                             case Shown::kPingDialog: return std::string("PingDialog");
                             case Shown::kTipOfTheDay: return std::string("TipOfTheDay");
                             default: return std::string("ModeInformation");
                           }
                         });

}  // namespace
