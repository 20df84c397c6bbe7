// The tray monitor as a user meets it: one icon however often it is started,
// its picture telling whether the connection-test host answers, its menu,
// and the tuning program started from it and starting it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "common/ping_dialog_ids.h"
#include "kestrel/control_ids.h"
#include "tests/e2e/driver/documents.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/ping_dialog.h"
#include "tests/e2e/driver/recorders.h"
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

// The kernel's switch for echo replies in the sandbox's own network: while it
// is set, every echo goes unanswered, as on a network that drops ICMP.
class SilentNetwork {
 public:
  SilentNetwork() { Set('1'); }
  ~SilentNetwork() { Set('0'); }
  SilentNetwork(const SilentNetwork&) = delete;
  SilentNetwork& operator=(const SilentNetwork&) = delete;

 private:
  static void Set(char value) {
    HANDLE file = CreateFileA("Z:\\proc\\sys\\net\\ipv4\\icmp_echo_ignore_all", GENERIC_WRITE,
                              0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw e2e::Failure("cannot switch the echo replies");
    const char text[] = {value, '\n'};
    DWORD written = 0;
    WriteFile(file, text, sizeof text, &written, nullptr);
    CloseHandle(file);
  }
};

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
    loaded_ = std::chrono::steady_clock::now();
    return app;
  }
  // Waits until the monitor is well between two of its checks, which come
  // every 30 s from its load, so that an echo counted then is not a check's.
  void WaitBetweenChecks() const {
    e2e::WaitUntil(
        [&] {
          const auto phase = (std::chrono::steady_clock::now() - loaded_) % Millis(30000);
          return phase > Millis(12000) && phase < Millis(22000);
        },
        "a moment between two checks", Millis(31000));
  }
  // The echo requests that Ping Now sends, counted between two checks.
  long long PingNowEchoes() const {
    WaitBetweenChecks();
    const long long before = e2e::IcmpEchoRequestsSent();
    Choose(position::kPingNow);
    e2e::Pause(Millis(1500));
    return e2e::IcmpEchoRequestsSent() - before;
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
  std::chrono::steady_clock::time_point loaded_;
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

  // Exit while the next check waits for its echo ends the monitor at once.
  e2e::WaitUntil([&] { return std::chrono::steady_clock::now() - loaded_ > Millis(32000); },
                 "the check at 30 s", Millis(30000));
  Choose(position::kExit);
  EXPECT_EQ(app_->WaitForExit(Millis(3000)), 0u);
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

TEST_F(Tidewatch, ADoubleClickStartsKestrelOnce) {
  const e2e::StartRecorder starts(Dir(), {e2e::kKestrelFile});
  StartMonitor();
  e2e::TrayDoubleClick(form_);
  starts.WaitForLinesAfter(0, e2e::kStartTimeout);
  e2e::Pause(Millis(1500));
  EXPECT_EQ(starts.Lines().size(), 1u) << testing::PrintToString(starts.Lines());
}

TEST_F(Tidewatch, ASaveInKestrelsPingDialogReachesTheRunningMonitor) {
  StartMonitor();
  Pictures().WaitForPicture(icon_, 1);
  // The built-in host answers: Ping Now sends its echo.
  EXPECT_EQ(PingNowEchoes(), 1);

  App& kestrel = StartKestrel();
  WaitForMainWindow(kestrel).Child(kestrel::ids::cmdPing).Click();
  const e2e::PingDialog dialog = e2e::PingDialog::WaitFor(kestrel);
  dialog.Click(common::ping_ids::Option2);
  dialog.TypeHost("nowhere.invalid");
  dialog.ChooseInterval("1 min.");
  dialog.Press(common::ping_ids::cmdOK);
  e2e::WaitUntil([&] { return !dialog.Dialog().Exists(); }, "the dialog to close");

  // A name without an answer sends nothing: the monitor took the new host
  // without a restart.
  EXPECT_EQ(PingNowEchoes(), 0);
  EXPECT_EQ(e2e::CountTopLevelWindows(ids::kHiddenFormClass), 1);
}

// Up at the start, silent for the checks at 30 and 60 s, up again at 90 s.
TEST_F(Tidewatch, ADroppedAndRestoredConnectionWritesOneLogLine) {
  char log[MAX_PATH] = {};
  ExpandEnvironmentStringsA("%APPDATA%\\Kestrel\\Connection log.csv", log, sizeof log);
  StartMonitor();
  Pictures().WaitForPicture(icon_, 1);
  {
    const SilentNetwork silent;
    e2e::WaitUntil([&] { return std::chrono::steady_clock::now() - loaded_ > Millis(31000); },
                   "the check at 30 s", Millis(40000));
    // That check waits for its echo; the menu opens all the same.
    const auto asked = std::chrono::steady_clock::now();
    OpenMenu().Dismiss();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, Millis(2000));
    e2e::WaitForNoPopupMenu(*app_);
    e2e::WaitUntil([&] { return std::chrono::steady_clock::now() - loaded_ > Millis(72000); },
                   "the check at 60 s to fail", Millis(45000));
  }
  std::string text;
  e2e::WaitUntil(
      [&] {
        std::ifstream in(log, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
        return text.find("\r\n", text.find("\r\n") + 2) != std::string::npos;
      },
      "a line in the connection log", Millis(35000));
  ScreenshotTray("connection-back");
  const std::regex line(
      "Start,End,Seconds\r\n\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d,"
      "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d,(\\d+)\r\n");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(text, match, line)) << text;
  // From the failure at 30 s to the answer at 90 s, give or take a check.
  const int seconds = std::stoi(match[1]);
  EXPECT_GE(seconds, 40);
  EXPECT_LE(seconds, 75);
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
