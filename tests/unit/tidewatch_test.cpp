#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/links.h"
#include "common/ping_dialog.h"
#include "platform/single_instance.h"
#include "tests/doubles/fake_tidewatch.h"

namespace {

using doubles::FakeTidewatch;
using namespace tidewatch;
namespace ids = tidewatch::ids;

constexpr platform::Ipv4Address kTestHostAddress{192, 0, 2, 1};
constexpr std::uint32_t kTimedOut = 11010;
constexpr std::uint64_t kMinute = 60000;

// The tray monitor with the connection-test host known to the resolver.
struct Monitor : FakeTidewatch {
  explicit Monitor(bool up = true) {
    network.hosts[common::ConnectionTestHost] = {kTestHostAddress};
    SetUp(up);
  }
  void SetUp(bool up) {
    if (up) {
      network.echoStatus.erase(kTestHostAddress);
    } else {
      network.echoStatus[kTestHostAddress] = kTimedOut;
    }
  }
  int Echoes(const std::string& address, std::uint32_t timeout) const {
    const std::string call = "echo " + address + " " + std::to_string(timeout);
    return static_cast<int>(std::count(network.calls.begin(), network.calls.end(), call));
  }
  int Checks() const { return Echoes("192.0.2.1", 10000); }
  void WritePingFile(const std::string& pingHost, const std::string& interval) {
    files.Put("C:\\Program Files\\Kestrel\\Ping.cfg",
              "PingAutomatic,#FALSE#\r\nPingHost," + pingHost + "\r\nPingInterval," + interval +
                  "\r\nPingSound,#FALSE#\r\n");
  }
};

TEST(TidewatchLoad, InstallsTheRestingIconAndChecksAtOnce) {
  const struct {
    bool up;
    bool animating;
    std::vector<int> pictures;
  } cases[] = {{true, true, {5}}, {false, false, {5}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.up);
    Monitor m(c.up);
    // A manual interval does not change the minute tick.
    m.WritePingFile("10.0.0.9", "15");
    m.Load();
    EXPECT_EQ(m.Checks(), 1);
    EXPECT_EQ(m.PicturesShown(), c.pictures);
    EXPECT_EQ(m.tray.calls.front().record.window, FakeTidewatch::kWindow);
    EXPECT_EQ(m.timers.Interval(kTimerPing), 60000u);
    EXPECT_EQ(m.timers.Interval(kTimerTidewatch), 30000u);
    EXPECT_EQ(m.timers.Runs(kTimerIcon), c.animating);
    EXPECT_EQ(m.app.PingSettings.PingInterval, "15");
    EXPECT_EQ(m.form.MenuCaption(ids::mnuDisable), "Disable");
    EXPECT_TRUE(m.messages.shown.empty());
  }
}

TEST(TidewatchAnimation, FramesGoOnFromTheLastShownAfterAFailure) {
  Monitor m;
  m.Load();
  m.timers.Advance(1000);  // five frames
  EXPECT_EQ(m.PicturesShown(), (std::vector<int>{5, 1, 2, 3, 4, 1}));

  // A successful check while animating leaves the frames in their order.
  m.timers.Advance(29000);
  EXPECT_EQ(m.Checks(), 2);
  m.tray.calls.clear();
  m.timers.Advance(400);
  EXPECT_EQ(m.PicturesShown(), (std::vector<int>{3, 4}));
  EXPECT_EQ(m.form.IconFrame(), 0);

  // Down: the resting picture at the next check, and no frames after it.
  m.SetUp(false);
  m.timers.Advance(200);  // frame 1
  m.tray.calls.clear();
  m.timers.Advance(29400);  // frames 2 to 4 ..., then the check at 60 s
  m.timers.Advance(5000);
  std::vector<int> shown = m.PicturesShown();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), 5);
  EXPECT_FALSE(m.timers.Runs(kTimerIcon));
  const int lastFrame = m.form.IconFrame();

  // Up again: the frame after the last one shown.
  m.SetUp(true);
  m.tray.calls.clear();
  m.timers.Advance(25000 + 400);  // the check at 90 s, two frames
  shown = m.PicturesShown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], lastFrame % 4 + 1);
  EXPECT_LE(m.form.IconFrame(), 4);
}

TEST(TidewatchClicks, ReleasesStartKestrelAndTheRightReleaseOpensTheMenu) {
  const struct {
    std::uintptr_t message;
    int starts;
    int popups;
  } cases[] = {{0x200, 0, 0}, {0x201, 0, 0}, {0x202, 1, 0}, {0x203, 1, 0},
               {0x204, 0, 0}, {0x205, 0, 1}, {0x206, 0, 0}, {0x10202, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Monitor m;
    m.Load();
    m.tray.calls.clear();
    m.form.TrayMouse(c.message);
    ASSERT_EQ(static_cast<int>(m.shell.opened.size()), c.starts);
    if (c.starts) {
      EXPECT_EQ(m.shell.opened[0].document, m.ProgramFile("\\Kestrel.exe"));
      EXPECT_EQ(m.shell.opened[0].owner, FakeTidewatch::kWindow);
      EXPECT_EQ(m.shell.opened[0].show, platform::ShowCode::Normal);
    }
    EXPECT_EQ(m.host.popups, c.popups);
    const std::vector<std::string> popupCalls{"foreground", "empty"};
    EXPECT_EQ(m.tray.Kinds(), c.popups ? popupCalls : std::vector<std::string>{});
  }
}

TEST(TidewatchClicks, OneStartPerGestureAndAnOpenKestrelComesToTheFront) {
  constexpr platform::WindowHandle kMain = 0x5150;
  const struct {
    std::vector<std::uintptr_t> messages;
    bool kestrelOpen;
    int starts;
  } cases[] = {
      {{0x201, 0x202, 0x203, 0x202}, false, 1},                // a double-click
      {{0x201, 0x202, 0x201, 0x202}, false, 2},                // two clicks
      {{0x201, 0x202, 0x203, 0x202, 0x201, 0x202}, false, 2},  // a double-click, a click
      {{0x203, 0x202}, false, 1},                              // a press the shell missed
      {{0x201, 0x202, 0x203, 0x202}, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.messages));
    Monitor m;
    m.Load();
    if (c.kestrelOpen) m.windows.existing["KestrelMainWindow"] = kMain;
    for (const auto message : c.messages) m.form.TrayMouse(message);
    EXPECT_EQ(static_cast<int>(m.shell.opened.size()), c.starts);
    EXPECT_EQ(m.windows.broughtToFront,
              c.kestrelOpen ? std::vector<platform::WindowHandle>{kMain}
                            : std::vector<platform::WindowHandle>{});
  }
}

TEST(TidewatchClicks, ClicksWhileTheFailureIsOpenShowNoSecondOne) {
  Monitor m;
  m.Load();
  m.shell.result = 5;  // consent refused
  m.messages.whileOpen = [&] {
    for (const std::uintptr_t message : {0x201u, 0x202u, 0x203u, 0x202u}) m.form.TrayMouse(message);
    m.form.MenuCommand(ids::mnuKestrel);
  };
  m.form.TrayMouse(0x201);
  m.form.TrayMouse(0x202);
  EXPECT_EQ(m.shell.opened.size(), 1u);
  EXPECT_EQ(m.messages.shown.size(), 1u);
  // Afterwards a click tries again.
  m.messages.whileOpen = nullptr;
  m.form.TrayMouse(0x201);
  m.form.TrayMouse(0x202);
  EXPECT_EQ(m.shell.opened.size(), 2u);
}

TEST(TidewatchClicks, AKestrelThatCannotStartIsNamedAndTheMonitorRunsOn) {
  const struct {
    std::intptr_t result;
    const char* reason;  // nullptr: no message
  } cases[] = {{33, nullptr},
               {42, nullptr},
               {2, "The file was not found."},
               {3, "The file was not found."},
               {5, "Windows did not allow the start."},
               {0, "Windows reported error 0."},
               {32, "Windows reported error 32."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    Monitor m;
    m.Load();
    m.shell.result = c.result;
    m.form.MenuCommand(ids::mnuKestrel);
    if (!c.reason) {
      EXPECT_TRUE(m.messages.shown.empty());
      continue;
    }
    ASSERT_EQ(m.messages.shown.size(), 1u);
    const auto& box = m.messages.shown[0];
    EXPECT_EQ(box.text, "Kestrel could not be started:\r\nC:\\Program Files\\Kestrel\\Kestrel.exe"
                        "\r\n\r\n" + std::string(c.reason));
    EXPECT_EQ(box.caption, "Tidewatch");
    EXPECT_EQ(box.icon, platform::MessageIcon::Information);
    EXPECT_TRUE(m.form.Loaded());
    EXPECT_TRUE(m.timers.Runs(kTimerTidewatch));
  }
}

TEST(TidewatchKeepAlive, PingsTheHostEveryIntervalOfMinutes) {
  const struct {
    const char* interval;  // nullptr: automatic mode
    int minutes;
  } cases[] = {{nullptr, 5}, {"1", 1}, {"15", 15}, {"60", 60},
               // Not from the dialog: a fresh installation's interval.
               {"0", 5}, {"61", 5}, {"-3", 5}, {"007", 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.interval ? c.interval : "automatic");
    Monitor m;
    std::string address = "192.0.2.1";
    if (c.interval) {
      m.WritePingFile("10.0.0.9", c.interval);
      address = "10.0.0.9";
    } else {
      m.network.hosts[common::DefaultPingHost] = {{10, 0, 0, 8}};
      address = "10.0.0.8";
    }
    m.Load();
    EXPECT_EQ(m.form.KeepAliveInterval(), c.minutes);
    m.timers.Advance(c.minutes * kMinute - 1);
    EXPECT_EQ(m.Echoes(address, 1000), 0);
    m.timers.Advance(1);
    EXPECT_EQ(m.Echoes(address, 1000), 1);
    m.timers.Advance(2 * c.minutes * kMinute);
    EXPECT_EQ(m.Echoes(address, 1000), 3);
    EXPECT_TRUE(m.sound.played.empty());
  }
}

TEST(TidewatchKeepAlive, DisableStopsTheCountAndEnableResumesIt) {
  Monitor m;
  m.WritePingFile("10.0.0.9", "5");
  m.Load();
  m.timers.Advance(3 * kMinute);
  m.form.MenuCommand(ids::mnuDisable);
  EXPECT_EQ(m.form.MenuCaption(ids::mnuDisable), "Enable");
  EXPECT_FALSE(m.timers.Runs(kTimerPing));
  m.timers.Advance(20 * kMinute);
  EXPECT_EQ(m.Echoes("10.0.0.9", 1000), 0);
  EXPECT_EQ(m.form.KeepAliveMinutes(), 3);

  m.form.MenuCommand(ids::mnuDisable);
  EXPECT_EQ(m.form.MenuCaption(ids::mnuDisable), "Disable");
  EXPECT_EQ(m.timers.Interval(kTimerPing), 60000u);
  m.timers.Advance(2 * kMinute);
  EXPECT_EQ(m.Echoes("10.0.0.9", 1000), 1);
  // The connection check went on all the while.
  EXPECT_EQ(m.Checks(), 1 + 50);
}

TEST(TidewatchKeepAlive, OpeningTheDialogRestartsTheTimerWhileTheMenuSaysEnable) {
  Monitor m;
  m.Load();
  m.timers.Advance(2 * kMinute + 30000);
  m.form.MenuCommand(ids::mnuDisable);
  ASSERT_FALSE(m.timers.Runs(kTimerPing));

  // The user changed the settings in the tuning program meanwhile.
  m.WritePingFile("10.0.0.9", "2");
  common::PingDialogModel dialog(m.app.pingContext);
  dialog.Load();
  EXPECT_EQ(m.app.PingSettings.PingHost, "10.0.0.9");
  EXPECT_EQ(m.timers.Interval(kTimerPing), 60000u);
  EXPECT_EQ(m.form.KeepAliveMinutes(), 0);
  EXPECT_EQ(m.form.MenuCaption(ids::mnuDisable), "Enable");
  m.timers.Advance(2 * kMinute);
  EXPECT_EQ(m.Echoes("10.0.0.9", 1000), 1);

  // Enable now only changes the caption back, silently.
  m.form.MenuCommand(ids::mnuDisable);
  EXPECT_EQ(m.form.MenuCaption(ids::mnuDisable), "Disable");
  EXPECT_TRUE(m.timers.Runs(kTimerPing));
  EXPECT_EQ(m.messages.shown.size(), 1u);
}

// Kestrel saved new settings: the saved message, or the file's write time at
// the next tick when the message did not arrive.
TEST(TidewatchKeepAlive, SettingsSavedByKestrelCountFromTheNextTick) {
  for (const bool told : {true, false}) {
    SCOPED_TRACE(told);
    Monitor m;
    m.WritePingFile("10.0.0.9", "5");
    m.Load();
    m.timers.Advance(2 * kMinute);
    m.form.MenuCommand(ids::mnuDisable);
    m.form.MenuCommand(ids::mnuDisable);
    m.WritePingFile("10.0.0.7", "3");
    if (told) m.form.PingSettingsSaved();
    // The count goes on: the third minute is due at once under the new interval.
    m.timers.Advance(kMinute);
    EXPECT_EQ(m.app.PingSettings.PingHost, "10.0.0.7");
    EXPECT_EQ(m.Echoes("10.0.0.7", 1000), 1);
    EXPECT_EQ(m.Echoes("10.0.0.9", 1000), 0);
  }
}

TEST(TidewatchKeepAlive, ASavedMessageLeavesADisabledKeepAliveOff) {
  Monitor m;
  m.Load();
  m.form.MenuCommand(ids::mnuDisable);
  m.WritePingFile("10.0.0.7", "1");
  m.form.PingSettingsSaved();
  m.timers.Advance(5 * kMinute);
  EXPECT_FALSE(m.timers.Runs(kTimerPing));
  EXPECT_EQ(m.form.MenuCaption(ids::mnuDisable), "Enable");
  EXPECT_EQ(m.Echoes("10.0.0.7", 1000), 0);
}

TEST(TidewatchMenu, DisableTellsItsFourLinesAndEnableIsSilent) {
  Monitor m;
  m.Load();
  for (int i = 0; i < 4; ++i) m.form.MenuCommand(ids::mnuDisable);
  ASSERT_EQ(m.messages.shown.size(), 2u);
  for (const auto& box : m.messages.shown) {
    EXPECT_EQ(box.text,
              "You have only disabled the Ping utility...\r\n\r\nKestrel will continue boosting "
              "your Internet connection.\r\nIn order to disable the connection acceleration, you "
              "will have to run the uninstall program.");
    EXPECT_EQ(box.caption, "Tidewatch");
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(box.icon, platform::MessageIcon::Information);
  }
}

TEST(TidewatchMenu, CommandsReachTheShellTheDialogAndTheEnd) {
  Monitor m;
  m.Load();
  m.form.MenuCommand(ids::mnuWebsite);
  m.form.MenuCommand(ids::mnuemail);
  m.form.MenuCommand(ids::mnuHelp);
  m.form.MenuCommand(ids::mnuContact);  // opens the submenu only
  m.form.MenuCommand(ids::mnuPingConfiguration);
  ASSERT_EQ(m.shell.opened.size(), 3u);
  EXPECT_EQ(m.shell.opened[0].document, common::WebSiteAddress());
  EXPECT_EQ(m.shell.opened[1].show, platform::ShowCode::Show);
  EXPECT_EQ(m.shell.opened[2].document, m.ProgramFile("\\Help\\help.htm"));
  for (const auto& opened : m.shell.opened) EXPECT_EQ(opened.owner, FakeTidewatch::kWindow);
  EXPECT_EQ(m.host.dialogs, 1);

  m.tray.calls.clear();
  m.form.MenuCommand(ids::mnuExit);
  EXPECT_EQ(m.tray.Kinds(), std::vector<std::string>{"delete"});
  EXPECT_EQ(m.host.unloads, 1);
  EXPECT_TRUE(m.timers.running.empty());
  // Nothing acts any more, also when the dialog loads the settings again.
  common::PingDialogModel(m.app.pingContext).Load();
  m.form.TrayMouse(0x202);
  m.form.TimerTick(kTimerIcon);
  EXPECT_TRUE(m.timers.running.empty());
  EXPECT_EQ(m.tray.Kinds(), std::vector<std::string>{"delete"});
  EXPECT_EQ(m.shell.opened.size(), 3u);
}

// A failing socket library shows a message from inside each ping, and the
// timers tick on while it is open.
TEST(TidewatchNestedPings, TicksDuringAnOpenSocketMessageAreSkipped) {
  Monitor m;
  m.WritePingFile("10.0.0.9", "1");
  m.Load();
  m.network.startup.result = 10091;
  m.network.calls.clear();
  int open = 0;
  int deepest = 0;
  m.messages.whileOpen = [&] {
    ++open;
    deepest = std::max(deepest, open);
    if (open == 1) m.timers.Advance(5 * kMinute);  // the user reads slowly
    --open;
  };
  // The check at 30 s shows its box; the checks and keep-alive pings that
  // fall due in the five minutes it stays open start nothing.
  m.timers.Advance(30000);
  EXPECT_EQ(m.messages.shown.size(), 1u);
  // The next tick after it tries again: one box more, never one in another.
  m.timers.Advance(30000);
  EXPECT_EQ(m.messages.shown.size(), 2u);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(m.network.calls, (std::vector<std::string>{"start 257", "start 257"}));
}

// The pings wait on the network off the window's thread; their results come
// back later, when the worker is stepped.
TEST(SingleInstance, ANameHeldByAnElevatedCopyMeansAnotherCopy) {
  using platform::InstanceClaim;
  const std::pair<InstanceClaim, bool> cases[] = {{InstanceClaim::Created, false},
                                                  {InstanceClaim::AlreadyExists, true},
                                                  {InstanceClaim::AccessDenied, true},
                                                  {InstanceClaim::Failed, false}};
  for (const auto& [claim, another] : cases) {
    EXPECT_EQ(platform::AnotherInstanceHolds(claim), another) << static_cast<int>(claim);
  }
}

TEST(TidewatchPendingCheck, TicksWaitForTheResultAndExitDropsIt) {
  for (const bool exitFirst : {false, true}) {
    SCOPED_TRACE(exitFirst);
    Monitor m;
    m.worker.runAtOnce = false;
    m.Load();
    ASSERT_EQ(m.worker.queued.size(), 1u);
    EXPECT_TRUE(m.form.CheckPending());
    // Ticks while it is pending start nothing, the keep-alive's included.
    m.timers.Advance(5 * kMinute);
    EXPECT_EQ(m.worker.queued.size(), 1u);
    m.form.TrayMouse(0x205);
    EXPECT_EQ(m.host.popups, 1);
    if (exitFirst) m.form.MenuCommand(ids::mnuExit);
    m.tray.calls.clear();
    ASSERT_TRUE(m.worker.Step());
    EXPECT_FALSE(m.form.CheckPending());
    EXPECT_EQ(m.timers.Runs(kTimerIcon), !exitFirst);
    if (exitFirst) {
      EXPECT_TRUE(m.tray.calls.empty());
      EXPECT_TRUE(m.timers.running.empty());
      continue;
    }
    // The next tick checks again.
    m.timers.Advance(30000);
    EXPECT_EQ(m.worker.queued.size(), 1u);
  }
}

TEST(TidewatchPendingCheck, SocketMessagesShowAfterTheJobOneAtATime) {
  Monitor m;
  m.worker.runAtOnce = false;
  m.network.startup.result = 10091;
  m.Load();
  m.form.MenuCommand(ids::mnuPingNow);
  ASSERT_EQ(m.worker.queued.size(), 2u);
  EXPECT_TRUE(m.messages.shown.empty());
  int open = 0;
  int deepest = 0;
  m.messages.whileOpen = [&] {
    ++open;
    deepest = std::max(deepest, open);
    m.worker.Step();  // Ping Now finishes while the check's box is open
    --open;
  };
  m.worker.Step();
  EXPECT_EQ(m.messages.shown.size(), 2u);
  EXPECT_EQ(deepest, 1);
  EXPECT_FALSE(m.app.pingService.Busy());
}

TEST(TidewatchPendingCheck, PingNowPlaysItsSoundAfterTheEcho) {
  Monitor m;
  m.worker.runAtOnce = false;
  m.files.Put(m.ProgramFile("\\Ping.wav"), "RIFF");
  m.WritePingFile("10.0.0.9", "5");
  m.files.Put(m.ProgramFile("\\Ping.cfg"),
              "PingAutomatic,#FALSE#\r\nPingHost,10.0.0.9\r\nPingInterval,5\r\nPingSound,#TRUE#\r\n");
  m.Load();
  m.form.MenuCommand(ids::mnuPingNow);
  m.worker.Step();  // the first check
  EXPECT_TRUE(m.sound.played.empty());
  m.worker.Step();
  EXPECT_EQ(m.Echoes("10.0.0.9", 1000), 1);
  EXPECT_EQ(m.sound.played.size(), 1u);
}

TEST(TidewatchNestedPings, ExitWhileACheckShowsItsMessage) {
  Monitor m;
  m.network.startup.result = 10091;
  m.messages.whileOpen = [&] { m.form.MenuCommand(ids::mnuExit); };
  m.Load();
  EXPECT_EQ(m.tray.Kinds(), (std::vector<std::string>{"add", "delete"}));
  EXPECT_TRUE(m.timers.running.empty());
  EXPECT_EQ(m.host.unloads, 1);
}

}  // namespace
