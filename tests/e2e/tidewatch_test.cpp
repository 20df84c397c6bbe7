// The tray monitor as a user meets it: one icon however often it is started,
// its picture telling whether the connection-test host answers, its menu,
// and the tuning program started from it and starting it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/ping_dialog_ids.h"
#include "kestrel/control_ids.h"
#include "tests/e2e/driver/documents.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/ping_dialog.h"
#include "tests/e2e/driver/tray.h"
#include "tidewatch/control_ids.h"
#include "tidewatch/win32/resource_ids.h"

namespace {

namespace ids = tidewatch::ids;
namespace position = tidewatch::ids::position;
using e2e::App;
using e2e::Millis;
using e2e::Window;

constexpr const char* kTidewatchFile = "Tidewatch.exe";
constexpr const char* kDisabledText =
    "You have only disabled the Ping utility...\r\n\r\nKestrel will continue boosting your "
    "Internet connection.\r\nIn order to disable the connection acceleration, you will have to "
    "run the uninstall program.";

class Tidewatch : public e2e::KestrelTest {
 protected:
  void SetUp() override {
    KestrelTest::SetUp();
    Dir().Install(e2e::BuiltProgram("KESTREL_TIDEWATCH_EXE"), kTidewatchFile);
  }

  // Starts the monitor, as Kestrel does (hidden), and waits for its icon.
  App& StartMonitor() {
    App& app = Start(kTidewatchFile, {}, SW_HIDE);
    form_ = e2e::WaitForHiddenWindow(app, ids::kHiddenFormClass, e2e::kStartTimeout);
    icon_ = e2e::WaitForTrayIcons(1, e2e::kStartTimeout).front();
    app_ = &app;
    return app;
  }
  const e2e::TrayPictures& Pictures() {
    if (!pictures_) {
      pictures_.emplace(Dir().PathOf(kTidewatchFile),
                        std::vector<int>{IDI_TRAY1, IDI_TRAY2, IDI_TRAY3, IDI_TRAY4, IDI_TRAY5});
    }
    return *pictures_;
  }
  e2e::PopupMenu OpenMenu() const {
    e2e::TrayRightClick(form_);
    return e2e::WaitForPopupMenu(*app_);
  }
  void Choose(int item) const {
    OpenMenu().Choose(item);
    e2e::WaitForNoPopupMenu(*app_);
  }
  void ScreenshotTray(const char* tag) const {
    if (const auto area = e2e::TrayArea()) Screenshot(*area, tag);
  }
  // The main windows of Kestrel.exe processes started from the program folder.
  std::vector<Window> KestrelWindows() {
    std::vector<Window> found;
    for (const Window& window : e2e::TopLevelWindows(kestrel::ids::kMainWindowClass)) {
      if (e2e::ProcessImage(window.ProcessId()) == Dir().PathOf(e2e::kKestrelFile)) {
        found.push_back(window);
      }
    }
    return found;
  }

  App* app_ = nullptr;
  Window form_;
  Window icon_;
  std::optional<e2e::TrayPictures> pictures_;
};

TEST_F(Tidewatch, SecondStartEndsSilentlyAndLeavesOneIcon) {
  App& first = StartMonitor();
  EXPECT_FALSE(form_.Visible());
  EXPECT_EQ(form_.Text(), "Tidewatch");
  App& second = Start(kTidewatchFile, {}, SW_HIDE);
  EXPECT_EQ(second.WaitForExitWithoutWindow(), 0u);
  e2e::Pause(Millis(500));
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(e2e::TrayIcons().size(), 1u);
  EXPECT_EQ(e2e::CountTopLevelWindows(ids::kHiddenFormClass), 1);
}

TEST_F(Tidewatch, AnimatesWhileTheHostAnswers) {
  StartMonitor();
  Pictures().WaitForPicture(icon_, 1);
  const std::vector<int> seen = Pictures().Watch(icon_, Millis(1600));
  // Frames 1 to 4, always forward; a busy machine may miss one now and then.
  EXPECT_EQ(std::set<int>(seen.begin(), seen.end()), (std::set<int>{1, 2, 3, 4}))
      << testing::PrintToString(seen);
  for (std::size_t i = 1; i < seen.size(); ++i) {
    const int step = (seen[i] - seen[i - 1] + 4) % 4;
    EXPECT_TRUE(step == 1 || step == 2) << testing::PrintToString(seen);
  }
  ScreenshotTray("animating");
}

// CMake has this test's echoes to the connection-test host go unanswered.
TEST_F(Tidewatch, RestsWhileTheHostIsSilent) {
  StartMonitor();
  // The first check waits 10 s for its echo; the window answers meanwhile,
  // and its menu opens.
  const auto started = std::chrono::steady_clock::now();
  std::chrono::steady_clock::duration worst{};
  for (int i = 0; i < 20; ++i) {
    const auto sent = std::chrono::steady_clock::now();
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(form_.Handle(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    worst = std::max(worst, std::chrono::steady_clock::now() - sent);
    e2e::Pause(Millis(100));
  }
  EXPECT_LT(worst, Millis(500));
  OpenMenu().Dismiss();
  EXPECT_LT(std::chrono::steady_clock::now() - started, Millis(9000));
  e2e::WaitForNoPopupMenu(*app_);
  // Through the first check's whole timeout and its failure.
  EXPECT_EQ(Pictures().Watch(icon_, Millis(11000)), std::vector<int>{5});
  ScreenshotTray("resting");
}

TEST_F(Tidewatch, MenuOpensTheLinksAndPingNowPings) {
  const e2e::DocumentRecorder documents;
  Dir().WriteFile("Help\\help.htm", "<html><body>Guide</body></html>");
  StartMonitor();
  Pictures().WaitForPicture(icon_, 1);  // the first check is over

  e2e::PopupMenu menu = OpenMenu();
  Screenshot(menu, "menu");
  e2e::PopupMenu contact = menu.OpenSubmenu(position::kContact);
  Screenshot(contact, "contact-us");
  // The shell hands each document on in a process of its own, so each is
  // awaited before the next, to keep their order.
  contact.Choose(position::kWebsite);
  EXPECT_EQ(documents.WaitForDocuments(1).back(), "http://www.kestrel-tuning.example/");
  OpenMenu().OpenSubmenu(position::kContact).Choose(position::kEmail);
  EXPECT_EQ(documents.WaitForDocuments(2).back(), "mailto:support@kestrel-tuning.example");
  Choose(position::kHelp);
  const std::string guide = documents.WaitForDocuments(3).back();
  EXPECT_TRUE(guide.ends_with("/dosdevices/c:/Program%20Files/Kestrel/Help/help.htm")) << guide;

  // One echo request to the configured host, well before the next check.
  const long long before = e2e::IcmpEchoRequestsSent();
  Choose(position::kPingNow);
  EXPECT_EQ(e2e::Eventually([] { return e2e::IcmpEchoRequestsSent(); }, before + 1), before + 1);
  e2e::Pause(Millis(500));
  EXPECT_EQ(e2e::IcmpEchoRequestsSent(), before + 1);
  EXPECT_FALSE(app_->FindMessageBox().has_value());
}

TEST_F(Tidewatch, DisableTellsItsTextEnableIsSilentAndExitRemovesTheIcon) {
  StartMonitor();
  OpenMenu().Choose(position::kDisable);
  const e2e::MessageBoxWindow box = app_->WaitForMessageBox();
  Screenshot(box, "disabled");
  EXPECT_EQ(box.Caption(), "Tidewatch");
  EXPECT_EQ(box.Message(), kDisabledText);
  EXPECT_EQ(box.Icon(), e2e::MessageIcon::kInformation);
  EXPECT_EQ(box.Buttons(), std::vector<int>{IDOK});
  box.AnswerAndWait(IDOK);

  Choose(position::kDisable);  // now "Enable"
  e2e::Pause(Millis(1000));
  EXPECT_FALSE(app_->FindMessageBox().has_value()) << app_->DescribeState();

  Choose(position::kExit);
  e2e::WaitForTrayIcons(0);
  EXPECT_EQ(app_->WaitForExit(), 0u);
}

TEST_F(Tidewatch, PingConfigurationOpensOnceAndExitWaitsForIt) {
  StartMonitor();
  Choose(position::kPingConfiguration);
  const e2e::PingDialog dialog = e2e::PingDialog::WaitFor(*app_);
  Choose(position::kPingConfiguration);
  e2e::Pause(Millis(500));
  EXPECT_EQ(e2e::CountTopLevelWindows(common::ping_ids::kPingWindowClass, app_->Id()), 1);
  Screenshot(dialog.Dialog(), "ping-configuration");

  // The icon goes at once; the program lives while the dialog is open.
  Choose(position::kExit);
  e2e::WaitForTrayIcons(0);
  e2e::Pause(Millis(500));
  EXPECT_TRUE(app_->Running());
  EXPECT_TRUE(dialog.Dialog().Visible());
  dialog.Press(common::ping_ids::cmdCancel);
  EXPECT_EQ(app_->WaitForExit(), 0u);
}

TEST_F(Tidewatch, LeftClickAndMenuStartKestrelFromTheSameFolder) {
  StartMonitor();
  e2e::TrayLeftClick(form_);
  e2e::WaitUntil([&] { return KestrelWindows().size() == 1; }, "Kestrel's main window",
                 e2e::kStartTimeout);
  // Kestrel's own start of the monitor ends at once.
  Choose(position::kKestrel);
  e2e::Pause(Millis(1500));
  EXPECT_EQ(KestrelWindows().size(), 1u);
  EXPECT_EQ(e2e::TrayIcons().size(), 1u);
  EXPECT_EQ(e2e::CountTopLevelWindows(ids::kHiddenFormClass), 1);
  EXPECT_FALSE(app_->FindMessageBox().has_value());
}

TEST_F(Tidewatch, KestrelThatCannotStartIsNamedAndTheMonitorRunsOn) {
  Dir().Remove(e2e::kKestrelFile);
  StartMonitor();
  e2e::TrayLeftClick(form_);
  const e2e::MessageBoxWindow box = app_->WaitForMessageBox();
  Screenshot(box, "kestrel-missing");
  EXPECT_EQ(box.Caption(), "Tidewatch");
  EXPECT_EQ(box.Message(),
            "Kestrel could not be started:\r\nC:\\Program Files\\Kestrel\\Kestrel.exe\r\n\r\nThe "
            "file was not found.");
  EXPECT_EQ(box.Icon(), e2e::MessageIcon::kInformation);
  box.AnswerAndWait(IDOK);
  EXPECT_TRUE(app_->Running());
  OpenMenu().Dismiss();
  EXPECT_EQ(e2e::TrayIcons().size(), 1u);
}

TEST_F(Tidewatch, KestrelStartsTheMonitorOnce) {
  // Each opening of the main window starts the monitor; a number on the
  // command line only starts the monitor. Every later monitor ends at once.
  for (int i = 0; i < 3; ++i) {
    App& kestrel = StartKestrel();
    WaitForMainWindow(kestrel);
    e2e::WaitForTrayIcons(1, e2e::kStartTimeout);
    kestrel.Terminate();
    EXPECT_EQ(StartKestrel("1").WaitForExit(e2e::kStartTimeout), 0u);
  }
  e2e::Pause(Millis(1500));
  EXPECT_EQ(e2e::TrayIcons().size(), 1u);
  EXPECT_EQ(e2e::CountTopLevelWindows(ids::kHiddenFormClass), 1);
}

}  // namespace
