#include "kestrel/main_window.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include <string>
#include <vector>

#include "common/links.h"
#include "kestrel/control_ids.h"
#include "kestrel/control_panel.h"
#include "tests/doubles/fake_platform.h"
#include "tests/doubles/recording_host.h"

namespace {

namespace ids = kestrel::ids;
using kestrel::MainWindowLayout;
using kestrel::MenuEntry;

// The menu bar as lines: "File/Control name: caption" with submenus nested,
// "-" for separators.
void Flatten(const std::vector<MenuEntry>& entries, const std::string& path,
             std::vector<std::string>& out) {
  for (const MenuEntry& e : entries) {
    out.push_back(path + e.control + ": " + e.caption);
    Flatten(e.items, path + e.control + "/", out);
  }
}

TEST(MainMenuTest, CaptionsNamesAndNestingAreThoseOfTheWindow) {
  std::vector<std::string> lines;
  Flatten(kestrel::MainMenu(), "", lines);
  const std::vector<std::string> expected = {
      "mnuFile: &File",
      "mnuFile/mnuApplyNewSettings: &Apply New Settings",
      "mnuFile/mnuPreview: Preview &Changes...",
      "mnuFile/mnuFindMtu: Find the &Largest MTU...",
      "mnuFile/mnuRegistryBackup: &Registry Backup",
      "mnuFile/mnuPingConfiguration: &Ping Configuration",
      "mnuFile/mnudash1: -",
      "mnuFile/mnuRestore: Restore &Windows Original Settings",
      "mnuFile/mnuUndo: &Undo All Changes by Kestrel",
      "mnuFile/mnudash2: -",
      "mnuFile/mnuExit: &Exit",
      "mnuView: &View",
      "mnuView/mnuToolBar: &ToolBar",
      "mnuView/mnuStatusBar: &Status Bar",
      "mnuView/mnudash3: -",
      "mnuView/mnuControlPanel: &Control Panel",
      "mnuView/mnuControlPanel/mnuSystem: &Systems...",
      "mnuView/mnuControlPanel/mnuInternet: &Internet...",
      "mnuView/mnuControlPanel/mnumodem: &Modems...",
      "mnuView/mnuControlPanel/mnuNetwork: &Networks...",
      "mnuHelpMenu: &Help",
      "mnuHelpMenu/mnuHelp1: User's Guide",
      "mnuHelpMenu/mnutip: &Tip of the Day",
      "mnuHelpMenu/mnudash9: -",
      "mnuHelpMenu/mnucontactus1: Contact us",
      "mnuHelpMenu/mnucontactus1/mnuwebsite1: Visit our Web Site",
      "mnuHelpMenu/mnucontactus1/mnuemail1: Email us",
  };
  EXPECT_EQ(lines, expected);
}

// The letter after "&", lower case; none when the caption has no access key.
char AccessKey(const std::string& caption) {
  const auto at = caption.find('&');
  if (at == std::string::npos || at + 1 >= caption.size()) return 0;
  return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1])));
}

// Two items of one menu (or two buttons of the window) with the same access
// key make the key choose the first one only.
void ExpectUniqueKeys(const std::vector<std::string>& captions, const std::string& where) {
  std::set<char> seen;
  for (const std::string& caption : captions) {
    const char key = AccessKey(caption);
    if (key) {
      EXPECT_TRUE(seen.insert(key).second) << where << ": " << caption;
    }
  }
}

void ExpectUniqueMenuKeys(const std::vector<MenuEntry>& entries, const std::string& where) {
  std::vector<std::string> captions;
  for (const MenuEntry& e : entries) {
    captions.push_back(e.caption);
    ExpectUniqueMenuKeys(e.items, e.control);
  }
  ExpectUniqueKeys(captions, where);
}

TEST(MainMenuTest, AccessKeysAreUniqueInEachMenuAndInTheWindow) {
  ExpectUniqueMenuKeys(kestrel::MainMenu(), "menu bar");
  ExpectUniqueKeys(kestrel::CommandButtonCaptions(), "frmMain");
}

TEST(MainMenuTest, ToolbarPositionsKeysTooltipsAndImages) {
  std::vector<std::string> lines;
  for (const auto& b : kestrel::Toolbar()) {
    lines.push_back(b.IsSeparator() ? "|"
                                    : b.key + " \"" + b.tooltip + "\" " + std::to_string(b.image));
  }
  const std::vector<std::string> expected = {"Apply \"Apply New Settings\" 10",
                                             "Ping \"Ping Configuration\" 5",
                                             "|",
                                             "Restore \"Restore Original Settings\" 9",
                                             "Backup \"Backup Registry\" 4",
                                             "|",
                                             "Internet \"Internet Options\" 6",
                                             "System \"System Options\" 3",
                                             "Modem \"Modem Options\" 2",
                                             "Network \"Network Options\" 1",
                                             "|",
                                             "Help \"Help\" 11"};
  EXPECT_EQ(lines, expected);
}

class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest() {
    fake.files.AddDirectory(fake.environment.programDirectory);
    fake.registry.Put(platform::RegistryRoot::CurrentUser, "Software\\Kestrel\\Options",
                      "Show Tips at Startup", {platform::reg::kTypeSz, {'0', 0}});
    window.Load();
    window.SetLayout(540, 30, 26, 22);
    Forget();
  }

  void Forget() {
    host.calls.clear();
    fake.messages.shown.clear();
    fake.programs.started.clear();
    fake.shell.opened.clear();
    fake.dialogs.asked.clear();
    fake.registry.ClearCalls();
  }

  // What one command did, as one line: what it started, opened, showed or asked.
  std::string Effect() {
    std::string out;
    for (const auto& [command, show] : fake.programs.started) {
      out += "start " + command + " (" + std::to_string(static_cast<int>(show)) + ");";
    }
    for (const auto& o : fake.shell.opened) {
      out += "open " + o.document + " (" + std::to_string(static_cast<int>(o.show)) +
             (o.owner == host.owner ? ", owned" : "") + ");";
    }
    for (const auto& m : fake.messages.shown)
      out += "box " + m.text.substr(0, m.text.find('\r')) + ";";
    for (const auto& d : fake.dialogs.asked) out += "dialog " + d.title + ";";
    for (const auto& c : host.calls) out += c + ";";
    if (window.layout() != MainWindowLayout{540, 30, true, true}) out += "layout changed;";
    return out;
  }

  doubles::FakeKestrel fake;
  doubles::RecordingHost host{fake.messages};
  kestrel::MainWindowModel window{fake.app, host};
};

const std::string kPanel = "rundll32.exe shell32.dll,Control_RunDLL ";
const std::string kHelp = "C:\\Program Files\\Kestrel\\Help\\help.htm";

// Each item and each toolbar key reaches its command; commands of the same
// name do the same thing, whichever way they came.
TEST_F(MainWindowTest, EveryMenuItemRunsItsCommand) {
  const struct {
    int id;
    std::string effect;
  } cases[] = {
      // Manual with the defaults passes validation; the restart is declined.
      {ids::mnuApplyNewSettings,
       "box Changes Applied Successfully.;box System changes were successfully done.;"
       "box Keep in mind that you must restart your computer;"},
      {ids::mnuRegistryBackup, "dialog Registry Backup;pump;"},
      {ids::mnuPingConfiguration, "ping;"},
      {ids::mnuFindMtu, "mtu one.one.one.one;"},  // the built-in host in automatic ping mode
      {ids::mnuRestore, "box This Program will restore all Windows settings.;"},
      {ids::mnuUndo, "box This will put back every registry value that Kestrel has changed, as "
                     "it was before Kestrel first changed it, and delete the values that did not "
                     "exist then.;"},
      {ids::mnuExit, "close;"},
      {ids::mnuToolBar, "layout changed;"},
      {ids::mnuStatusBar, "layout changed;"},
      {ids::mnuSystem, "start " + kPanel + "sysdm.cpl,,0 (5);"},
      {ids::mnuInternet, "start " + kPanel + "inetcpl.cpl,,0 (5);"},
      {ids::mnumodem, "start " + kPanel + "telephon.cpl (5);"},
      {ids::mnuNetwork, "start " + kPanel + "ncpa.cpl (5);"},
      {ids::mnuHelp1, "open " + kHelp + " (1, owned);"},
      {ids::mnutip, "tip;"},
      {ids::mnuwebsite1, "open " + common::WebSiteAddress() + " (1, owned);"},
      {ids::mnuemail1, "open " + common::SupportMailAddress() + " (5, owned);"},
      // Separators and submenus run nothing.
      {ids::mnudash1, ""},
      {ids::mnuControlPanel, ""},
      {ids::mnucontactus1, ""},
      {0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(window.MenuItemClicked(c.id), !c.effect.empty()) << c.id;
    EXPECT_EQ(Effect(), c.effect) << c.id;
    window.SetLayout(540, 30, 26, 22);
    Forget();
  }
}

TEST_F(MainWindowTest, AMeasuredMtuFillsThePanelWithoutWritingAnything) {
  fake.app.PingSettings.PingAutomatic = false;
  fake.app.PingSettings.PingHost = "192.168.1.1";
  window.Run(kestrel::Command::FindLargestMtu);  // closed without a result
  host.measuredMtu = 1492;
  window.Run(kestrel::Command::FindLargestMtu);
  EXPECT_EQ(host.Count("mtu 192.168.1.1"), 2);
  EXPECT_EQ(window.panel().controls().txtMTU.text, "1492");
  EXPECT_EQ(fake.app.CurrentSettings.MTU, 1492);
  EXPECT_TRUE(fake.registry.Writes().empty());
}

TEST_F(MainWindowTest, EveryToolbarKeyRunsTheCommandOfItsMenuItem) {
  const struct {
    const char* key;
    int sameAs;  // 0: does nothing
  } cases[] = {
      {"Apply", ids::mnuApplyNewSettings},
      {"Ping", ids::mnuPingConfiguration},
      {"Restore", ids::mnuRestore},
      {"Backup", ids::mnuRegistryBackup},
      {"Internet", ids::mnuInternet},
      {"System", ids::mnuSystem},
      {"Modem", ids::mnumodem},
      {"Network", ids::mnuNetwork},
      {"Help", ids::mnuHelp1},
      {"", 0},
      {"apply", 0},
      {"Exit", 0},
  };
  for (const auto& c : cases) {
    if (c.sameAs) window.MenuItemClicked(c.sameAs);
    const std::string viaMenu = Effect();
    Forget();
    window.ToolbarButtonClicked(c.key);
    EXPECT_EQ(Effect(), viaMenu) << c.key;
    Forget();
  }
}

TEST_F(MainWindowTest, CommandsWaitWhileABackupRuns) {
  fake.dialogs.answer = "C:\\backup.reg";
  fake.programs.whileRunning = [&] {
    window.Run(kestrel::Command::Help);
    window.Run(kestrel::Command::Backup);
    EXPECT_TRUE(window.Busy());
  };
  window.Run(kestrel::Command::Backup);
  EXPECT_FALSE(window.Busy());
  EXPECT_TRUE(fake.shell.opened.empty());
  EXPECT_EQ(fake.dialogs.asked.size(), 1u);
  window.Run(kestrel::Command::Help);
  EXPECT_EQ(fake.shell.opened.size(), 1u);
}

// The window gives up exactly the height of what it hides, and Frame1
// follows the toolbar; any order of switching back restores the start.
TEST_F(MainWindowTest, ViewSwitchesChangeTheHeightByWhatTheyHide) {
  const struct {
    std::vector<kestrel::Command> switches;
    MainWindowLayout layout;
  } cases[] = {
      {{kestrel::Command::ToolBar}, {514, 4, false, true}},
      {{kestrel::Command::StatusBar}, {518, 30, true, false}},
      {{kestrel::Command::ToolBar, kestrel::Command::StatusBar}, {492, 4, false, false}},
      {{kestrel::Command::ToolBar, kestrel::Command::StatusBar, kestrel::Command::ToolBar,
        kestrel::Command::StatusBar},
       {540, 30, true, true}},
      {{kestrel::Command::StatusBar, kestrel::Command::ToolBar, kestrel::Command::ToolBar,
        kestrel::Command::StatusBar},
       {540, 30, true, true}},
  };
  for (const auto& c : cases) {
    window.SetLayout(540, 30, 26, 22);
    for (const auto command : c.switches) window.Run(command);
    EXPECT_EQ(window.layout(), c.layout) << c.switches.size();
    EXPECT_EQ(window.Checked(ids::mnuToolBar), c.layout.toolBarVisible);
    EXPECT_EQ(window.Checked(ids::mnuStatusBar), c.layout.statusBarVisible);
  }
  EXPECT_FALSE(window.Checked(ids::mnuExit));
}

// The load runs its steps in order and shows the window last; at each step
// the state shows which steps came before it.
TEST(MainWindowLoadOrderTest, StepsRunInOrderWithTheTipBeforeTheWindow) {
  doubles::FakeKestrel fake;
  fake.files.Put(fake.ProgramFile("\\Tidewatch.exe"), "MZ");
  fake.files.Put(fake.ProgramFile("\\Kestrel.cfg"), "ConnectionType,1\r\nOptiMode,2\r\n");
  doubles::RecordingHost host{fake.messages};
  kestrel::MainWindowModel window{fake.app, host};
  std::vector<std::string> seen;
  host.observe = [&](const std::string& call) {
    const auto panels = window.StatusPanels();
    seen.push_back(call + " os=" + std::to_string(fake.app.OSCode) +
                   " monitor=" + std::to_string(fake.programs.started.size()) + " [" + panels[0] +
                   "|" + panels[1] + "|" + panels[2] + "]" +
                   (window.panel().FormLoading ? " loading" : ""));
  };
  window.Load();
  const std::string hint = "Choose your wanted Settings and Press \"Apply\"";
  EXPECT_EQ(seen,
            (std::vector<std::string>{
                "pump os=7 monitor=0 [||OS: Windows XP] loading",
                "pump os=7 monitor=1 [||OS: Windows XP] loading",
                "pump os=7 monitor=1 [||OS: Windows XP] loading",
                "images os=7 monitor=1 [" + hint + "|Mode: Automatic #3|OS: Windows XP] loading",
                "pump os=7 monitor=1 [" + hint + "|Mode: Automatic #3|OS: Windows XP] loading",
                "tip modal os=7 monitor=1 [" + hint + "|Mode: Automatic #3|OS: Windows XP] loading",
                "show os=7 monitor=1 [" + hint + "|Mode: Automatic #3|OS: Windows XP] loading",
            }));
  EXPECT_FALSE(window.panel().FormLoading);
}

TEST(ControlPanelTest, CommandsByWindowsVersion) {
  const struct {
    std::int16_t osCode;
    const char* modem;
    const char* network;  // "" starts nothing
  } cases[] = {
      {0, "modem.cpl", ""},
      {1, "modem.cpl", "netcpl.cpl"},   // unrecognised: handled as the 95 family
      {4, "modem.cpl", "netcpl.cpl"},   // Windows ME
      {5, "modem.cpl", "ncpa.cpl"},     // Windows NT 4
      {6, "telephon.cpl", "ncpa.cpl"},  // Windows 2000
      {7, "telephon.cpl", "ncpa.cpl"},  // XP and every later version
      {8, "telephon.cpl", ""},
  };
  for (const auto& c : cases) {
    doubles::FakeKestrel fake;
    fake.app.OSCode = c.osCode;
    EXPECT_TRUE(kestrel::OpenModemOptions(fake.app));
    EXPECT_EQ(kestrel::OpenNetworkOptions(fake.app), *c.network != '\0');
    std::vector<std::pair<std::string, platform::ShowCode>> expected = {
        {kPanel + c.modem, platform::ShowCode::Show}};
    if (*c.network) expected.emplace_back(kPanel + c.network, platform::ShowCode::Show);
    EXPECT_EQ(fake.programs.started, expected) << c.osCode;
  }
}

TEST(ControlPanelTest, APageThatCannotStartIsNamedAndTheProgramRunsOn) {
  doubles::FakeKestrel fake;
  fake.programs.result = 2;  // the file is not found
  EXPECT_FALSE(kestrel::OpenSystemOptions(fake.app));
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_NE(fake.messages.shown[0].text.find(kPanel + "sysdm.cpl,,0"), std::string::npos);
  EXPECT_EQ(fake.messages.shown[0].caption, "Kestrel");
  EXPECT_EQ(fake.messages.shown[0].icon, platform::MessageIcon::Information);
}

}  // namespace
