// Undo All Changes by Kestrel: after an Apply over values of the user's own,
// the registry holds exactly what it held before, from the menu and from
// the command line.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/settings_panel.h"

namespace {

namespace ids = kestrel::ids;
namespace keys = e2e::keys;
using e2e::App;
using e2e::ReadRegistryValue;
using e2e::RegistryValue;
using e2e::Window;

constexpr const char* kInterface = "{44444444-0000-0000-0000-000000000004}";
constexpr const char* kUndone =
    "All changes by Kestrel were undone.\r\nThe registry holds your earlier settings again.";
constexpr const char* kRestartQuestion =
    "Windows uses your earlier settings again after a restart.\r\n\r\nWould you like to restart "
    "your computer now?";
constexpr const char* kReminder =
    "Keep in mind that you must restart your computer\r\nbefore your earlier settings become "
    "effective.";

class Undo : public e2e::SettingsScenario {
 protected:
  // Values of the user's own, of several types (one a text with the record's
  // separators in it); everything else of the layout is absent.
  void SeedOwnValues() {
    const std::string tcpip = std::string(keys::kServicesCurrent) + keys::kTcpipSuffix;
    e2e::WriteRegistryValue(tcpip, "DefaultTTL", e2e::DwordValue(64));
    e2e::WriteRegistryValue(tcpip, "TcpWindowSize", e2e::StringValue(" 64240 | 100% "));
    e2e::WriteRegistryValue(keys::kInternetSettings, "MaxConnectionsPerServer",
                            RegistryValue{REG_BINARY, {0x01, 0x00, 0xFF}});
    e2e::WriteRegistryValue(std::string(keys::kServicesCurrent) + keys::kInterfacesSuffix + "\\" +
                                kInterface,
                            "MTU", e2e::DwordValue(1400));
    before_ = e2e::ReadValues(values_);
  }

  // Automatic #1 applied, the restart declined; the values have changed.
  Window ApplyAutomatic1(const App& app) {
    const e2e::SettingsPanel panel(WaitForMainWindow(app));
    ChooseAutomaticMode(panel, 0);
    panel.PressApply();
    CloseModeInformation(WaitForModeInformation(app));
    ExpectAppliedAndDeclineRestart(app);
    EXPECT_NE(e2e::ReadValues(values_), before_);
    EXPECT_TRUE(Dir().ReadFile("Undo.txt").has_value());
    return panel.Main();
  }

  void ChooseUndo(const App& app, const Window& main, std::string_view screenshot_tag = {}) {
    main.Post(WM_COMMAND, MAKEWPARAM(ids::mnuUndo, 0), 0);
    const e2e::MessageBoxWindow question = app.WaitForMessageBox();
    if (!screenshot_tag.empty()) Screenshot(question, screenshot_tag);
    EXPECT_EQ(question.Caption(), "Undo All Changes by Kestrel");
    EXPECT_EQ(question.Message(),
              "This will put back every registry value that Kestrel has changed, as it was "
              "before Kestrel first changed it, and delete the values that did not exist "
              "then.\r\nWould you like to Continue?");
    EXPECT_EQ(question.Buttons(), (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(question.DefaultButton(), IDNO);
    question.AnswerAndWait(IDYES);
  }

  void ExpectAsBefore() {
    e2e::ExpectValues(values_, before_, "undone");
    EXPECT_FALSE(Dir().ReadFile("Undo.txt").has_value());
  }

  const std::vector<e2e::NamedValue> values_ = e2e::NtTunedValues(kInterface);
  e2e::ValuesSnapshot before_;
};

TEST_F(Undo, TheMenuItemPutsBackWhatWasThereBeforeApply) {
  SeedOwnValues();
  App& app = StartOn("winxp");
  const Window main = ApplyAutomatic1(app);

  ChooseUndo(app, main, "question");
  ExpectBoxAndAnswer(app, kUndone, {IDOK}, IDOK);
  ExpectBoxAndAnswer(app, kRestartQuestion, {IDYES, IDNO}, IDNO, "restart");
  ExpectBoxAndAnswer(app, kReminder, {IDOK}, IDOK);
  ExpectNoBox(app);
  ExpectAsBefore();

  ChooseUndo(app, main);
  ExpectBoxAndAnswer(app,
                     "There is nothing to undo: Kestrel has changed no registry value since it "
                     "was installed or last undone.",
                     {IDOK}, IDOK, "nothing");
  ExpectNoBox(app);
  EXPECT_TRUE(app.Running()) << app.DescribeState();
}

// The uninstaller's way: no window and an exit code, also while Kestrel is open.
TEST_F(Undo, TheCommandLineUndoesWhileKestrelIsOpen) {
  SeedOwnValues();
  App& app = StartOn("winxp");
  ApplyAutomatic1(app);

  App& undo = StartKestrel("/undo");
  EXPECT_EQ(undo.WaitForExitWithoutWindow(e2e::kStartTimeout), 0u);
  ExpectAsBefore();

  Dir().WriteFile("Undo.txt", "HKLM\\Software\\Kestrel|V|not a state\r\n");
  App& damaged = StartKestrel("/UNDO");
  EXPECT_EQ(damaged.WaitForExitWithoutWindow(e2e::kStartTimeout), 2u);
  EXPECT_TRUE(Dir().ReadFile("Undo.txt").has_value());
  EXPECT_TRUE(app.Running()) << app.DescribeState();
}

}  // namespace
