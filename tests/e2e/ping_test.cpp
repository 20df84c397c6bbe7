// The ping configuration dialog over the main window: what it shows, what it
// writes to Ping.cfg, what it refuses, and the help it opens.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/ping_dialog_ids.h"
#include "kestrel/control_ids.h"
#include "tests/e2e/driver/documents.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/ping_dialog.h"
#include "tests/e2e/driver/settings_panel.h"

namespace {

namespace ids = common::ping_ids;
using e2e::App;
using e2e::PingDialog;
using e2e::Window;

constexpr const char* kManualFile =
    "PingAutomatic,#FALSE#\r\nPingHost,192.168.0.1\r\nPingInterval,10\r\nPingSound,#FALSE#\r\n";
constexpr const char* kAutomatic = "automatic host=\"Automatic\"(off,centred) interval=5 min.(off)";

class PingConfiguration : public e2e::SettingsScenario {
 protected:
  // Starts Kestrel and opens the dialog from the main window's button.
  PingDialog Open() {
    App& app = StartOn("winxp");
    main_ = WaitForMainWindow(app);
    app_ = &app;
    return Reopen();
  }
  PingDialog Reopen() {
    main_.Child(kestrel::ids::cmdPing).Click();
    return PingDialog::WaitFor(*app_);
  }
  std::optional<std::string> PingFile() { return Dir().ReadFile("Ping.cfg"); }
  void ExpectClosed(const PingDialog& dialog) {
    EXPECT_TRUE(e2e::PollUntil([&] { return !dialog.Dialog().Exists(); }))
        << dialog.Dialog().Describe();
    EXPECT_TRUE(e2e::Eventually([&] { return main_.Enabled(); }, true))
        << "the main window stays disabled";
  }

  App* app_ = nullptr;
  Window main_;
};

TEST_F(PingConfiguration, WithoutAFileOpensInAutomaticModeAndKeysPressNoButton) {
  PingDialog dialog = Open();
  EXPECT_EQ(dialog.Dialog().Text(), "Ping Configuration");
  EXPECT_EQ(dialog.Describe(), std::string(kAutomatic) + " sound=0");
  EXPECT_EQ(dialog.Control(ids::Label1).Text(),
            "Most Internet Service Providers Disconnect users after a fixed time of modem "
            "activity. Setup the Ping Interval and you will not be disconnected...");
  const auto items = dialog.Control(ids::cmbPingInterval).ComboItems();
  ASSERT_EQ(items.size(), 60u);
  EXPECT_EQ(items.front(), "1 min.");
  EXPECT_EQ(items.back(), "60 min.");
  EXPECT_FALSE(main_.Enabled()) << "the dialog is modal";
  Screenshot(dialog.Dialog(), "automatic");
  Screenshot(main_, "over-main-window");

  // Enter and Escape press none of the buttons.
  const Window focused = dialog.Control(ids::Option1);
  for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    focused.Post(WM_KEYDOWN, key, 1);
    focused.Post(WM_KEYUP, key, 0xC0000001);
  }
  dialog.Settle();
  EXPECT_TRUE(dialog.Dialog().Visible());
  EXPECT_FALSE(app_->FindMessageBox().has_value());

  dialog.Press(ids::cmdCancel);
  ExpectClosed(dialog);
  EXPECT_FALSE(PingFile().has_value());
}

TEST_F(PingConfiguration, ManualModeWritesTheFourLines) {
  PingDialog dialog = Open();
  dialog.Click(ids::Option2);
  EXPECT_EQ(dialog.Describe(), "manual host=\"\" interval=none sound=0");
  dialog.TypeHost("192.168.0.1");
  dialog.ChooseInterval("10 min.");
  EXPECT_EQ(dialog.Describe(), "manual host=\"192.168.0.1\" interval=10 min. sound=0");
  Screenshot(dialog.Dialog(), "manual");

  dialog.Press(ids::cmdOK);
  ExpectClosed(dialog);
  EXPECT_EQ(PingFile(), kManualFile);
  EXPECT_FALSE(Dir().Exists("Ping.cfg.new"));

  // The next opening reads it back.
  EXPECT_EQ(Reopen().Describe(), "manual host=\"192.168.0.1\" interval=10 min. sound=0");
}

TEST_F(PingConfiguration, EmptyHostOrNoIntervalIsRefused) {
  PingDialog dialog = Open();
  dialog.Click(ids::Option2);
  dialog.ChooseInterval("10 min.");
  dialog.Press(ids::cmdOK);
  ExpectBoxAndAnswer(*app_, "Enter Values Properly.", {IDOK}, IDOK, "box");

  dialog.Click(ids::Option1);
  dialog.Click(ids::Option2);
  dialog.TypeHost("192.168.0.1");
  dialog.Press(ids::cmdOK);
  ExpectBoxAndAnswer(*app_, "Enter Values Properly.", {IDOK}, IDOK);

  dialog.Settle();
  EXPECT_TRUE(dialog.Dialog().Visible());
  EXPECT_EQ(dialog.Describe(), "manual host=\"192.168.0.1\" interval=none sound=0");
  EXPECT_FALSE(PingFile().has_value());
}

TEST_F(PingConfiguration, DefaultThenCancelLeavesTheFile) {
  const std::string file =
      "PingAutomatic,#FALSE#\r\nPingHost,10.0.0.7\r\nPingInterval,30\r\nPingSound,#TRUE#\r\n";
  Dir().WriteFile("Ping.cfg", file);
  PingDialog dialog = Open();
  EXPECT_EQ(dialog.Describe(), "manual host=\"10.0.0.7\" interval=30 min. sound=1");
  dialog.Click(ids::cmdDefault);
  EXPECT_EQ(dialog.Describe(), std::string(kAutomatic) + " sound=0");
  dialog.Press(ids::cmdCancel);
  ExpectClosed(dialog);
  EXPECT_EQ(PingFile(), file);
  EXPECT_EQ(Reopen().Describe(), "manual host=\"10.0.0.7\" interval=30 min. sound=1");
}

TEST_F(PingConfiguration, AFileThatCannotBeReplacedIsToldAndTheDialogCloses) {
  Dir().WriteFile("Ping.cfg", kManualFile);
  PingDialog dialog = Open();
  const e2e::HeldFile held(Dir().PathOf("Ping.cfg"));
  dialog.Click(ids::Option1);
  dialog.Press(ids::cmdOK);
  ExpectBoxAndAnswer(*app_,
                     "The ping settings were not saved: the file " + Dir().PathOf("Ping.cfg") +
                         " could not be written.\r\n\r\nMake sure that the file can be written, "
                         "then save the settings again.",
                     {IDOK}, IDOK);
  ExpectClosed(dialog);
  EXPECT_FALSE(Dir().Exists("Ping.cfg.new"));
}

TEST_F(PingConfiguration, HelpButtonsOpenTheProgramFoldersGuide) {
  const e2e::DocumentRecorder documents;
  Dir().WriteFile("Help\\help.htm", "<html><body>Guide</body></html>");
  PingDialog dialog = Open();
  dialog.Click(ids::cmdHelp);
  const auto opened = documents.WaitForDocuments(1);
  EXPECT_TRUE(dialog.Dialog().Visible()) << "the dialog stays open";
  dialog.Press(ids::cmdCancel);
  ExpectClosed(dialog);

  main_.Child(kestrel::ids::cmdHelp).Click();
  const auto both = documents.WaitForDocuments(2);
  EXPECT_EQ(both[1], both[0]) << "both buttons open the same guide";
  // Wine hands the browser the file's address below the prefix.
  const std::string guide = "/dosdevices/c:/Program%20Files/Kestrel/Help/help.htm";
  EXPECT_TRUE(both[0].starts_with("file:///") && both[0].ends_with(guide)) << both[0];
  Screenshot(main_, "buttons");
}

}  // namespace
