// The installer and the uninstaller as an administrator runs them: what they
// put on the machine and take away again, the tray monitor started at logon,
// and the user's own TCP/IP values after an uninstall.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/paths.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/screenshot.h"
#include "tests/e2e/driver/settings_panel.h"
#include "tests/e2e/driver/shell_link.h"
#include "tests/e2e/driver/tray.h"
#include "tidewatch/control_ids.h"

namespace {

namespace keys = e2e::keys;
using e2e::DwordValue;
using e2e::Millis;
using e2e::ReadRegistryValue;
using e2e::RegistryValue;
using e2e::StringValue;
using e2e::Window;

// An install or uninstall in a fresh prefix, with Wine's first start of
// the shell's components, takes several seconds.
constexpr Millis kSetupTimeout{60000};

// The wizard's child window that holds the controls of the page shown.
constexpr int kPageArea = 1018;

constexpr const char* kRunKey = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUninstallKey =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrel";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string Join(std::string_view a, std::string_view b) {
  return e2e::JoinPath(a, b);
}

// Every value of the keys that Apply touches on the NT family, by key and
// name; a value that is absent is simply not there.
using Snapshot = std::map<std::string, RegistryValue>;

std::vector<std::string> TunedKeys() {
  std::vector<std::string> tuned = {keys::kInternetSettings, keys::kNdiCacheSize};
  for (const char* services : {keys::kServicesCurrent, keys::kServices001}) {
    tuned.push_back(std::string(services) + keys::kTcpipSuffix);
    const std::string interfaces = std::string(services) + keys::kInterfacesSuffix;
    for (const std::string& n : e2e::RegistrySubkeys(interfaces)) {
      tuned.push_back(Join(interfaces, n));
      tuned.push_back(Join(services, n) + keys::kInterfaceTcpipSuffix);
    }
  }
  return tuned;
}

Snapshot TakeSnapshot(const std::vector<std::string>& tuned) {
  Snapshot snapshot;
  for (const std::string& key : tuned) {
    for (const std::string& name : e2e::RegistryValueNames(key)) {
      snapshot[key + " \"" + name + "\""] = ReadRegistryValue(key, name).value();
    }
  }
  return snapshot;
}

// The installers run in the folder the scenarios use for Kestrel, which the
// fixture empties first: the programs in it are the installed ones.
class Installer : public e2e::SettingsScenario {
 protected:
  void SetUp() override {
    SettingsScenario::SetUp();
    e2e::RemoveDirectoryTree(Folder());
    e2e::WriteRegistryValue(e2e::kKestrelOptionsKey, e2e::kShowTipsAtStartup, StringValue("1"));
  }

  const std::string& Folder() { return Dir().Path(); }
  std::string StartMenuFolder() const { return Join(e2e::CommonProgramsFolder(), "Kestrel"); }
  static bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  // The uninstaller hands its work to a copy of itself and ends at once; the
  // work is done when the list of installed programs has lost Kestrel.
  void WaitForUninstall() {
    e2e::WaitUntil([&] { return !e2e::RegistryKeyExists(kUninstallKey) && !Exists(Folder()); },
                   "the uninstall to finish", kSetupTimeout,
                   [&] {
                     std::string left = "left in the folder:";
                     for (const std::string& f : e2e::FilesBelow(Folder())) left += " " + f;
                     return left;
                   });
  }

  void SaveShot(const Window& window, std::string_view tag) {
    e2e::SaveScreenshot(window, "Installer." + std::string(tag));
  }
};

TEST_F(Installer, SilentInstallAndUninstallLeaveTheUsersValuesAsTheyWere) {
  // The user's own values: some there, one of an unusual type, some absent.
  const std::string tcpip = std::string(keys::kServicesCurrent) + keys::kTcpipSuffix;
  e2e::WriteRegistryValue(tcpip, "DefaultTTL", DwordValue(64));
  e2e::WriteRegistryValue(tcpip, "KeepAliveTime", StringValue("7200000"));
  e2e::WriteRegistryValue(keys::kInternetSettings, "MaxConnectionsPerServer", DwordValue(2));
  const std::string interface_key =
      Join(std::string(keys::kServicesCurrent) + keys::kInterfacesSuffix,
           "{0D1A5C3E-0000-4000-8000-0000000000A1}");
  e2e::WriteRegistryValue(interface_key, "MTU", DwordValue(1492));
  const std::vector<std::string> tuned = TunedKeys();
  const Snapshot before = TakeSnapshot(tuned);

  const std::string setup = e2e::BuiltProgram("KESTREL_SETUP_EXE");
  EXPECT_EQ(e2e::Process::Start(setup, "/S").WaitForExit(kSetupTimeout), 0u);

  // The program folder as the build staged it, with the uninstaller and an
  // empty Ping.cfg that users may write.
  std::vector<std::string> expected =
      e2e::FilesBelow(e2e::ToWindowsPath(Environment("KESTREL_INSTALLER_STAGE")));
  ASSERT_FALSE(expected.empty());
  expected.push_back("Ping.cfg");
  expected.push_back("Uninstall.exe");
  std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
  });
  const std::vector<std::string> installed = e2e::FilesBelow(Folder());
  EXPECT_EQ(installed, expected);
  EXPECT_EQ(Dir().ReadFile("Ping.cfg"), std::optional<std::string>(""));

  for (const auto& [link, target] :
       std::vector<std::pair<const char*, const char*>>{{"Kestrel.lnk", "Kestrel.exe"},
                                                        {"User's Guide.lnk", "Help\\help.htm"},
                                                        {"Uninstall.lnk", "Uninstall.exe"}}) {
    EXPECT_EQ(e2e::ShortcutTarget(Join(StartMenuFolder(), link)), Join(Folder(), target)) << link;
  }

  const std::string quoted_monitor = "\"" + Join(Folder(), "Tidewatch.exe") + "\"";
  EXPECT_EQ(ReadRegistryValue(kRunKey, "Tidewatch"), StringValue(quoted_monitor));

  const std::string uninstaller = "\"" + Join(Folder(), "Uninstall.exe") + "\"";
  const std::map<std::string, RegistryValue> entry = {
      {"DisplayName", StringValue("Kestrel")},
      {"DisplayVersion", StringValue(Environment("KESTREL_VERSION"))},
      {"Publisher", StringValue(Environment("KESTREL_PUBLISHER"))},
      {"DisplayIcon", StringValue(Join(Folder(), "Kestrel.exe") + ",0")},
      {"InstallLocation", StringValue(Folder())},
      {"UninstallString", StringValue(uninstaller)},
      {"QuietUninstallString", StringValue(uninstaller + " /S")},
      {"NoModify", DwordValue(1)},
      {"NoRepair", DwordValue(1)},
  };
  for (const auto& [name, value] : entry) {
    EXPECT_EQ(ReadRegistryValue(kUninstallKey, name), value) << name;
  }
  unsigned long long bytes = 0;
  for (const std::string& file : installed) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(Join(Folder(), file).c_str(), GetFileExInfoStandard, &data)) {
      bytes += data.nFileSizeLow;
    }
  }
  const auto size = ReadRegistryValue(kUninstallKey, "EstimatedSize");
  ASSERT_TRUE(size && size->Dword()) << (size ? size->Describe() : "missing");
  EXPECT_NEAR(static_cast<double>(*size->Dword()), static_cast<double>(bytes) / 1024, 16)
      << "kilobytes";

  // The logon start, exactly as Windows runs it.
  const e2e::App monitor(e2e::Process::StartCommandLine(quoted_monitor));
  e2e::WaitForHiddenWindow(monitor, tidewatch::ids::kHiddenFormClass);
  e2e::WaitForTrayIcons(1);

  // Kestrel tunes the machine (and leaves its undo record).
  e2e::WriteRegistryValue(e2e::kKestrelOptionsKey, e2e::kShowTipsAtStartup, StringValue("0"));
  e2e::App& kestrel = StartOn("winxp");
  const e2e::SettingsPanel panel(WaitForMainWindow(kestrel));
  ChooseAutomaticMode(panel, 0);
  panel.PressApply();
  CloseModeInformation(WaitForModeInformation(kestrel));
  ExpectAppliedAndDeclineRestart(kestrel);
  EXPECT_EQ(ReadRegistryValue(tcpip, "DefaultTTL"), DwordValue(128));
  EXPECT_NE(TakeSnapshot(tuned), before);

  // Kestrel is left open: the uninstaller closes it, and the monitor.
  const auto quiet = ReadRegistryValue(kUninstallKey, "QuietUninstallString");
  ASSERT_TRUE(quiet && quiet->String());
  EXPECT_EQ(e2e::Process::StartCommandLine(*quiet->String()).WaitForExit(kSetupTimeout), 0u);
  WaitForUninstall();

  EXPECT_EQ(TakeSnapshot(tuned), before);
  EXPECT_EQ(monitor.WaitForExit(), 0u) << "the tray monitor ends as by its own Exit";
  EXPECT_TRUE(e2e::TrayIcons().empty());
  EXPECT_EQ(kestrel.WaitForExit(), 0u);
  EXPECT_FALSE(Exists(StartMenuFolder()));
  EXPECT_FALSE(ReadRegistryValue(kRunKey, "Tidewatch"));
  EXPECT_FALSE(e2e::RegistryKeyExists("HKCU\\Software\\Kestrel"));
}

// An undo that fails stops the uninstall before anything is removed, so that
// the record and the program that reads it stay for another try.
TEST_F(Installer, AFailedUndoStopsTheSilentUninstall) {
  EXPECT_EQ(
      e2e::Process::Start(e2e::BuiltProgram("KESTREL_SETUP_EXE"), "/S").WaitForExit(kSetupTimeout),
      0u);
  Dir().WriteFile("Undo.txt", "not a record of Kestrel's\r\n");
  const std::vector<std::string> installed = e2e::FilesBelow(Folder());

  // Run in place (_?=), the uninstaller can be waited for and tells its result.
  EXPECT_EQ(e2e::Process::Start(Dir().PathOf("Uninstall.exe"), "/S _?=" + Folder())
                .WaitForExit(kSetupTimeout),
            2u);
  EXPECT_EQ(e2e::FilesBelow(Folder()), installed);
  EXPECT_TRUE(ReadRegistryValue(kRunKey, "Tidewatch"));
  EXPECT_TRUE(ReadRegistryValue(kUninstallKey, "UninstallString"));
  EXPECT_TRUE(Exists(Join(StartMenuFolder(), "Kestrel.lnk")));
}

// The guide's page for administrators, as written: silent install, /apply
// with a settings file from a share, /undo, /apply again, silent uninstall.
TEST_F(Installer, TheAdministratorsStepsAsTheGuideGivesThem) {
  const std::vector<std::string> tuned = TunedKeys();
  const Snapshot before = TakeSnapshot(tuned);
  const std::string share = "C:\\deploy";
  CreateDirectoryA(share.c_str(), nullptr);
  const std::string cfg = Join(share, "Kestrel.cfg");
  {
    std::ofstream out(cfg, std::ios::binary);
    out << e2e::CustomValuesFile(2);
  }
  EXPECT_EQ(
      e2e::Process::Start(e2e::BuiltProgram("KESTREL_SETUP_EXE"), "/S").WaitForExit(kSetupTimeout),
      0u);
  SetKestrelVersion("win10");
  const std::string tcpip = std::string(keys::kServicesCurrent) + keys::kTcpipSuffix;
  const auto run = [&](const std::string& arguments) {
    return StartKestrel(arguments).WaitForExitWithoutWindow(e2e::kStartTimeout);
  };
  EXPECT_EQ(run("/apply \"" + cfg + "\""), 0u);
  EXPECT_EQ(ReadRegistryValue(tcpip, "DefaultTTL"), DwordValue(64));
  EXPECT_EQ(run("/undo"), 0u);
  EXPECT_EQ(TakeSnapshot(tuned), before);

  EXPECT_EQ(run("/apply \"" + cfg + "\""), 0u);
  EXPECT_EQ(e2e::Process::Start(Dir().PathOf("Uninstall.exe"), "/S _?=" + Folder())
                .WaitForExit(kSetupTimeout),
            0u);
  EXPECT_EQ(TakeSnapshot(tuned), before);
  DeleteFileA(cfg.c_str());
  RemoveDirectoryA(share.c_str());
}

// The pages a user clicks through, each saved as a picture for the guide.
TEST_F(Installer, PagesOfTheInstallerAndTheUninstaller) {
  const e2e::App setup(e2e::Process::Start(e2e::BuiltProgram("KESTREL_SETUP_EXE"), ""));
  // A page is told by what only it shows; the wizard keeps its buttons.
  const auto page = [](const Window& wizard, std::string_view text) {
    return e2e::WaitFor<Window>(
        [&]() -> std::optional<Window> {
          for (const Window& child : wizard.Descendants()) {
            if (child.Visible() && e2e::WindowTitle(child) == text) return child;
          }
          return std::nullopt;
        },
        "the page with \"" + std::string(text) + "\"", kSetupTimeout,
        [&] { return e2e::DescribeWindows(wizard.Descendants()); });
  };

  const Window wizard = setup.WaitForWindow("#32770", kPageArea, kSetupTimeout);
  EXPECT_EQ(wizard.Text(), "Kestrel " + Environment("KESTREL_VERSION") + " Setup");
  page(wizard, "Welcome to Kestrel " + Environment("KESTREL_VERSION"));
  SaveShot(wizard, "1-welcome");
  wizard.Child(IDOK).Click();

  page(wizard, "Choose Install Location");
  EXPECT_EQ(wizard.WaitForChild(1019).Text(), Folder()) << "the folder field";
  SaveShot(wizard, "2-folder");
  wizard.Child(IDOK).Click();

  const Window run = page(wizard, "&Run Kestrel");
  EXPECT_TRUE(run.Checked());
  SaveShot(wizard, "3-finish");
  wizard.Child(IDOK).Click();

  // Run Kestrel starts it as a newcomer sees it: the tip first, and the monitor.
  setup.WaitForExit(kSetupTimeout);
  EXPECT_TRUE(
      e2e::PollUntil([] { return !e2e::TopLevelWindows(kestrel::ids::kTipWindowClass).empty(); },
                     e2e::kStartTimeout))
      << "the tip of the day";
  e2e::WaitForTrayIcons(1, e2e::kStartTimeout);

  // The question about the undo comes only with an undo record; No keeps
  // this one unread.
  Dir().WriteFile("Undo.txt", "the scenario's own record\r\n");
  Start("Uninstall.exe");
  // It runs as a copy of itself, so its windows belong to another process.
  const std::string title = "Kestrel " + Environment("KESTREL_VERSION") + " Uninstall";
  const auto uninstaller_window = [&](int child_id, std::string_view what) {
    return e2e::WaitFor<Window>(
        [&]() -> std::optional<Window> {
          for (const Window& w : e2e::TopLevelWindows("#32770")) {
            // Each page may add its own words to the title.
            if (e2e::WindowTitle(w).starts_with(title) && w.FindChild(child_id)) {
              return w;
            }
          }
          return std::nullopt;
        },
        what, kSetupTimeout, [] { return e2e::DescribeWindows(e2e::TopLevelWindows("#32770")); });
  };
  const Window unwizard = uninstaller_window(kPageArea, "the uninstaller's window");
  page(unwizard, "Uninstall Kestrel");
  SaveShot(unwizard, "4-uninstall");
  unwizard.Child(IDOK).Click();

  const e2e::MessageBoxWindow question(uninstaller_window(IDYES, "the undo question"));
  SaveShot(question, "5-undo-question");
  EXPECT_NE(question.Message().find("TCP/IP settings back"), std::string::npos)
      << question.Describe();
  EXPECT_EQ(question.Buttons(), (std::vector<int>{IDYES, IDNO})) << question.Describe();
  EXPECT_EQ(question.DefaultButton(), IDYES) << question.Describe();
  question.AnswerAndWait(IDNO);

  page(unwizard, "&Finish");
  SaveShot(unwizard, "6-uninstalled");
  unwizard.Child(IDOK).Click();
  WaitForUninstall();
  EXPECT_TRUE(e2e::TrayIcons().empty());
}

}  // namespace
