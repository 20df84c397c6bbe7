// The main window's menus, toolbar and view switches, the tip of the day,
// Restore and the registry backup, driven as a user drives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/ping_dialog_ids.h"
#include "kestrel/control_ids.h"
#include "tests/e2e/driver/documents.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/ping_dialog.h"
#include "tests/e2e/driver/recorders.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/screenshot.h"
#include "tests/e2e/driver/settings_panel.h"

namespace {

namespace ids = kestrel::ids;
namespace keys = e2e::keys;
using e2e::App;
using e2e::Millis;
using e2e::SettingsPanel;
using e2e::Window;

const std::string kRunApplet = "rundll32.exe shell32.dll,Control_RunDLL ";
constexpr const char* kBackupTitle = "Registry Backup";
const std::string kUnicodeExportHeader = std::string(
    "\xFF\xFEW\0i\0n\0d\0o\0w\0s\0 \0R\0e\0g\0i\0s\0t\0r\0y\0 \0E\0d\0i\0t\0o\0r\0 \0"
    "V\0e\0r\0s\0i\0o\0n\0 \0005\0.\0000\0000\0",
    74);

void RunMenuItem(const Window& main, int id) {
  main.Post(WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

int ToolbarButton(int position) {
  return ids::kToolbarButtonBase + position;
}

class MainWindow : public e2e::SettingsScenario {
 protected:
  Window WaitForBackupDialog(const App& app) {
    return e2e::WaitFor<Window>(
        [&]() -> std::optional<Window> {
          for (const Window& w : e2e::TopLevelWindows("#32770", app.Id())) {
            if (e2e::WindowTitle(w) == kBackupTitle && w.FindChild(IDOK)) return w;
          }
          return std::nullopt;
        },
        "the backup file dialog", e2e::kDefaultTimeout, [&] { return app.DescribeState(); });
  }

  // The file name box of the save dialog: an edit inside a combo box, or a
  // plain edit in older dialogs.
  Window FileNameBox(const Window& dialog) {
    if (const auto combo = dialog.FindChild(0x47c)) {
      for (const Window& child : combo->Descendants()) {
        if (child.ClassName() == "Edit") return child;
      }
    }
    return dialog.Child(0x480);
  }

  void CancelBackupDialog(const App& app) {
    const Window dialog = WaitForBackupDialog(app);
    dialog.Child(IDCANCEL).Click();
    e2e::WaitUntil([&] { return !dialog.Visible(); }, "the backup dialog to close");
  }

  Window WaitForTip(const App& app, Millis timeout = e2e::kDefaultTimeout) {
    return app.WaitForWindow(ids::kTipWindowClass, ids::lblTipText, timeout);
  }

  void CloseTip(const Window& tip) {
    tip.Child(ids::cmdOK).Click();
    e2e::WaitUntil([&] { return !tip.Exists(); }, "the tip window to close");
  }

  // Opens the View menu, saves its picture and counts the dark pixels in the
  // column where the check marks go; then closes the menu again.
  int ViewMenuTickPixels(const App& app, const Window& main, std::string_view tag) {
    main.Post(WM_SYSCOMMAND, SC_KEYMENU, 'v');
    const Window menu = e2e::WaitFor<Window>(
        [&]() -> std::optional<Window> {
          for (const Window& w : e2e::TopLevelWindows("#32768", app.Id())) return w;
          return std::nullopt;
        },
        "the View menu to open");
    // The keyboard opens the menu with its first item highlighted, which
    // would draw that item's tick light on dark; the last item has none.
    menu.Post(WM_KEYDOWN, VK_UP, 0);
    e2e::Pause(Millis{300});
    Screenshot(menu, tag);
    const e2e::Image image = e2e::CaptureWindow(menu);
    int dark = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 2; x < 15 && x < image.width; ++x) {
        const std::uint32_t p = image.At(x, y);
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        // Black or dark grey only: the highlight's colour does not count.
        if (std::max({r, g, b}) < 96 && std::max({r, g, b}) - std::min({r, g, b}) < 40) ++dark;
      }
    }
    menu.Post(WM_KEYDOWN, VK_ESCAPE, 0);
    main.Post(WM_KEYDOWN, VK_ESCAPE, 0);
    e2e::WaitUntil([&] { return e2e::TopLevelWindows("#32768", app.Id()).empty(); },
                   "the View menu to close");
    return dark;
  }

  std::optional<std::string> ShowTipsSetting() {
    const auto value = e2e::ReadRegistryValue(e2e::kKestrelOptionsKey, e2e::kShowTipsAtStartup);
    return value ? value->String() : std::nullopt;
  }
};

// One command, as a menu item or a toolbar button, and what shows that it ran.
struct CommandCase {
  const char* name;
  int menu_id;
  int toolbar_position;  // 0: not on the toolbar
  enum { kStart, kOpen, kBox, kDialog, kTip, kPing } kind;
  std::string detail;  // the command line, the document, or the box's first words
};

const CommandCase kCommands[] = {
    {"Apply", ids::mnuApplyNewSettings, 1, CommandCase::kBox, "Changes Applied Successfully."},
    {"Ping", ids::mnuPingConfiguration, 2, CommandCase::kPing, ""},
    {"Restore", ids::mnuRestore, 4, CommandCase::kBox, "This Program will restore"},
    {"Backup", ids::mnuRegistryBackup, 5, CommandCase::kDialog, ""},
    {"Internet", ids::mnuInternet, 7, CommandCase::kStart, kRunApplet + "inetcpl.cpl,,0"},
    {"System", ids::mnuSystem, 8, CommandCase::kStart, kRunApplet + "sysdm.cpl,,0"},
    {"Modem", ids::mnumodem, 9, CommandCase::kStart, kRunApplet + "telephon.cpl"},
    {"Network", ids::mnuNetwork, 10, CommandCase::kStart, kRunApplet + "ncpa.cpl"},
    {"Help", ids::mnuHelp1, 12, CommandCase::kOpen, "/Kestrel/Help/help.htm"},
    {"Tip", ids::mnutip, 0, CommandCase::kTip, ""},
    {"WebSite", ids::mnuwebsite1, 0, CommandCase::kOpen, "http://"},
    {"Email", ids::mnuemail1, 0, CommandCase::kOpen, "mailto:"},
};

TEST_F(MainWindow, EveryMenuItemAndToolbarButtonReachesItsCommand) {
  const e2e::StartRecorder started(Dir(), {"rundll32.exe", "regedit.exe"});
  const e2e::DocumentRecorder opened;
  Dir().WriteFile("Help\\help.htm", "<html><body>Kestrel</body></html>");
  Dir().WriteFile("TIPs.TXT", "A tip.\r\n");
  App& app = StartOn("winxp");
  const Window main = WaitForMainWindow(app);
  const Window toolbar = main.Child(ids::Toolbar1);

  for (const bool viaToolbar : {false, true}) {
    for (const CommandCase& c : kCommands) {
      if (viaToolbar && c.toolbar_position == 0) continue;
      SCOPED_TRACE(std::string(c.name) + (viaToolbar ? " on the toolbar" : " in the menu"));
      const std::size_t starts = started.Lines().size();
      const std::size_t opens = opened.Documents().size();
      if (viaToolbar) {
        toolbar.ClickToolbarButton(ToolbarButton(c.toolbar_position));
      } else {
        RunMenuItem(main, c.menu_id);
      }
      switch (c.kind) {
        case CommandCase::kStart:
          EXPECT_EQ(started.WaitForLinesAfter(starts),
                    std::vector<std::string>{c.detail + " [show 5]"});
          break;
        case CommandCase::kOpen: {
          const auto documents = opened.WaitForDocuments(opens + 1, Millis{10000});
          EXPECT_NE(documents.back().find(c.detail), std::string::npos) << documents.back();
          break;
        }
        case CommandCase::kBox: {
          const e2e::MessageBoxWindow box = app.WaitForMessageBox();
          EXPECT_EQ(box.Message().find(c.detail), 0u) << box.Describe();
          if (c.detail == "Changes Applied Successfully.") {
            box.AnswerAndWait(IDOK);
            ExpectBoxAndAnswer(app, e2e::kRestartQuestion, {IDYES, IDNO}, IDNO);
            ExpectBoxAndAnswer(app, e2e::kRestartReminder, {IDOK}, IDOK);
          } else {
            box.AnswerAndWait(IDNO);
          }
          break;
        }
        case CommandCase::kDialog:
          CancelBackupDialog(app);
          break;
        case CommandCase::kTip:
          CloseTip(WaitForTip(app));
          break;
        case CommandCase::kPing: {
          const e2e::PingDialog dialog = e2e::PingDialog::WaitFor(app);
          dialog.Press(common::ping_ids::cmdCancel);
          e2e::WaitUntil([&] { return !dialog.Dialog().Exists(); }, "the ping dialog to close");
          break;
        }
      }
      ExpectNoBox(app);
    }
  }

  // The cancelled backups started nothing: every start was a control panel's.
  for (const std::string& line : started.Lines()) EXPECT_EQ(line.find(kRunApplet), 0u) << line;

  // Exit closes the window, and with it the program.
  RunMenuItem(main, ids::mnuExit);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

// Each bar gives back its height when hidden; both shown again restore the
// window exactly, whatever the order.
TEST_F(MainWindow, ViewSwitchesHideTheBarsAndGiveBackTheirHeight) {
  App& app = StartOn("winxp");
  const Window main = WaitForMainWindow(app);
  Screenshot(main, "menu-and-toolbar");
  const Window toolbar = main.Child(ids::Toolbar1);
  const Window status = main.Child(ids::StatusBar1);
  const Window frame = main.Child(ids::Frame1);
  const auto height = [](const Window& w) { return w.Rect().bottom - w.Rect().top; };
  const int window_height = height(main);
  const int toolbar_height = height(toolbar);
  const int status_height = height(status);
  const int frame_top = frame.Rect().top;
  const int apply_top = main.Child(ids::cmdApply).Rect().top;
  ASSERT_GT(toolbar_height, 16);
  ASSERT_GT(status_height, 10);

  // A button names itself when the mouse rests on it.
  const RECT button = toolbar.ToolbarButtonRect(ToolbarButton(5));
  const POINT middle{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  POINT screen = middle;
  ClientToScreen(toolbar.Handle(), &screen);
  SetCursorPos(screen.x, screen.y);
  toolbar.Post(WM_MOUSEMOVE, 0, MAKELPARAM(middle.x, middle.y));
  const Window tip = e2e::WaitFor<Window>(
      [&]() -> std::optional<Window> {
        for (const Window& w : e2e::TopLevelWindows(TOOLTIPS_CLASSA, app.Id())) return w;
        return std::nullopt;
      },
      "the tooltip of the Backup button");
  EXPECT_EQ(e2e::Eventually([&] { return tip.Text(); }, std::string("Backup Registry")),
            "Backup Registry");
  SetCursorPos(0, 0);

  const struct {
    int menu_id;
    int window_height;
    int frame_top;
    bool toolbar, status;
  } steps[] = {
      {ids::mnuToolBar, window_height - toolbar_height, frame_top - toolbar_height, false, true},
      {ids::mnuStatusBar, window_height - toolbar_height - status_height,
       frame_top - toolbar_height, false, false},
      {ids::mnuToolBar, window_height - status_height, frame_top, true, false},
      {ids::mnuStatusBar, window_height, frame_top, true, true},
  };
  for (const auto& step : steps) {
    RunMenuItem(main, step.menu_id);
    EXPECT_EQ(e2e::Eventually([&] { return height(main); }, step.window_height),
              step.window_height);
    EXPECT_EQ(frame.Rect().top, step.frame_top);
    // Everything in the frame moves with it.
    EXPECT_EQ(main.Child(ids::cmdApply).Rect().top - apply_top, step.frame_top - frame_top);
    EXPECT_EQ(toolbar.Visible(), step.toolbar);
    EXPECT_EQ(status.Visible(), step.status);
    if (!step.toolbar && !step.status) Screenshot(main, "without-bars");
  }

  // An open menu, with the two switches ticked again.
  ViewMenuTickPixels(app, main, "view-menu");
}

// The View menu's items are ticked exactly while their bars show, from the
// start on. Another process cannot read a menu's state, so the ticks are
// read from the open menu's picture: dark pixels in the column of the check
// marks, which no text reaches.
TEST_F(MainWindow, ViewMenuTicksFollowTheBars) {
  App& app = StartOn("winxp");
  const Window main = WaitForMainWindow(app);
  const int both = ViewMenuTickPixels(app, main, "both-ticked");
  RunMenuItem(main, ids::mnuToolBar);
  e2e::WaitUntil([&] { return !main.Child(ids::Toolbar1).Visible(); }, "the toolbar to hide");
  const int one = ViewMenuTickPixels(app, main, "one-ticked");
  RunMenuItem(main, ids::mnuStatusBar);
  e2e::WaitUntil([&] { return !main.Child(ids::StatusBar1).Visible(); }, "the status bar to hide");
  const int none = ViewMenuTickPixels(app, main, "none-ticked");
  // Each tick adds its own dark pixels; the menu's text stays the same.
  EXPECT_GT(one - none, 5) << "one tick: " << one << ", none: " << none;
  EXPECT_GT(both - one, 5) << "two ticks: " << both << ", one: " << one;
}

// The tip window opens before the main window until its box is unchecked;
// from the menu it opens beside the main window and keeps the program
// running after the main window has closed.
TEST_F(MainWindow, TipOfTheDayAtStartupAndFromTheMenu) {
  e2e::DeleteRegistryValue(e2e::kKestrelOptionsKey, e2e::kShowTipsAtStartup);
  const std::string kTip = "Try all three automatic modes to find the one that suits you best.";
  Dir().WriteFile("TIPs.TXT", kTip + "\r\n");
  App& first = StartKestrel();
  const Window tip = WaitForTip(first, e2e::kStartTimeout);
  const auto mains = e2e::TopLevelWindows(ids::kMainWindowClass, first.Id(), e2e::Visibility::kAny);
  ASSERT_EQ(mains.size(), 1u);
  EXPECT_FALSE(mains[0].Visible()) << "the main window shows before the tip is closed";
  Screenshot(tip, "startup");
  EXPECT_EQ(tip.Text(), "Tip of the Day");
  EXPECT_EQ(tip.Child(ids::TipLabel1).Text(), "Did you know...");
  EXPECT_EQ(tip.Child(ids::lblTipText).Text(), kTip);
  EXPECT_TRUE(tip.Child(ids::chkLoadTipsAtStartup).Checked());
  EXPECT_EQ(ShowTipsSetting(), "1");
  tip.Child(ids::cmdNextTip).Click();

  tip.Child(ids::chkLoadTipsAtStartup).Click();
  EXPECT_EQ(e2e::Eventually([&] { return ShowTipsSetting(); }, std::optional<std::string>("0")),
            "0");
  EXPECT_EQ(tip.Child(ids::lblTipText).Text(), kTip);
  CloseTip(tip);
  WaitForMainWindow(first).Close();
  first.WaitForExit();

  App& second = StartKestrel();
  const Window main = WaitForMainWindow(second);
  EXPECT_EQ(e2e::CountTopLevelWindows(ids::kTipWindowClass, second.Id()), 0);

  RunMenuItem(main, ids::mnutip);
  const Window again = WaitForTip(second);
  EXPECT_EQ(e2e::Eventually([&] { return ShowTipsSetting(); }, std::optional<std::string>("1")),
            "1");
  EXPECT_TRUE(main.Visible());
  main.Send(WM_NULL);  // not blocked by the tip window

  main.Close();
  e2e::WaitUntil([&] { return !main.Exists(); }, "the main window to close");
  e2e::Pause(Millis{300});
  EXPECT_TRUE(second.Running()) << "the program ended with the tip window still open";
  EXPECT_TRUE(again.Visible());
  CloseTip(again);
  EXPECT_EQ(second.WaitForExit(), 0u);
}

// Restore answers for what it did: the Windows defaults in mode Manual, in
// the registry, in the file and in the window, without the mode dialog. The
// registry gets this Windows's own defaults, or no value where Windows uses
// a built-in one: no value keeps a number of the Windows 95 family.
TEST_F(MainWindow, RestoreAfterAutomatic3WritesTheDefaultsInManual) {
  App& app = StartOn("win10");
  const SettingsPanel panel(WaitForMainWindow(app));
  panel.Choose(ids::cmbNetType, 1);
  ChooseAutomaticMode(panel, 2);

  RunMenuItem(panel.Main(), ids::mnuRestore);
  const e2e::MessageBoxWindow question = app.WaitForMessageBox();
  Screenshot(question, "question");
  EXPECT_EQ(question.Caption(), "Restore Default Settings");
  EXPECT_EQ(question.Message(),
            "This Program will restore all Windows settings.\r\nWould you like to Continue?");
  EXPECT_EQ(question.Buttons(), (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(question.DefaultButton(), IDNO);
  EXPECT_EQ(question.Icon(), e2e::MessageIcon::kInformation);
  question.AnswerAndWait(IDYES);
  ExpectBoxAndAnswer(app, "Windows default settings were successfully restored.", {IDOK}, IDOK);
  ExpectNoBox(app);
  EXPECT_EQ(e2e::CountTopLevelWindows(ids::kDisplayWindowClass, app.Id()), 0);

  EXPECT_EQ(SettingsFile(), e2e::WindowsDefaultsFile(1));
  const std::string tcpip = std::string(keys::kServicesCurrent) + keys::kTcpipSuffix;
  const struct {
    std::string key;
    const char* name;
    std::optional<e2e::RegistryValue> value;
  } values[] = {
      {tcpip, "TcpWindowSize", std::nullopt},
      {tcpip, "GlobalMaxTcpWindowSize", std::nullopt},
      {tcpip, "DefaultTTL", e2e::DwordValue(128)},
      {tcpip, "KeepAliveTime", e2e::DwordValue(7200000)},
      {tcpip, "EnablePMTUDiscovery", e2e::DwordValue(1)},
      {tcpip, "EnablePMTUBHDetect", e2e::DwordValue(1)},
      {keys::kInternetSettings, "MaxConnectionsPer1_0Server", std::nullopt},
      {keys::kInternetSettings, "MaxConnectionsPerServer", std::nullopt},
      {keys::kNdiCacheSize, "", std::nullopt},
  };
  for (const auto& v : values) {
    EXPECT_EQ(e2e::ReadRegistryValue(v.key, v.name), v.value) << v.name;
  }
  EXPECT_EQ(panel.Describe(),
            "type=1 optimize=3 [Mode: Manual] MTU=default RWIN=default TTL=default SKA=default "
            "NDI=default PMTU=1 BlackHole=0 MSCPS0=2 MSCPS1=4 panel=on");
}

// A real export by the system's registry editor into a folder whose name
// has blanks; the window answers while the editor works.
TEST_F(MainWindow, BackupToAPathWithBlanksHoldsTheExport) {
  const e2e::ProgramDirectory folder("C:\\Registry Backups");
  const std::string path = folder.PathOf("my registry.reg");
  App& app = StartOn("winxp");
  const Window main = WaitForMainWindow(app);

  main.Child(ids::Toolbar1).ClickToolbarButton(ToolbarButton(5));
  const Window dialog = WaitForBackupDialog(app);
  Screenshot(dialog, "dialog");
  FileNameBox(dialog).SetText(path);
  dialog.Child(IDOK).Click();
  e2e::WaitUntil([&] { return !dialog.Exists() || !dialog.Visible(); },
                 "the backup dialog to close");
  // Responsive while it waits: the answer comes long before the export ends.
  main.Send(WM_NULL);

  const e2e::MessageBoxWindow box = app.WaitForMessageBox(Millis{60000});
  EXPECT_EQ(box.Message(), "Registry Backup has been taken Successfully.") << box.Describe();
  EXPECT_EQ(box.Caption(), "Kestrel");
  box.AnswerAndWait(IDOK);
  const auto backup = folder.ReadFile("my registry.reg");
  ASSERT_TRUE(backup);
  EXPECT_EQ(backup->substr(0, kUnicodeExportHeader.size()), kUnicodeExportHeader);
  EXPECT_GT(backup->size(), 100000u);
}

// A name typed without an extension gets the one of the file type chosen.
TEST_F(MainWindow, BackupAddsTheChosenTypesExtension) {
  const e2e::ProgramDirectory folder("C:\\Registry Backups");
  App& app = StartOn("winxp");
  const Window main = WaitForMainWindow(app);
  RunMenuItem(main, ids::mnuRegistryBackup);
  const Window dialog = WaitForBackupDialog(app);
  // The list of file types: "Registration Entries (*.reg)". The dialog acts
  // on the end of a choice, as a click in the open list sends it.
  const Window types = dialog.Child(0x470);
  types.ComboSelect(1);
  dialog.Post(WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), reinterpret_cast<LPARAM>(types.Handle()));
  e2e::Pause(Millis{300});
  FileNameBox(dialog).SetText(folder.PathOf("no extension"));
  dialog.Child(IDOK).Click();
  const e2e::MessageBoxWindow box = app.WaitForMessageBox(Millis{60000});
  EXPECT_EQ(box.Message(), "Registry Backup has been taken Successfully.") << box.Describe();
  box.AnswerAndWait(IDOK);
  EXPECT_TRUE(folder.ReadFile("no extension.reg").has_value())
      << "as .txt: " << folder.ReadFile("no extension.txt").has_value();
  EXPECT_FALSE(folder.ReadFile("no extension").has_value());
}

}  // namespace
