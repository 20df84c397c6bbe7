// The measurement of the largest MTU. Wine sends the don't-fragment flag
// nowhere, so loopback takes every size: the search ends at a full frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/settings_panel.h"

namespace {

namespace ids = kestrel::ids;
using e2e::App;
using e2e::SettingsPanel;
using e2e::Window;

class MtuFinder : public e2e::SettingsScenario {
 protected:
  Window Open(const App& app) const {
    return app.WaitForWindow(ids::kMtuWindowClass, ids::cmdMtuUse);
  }
  static std::string Result(const Window& finder) { return finder.Child(ids::lblMtuResult).Text(); }
  static void WaitForResult(const Window& finder, const std::string& part) {
    e2e::WaitUntil([&] { return Result(finder).find(part) != std::string::npos; },
                   "the result \"" + part + "\"", e2e::Millis{20000},
                   [&] { return Result(finder); });
  }
};

TEST_F(MtuFinder, MeasuresLoopbackCancelsAndFillsThePanel) {
  App& app = StartOn("winxp");
  const Window main = WaitForMainWindow(app);
  const SettingsPanel panel(main);
  ChooseAutomaticMode(panel, 0);

  // From the File menu: the keep-alive ping's host is in the box.
  main.Post(WM_COMMAND, MAKEWPARAM(ids::mnuFindMtu, 0), 0);
  Window finder = Open(app);
  EXPECT_EQ(finder.Child(ids::txtMtuHost).Text(), "one.one.one.one");
  EXPECT_FALSE(finder.Child(ids::cmdMtuUse).Enabled());
  finder.Child(ids::txtMtuHost).SetText("127.0.0.1");
  finder.Child(ids::cmdMtuStart).Click();
  WaitForResult(finder, "full 1500-byte frame");
  EXPECT_EQ(
      Result(finder).rfind("Largest packet that got through: 1472 bytes, so the MTU is 1500", 0),
      0u);
  EXPECT_GE(finder.Child(ids::lstMtuProbes).Send(LB_GETCOUNT), 12);
  e2e::WaitUntil([&] { return finder.Child(ids::cmdMtuUse).Enabled(); }, "Use This MTU");
  Screenshot(finder, "full-frame");

  // Use This MTU chooses Manual as a user would, with its explanation.
  finder.Child(ids::cmdMtuUse).Click();
  CloseModeInformation(WaitForModeInformation(app));
  e2e::WaitUntil([&] { return !finder.Exists() || !finder.Visible(); }, "the window to close");
  panel.Settle();
  const std::string filled = panel.Describe();
  EXPECT_NE(filled.find("optimize=3"), std::string::npos) << filled;
  EXPECT_NE(filled.find("MTU=custom:1500*"), std::string::npos) << filled;
  Screenshot(main, "panel-filled");

  // From the button beside the box: a silent host is cancelled during its
  // first tries, and closing leaves the panel as it was.
  const char* silent = std::getenv("KESTREL_SILENT_ADDRESS");
  ASSERT_TRUE(silent) << "runs only in tests/wine/sandbox.sh";
  panel.Click(ids::cmdFindMtu);
  finder = Open(app);
  finder.Child(ids::txtMtuHost).SetText(silent);
  finder.Child(ids::cmdMtuStart).Click();
  e2e::WaitUntil([&] { return finder.Child(ids::cmdMtuCancel).Enabled(); }, "the search to run");
  finder.Child(ids::cmdMtuCancel).Click();
  WaitForResult(finder, "Cancelled.");
  EXPECT_TRUE(finder.Child(ids::cmdMtuStart).Enabled());
  EXPECT_FALSE(finder.Child(ids::cmdMtuUse).Enabled());
  Screenshot(finder, "cancelled");
  finder.Child(ids::cmdMtuClose).Click();
  e2e::WaitUntil([&] { return !finder.Exists() || !finder.Visible(); }, "the window to close");
  panel.Settle();
  EXPECT_EQ(panel.Describe(), filled);
}

}  // namespace
