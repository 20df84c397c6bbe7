// Kestrel.cfg: the applied choice comes back at the next start, a damaged
// file gives the Windows defaults, and a file that cannot be written stops
// Apply before the registry is touched.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/settings_panel.h"

namespace {

namespace ids = kestrel::ids;
namespace keys = e2e::keys;
using e2e::App;
using e2e::SettingsPanel;
using e2e::Window;

const std::string kTcpip = std::string(keys::kServicesCurrent) + keys::kTcpipSuffix;

// The panel of the first start: Manual, every group on "Windows Default".
constexpr const char* kDefaultPanel =
    "type=0 optimize=3 [Mode: Manual] MTU=default RWIN=default TTL=default SKA=default "
    "NDI=default PMTU=1 BlackHole=0 MSCPS0=2 MSCPS1=4 panel=on";

std::string AutomaticPanel(int type, int mode) {
  return "type=" + std::to_string(type) + " optimize=" + std::to_string(mode) +
         " [Mode: Automatic #" + std::to_string(mode + 1) +
         "] MTU=none RWIN=none TTL=none SKA=none NDI=none PMTU=0 BlackHole=0 MSCPS0= MSCPS1= "
         "panel=off";
}

// --- The choice applied comes back -----------------------------------------

struct ReopenCase {
  const char* name;
  std::function<void(const SettingsPanel&)> choose;
  bool automatic;
  std::string file;
  std::optional<DWORD> window_size;  // written on XP; nothing: deleted
  std::string panel;                 // as the next start shows it
};

void PrintTo(const ReopenCase& c, std::ostream* out) {
  *out << c.name;
}

class Reopen : public e2e::SettingsScenario, public ::testing::WithParamInterface<ReopenCase> {
 protected:
  void Apply(const App& app, const SettingsPanel& panel) {
    panel.PressApply();
    if (GetParam().automatic) CloseModeInformation(WaitForModeInformation(app));
    ExpectAppliedAndDeclineRestart(app);
  }
};

TEST_P(Reopen, ShowsTheAppliedChoiceAgain) {
  const ReopenCase& c = GetParam();
  App& first = StartOn("winxp");
  const SettingsPanel before(WaitForMainWindow(first));
  c.choose(before);
  Apply(first, before);
  ASSERT_EQ(SettingsFile(), std::optional<std::string>(c.file));
  EXPECT_EQ(e2e::ReadRegistryValue(kTcpip, "TcpWindowSize"),
            c.window_size ? std::optional(e2e::DwordValue(*c.window_size)) : std::nullopt);
  before.Main().Close();
  first.WaitForExit();

  App& second = StartKestrel();
  const SettingsPanel after(WaitForMainWindow(second));
  EXPECT_EQ(after.Describe(), c.panel);
  Screenshot(after.Main(), "reopened");

  // Applied again unchanged, the same file results.
  Apply(second, after);
  EXPECT_EQ(SettingsFile(), std::optional<std::string>(c.file));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, Reopen,
    ::testing::Values(
        ReopenCase{"Automatic2",
                   [](const SettingsPanel& p) {
                     p.Choose(ids::cmbNetType, 2);
                     p.Choose(ids::cmbOptimize, 1);
                   },
                   true, "ConnectionType,2\r\nOptiMode,1\r\n", std::nullopt, AutomaticPanel(2, 1)},
        ReopenCase{"ManualCustom",
                   [](const SettingsPanel& p) {
                     p.Choose(ids::cmbNetType, 3);
                     p.SetCustomValues();
                   },
                   false, e2e::CustomValuesFile(3), 11200,
                   "type=3 optimize=3 [Mode: Manual] MTU=custom:1400* RWIN=custom:x8* "
                   "TTL=custom:64* SKA=custom:5 min.* NDI=custom:16* PMTU=0 BlackHole=1 "
                   "MSCPS0=10 MSCPS1=6 panel=on"},
        // The window size follows an MTU typed after the multiplier was chosen.
        ReopenCase{"WindowSizeFollowsMtu",
                   [](const SettingsPanel& p) {
                     p.Click(ids::optRWIN2);
                     p.Choose(ids::cmbRWIN, "x4");
                     p.Click(ids::optMTU2);
                     p.SetText(ids::txtMTU, "1000");
                   },
                   false,
                   "ConnectionType,0\r\nOptiMode,3\r\nMTU,#TRUE#,1000\r\nRWIN,#TRUE#,0,4000\r\n"
                   "TTL,#FALSE#,32\r\nSKA,#FALSE#,-1,3600000\r\nNDI,#FALSE#,-1,0\r\n"
                   "PMTU,#TRUE#\r\nBlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1,2,4\r\n",
                   4000,
                   "type=0 optimize=3 [Mode: Manual] MTU=custom:1000* RWIN=custom:x4* "
                   "TTL=default SKA=default NDI=default PMTU=1 BlackHole=0 MSCPS0=2 MSCPS1=4 "
                   "panel=on"},
        // The connection type can change after the mode without undoing it.
        ReopenCase{"TypeChosenAfterMode",
                   [](const SettingsPanel& p) {
                     p.Choose(ids::cmbOptimize, 0);
                     p.Choose(ids::cmbNetType, 1);
                   },
                   true, "ConnectionType,1\r\nOptiMode,0\r\n", 4288, AutomaticPanel(1, 0)}),
    [](const auto& test) { return std::string(test.param.name); });

// --- What a start makes of the file there ----------------------------------

struct LoadCase {
  const char* name;
  std::string file;
  std::string panel;
};

void PrintTo(const LoadCase& c, std::ostream* out) {
  *out << c.name;
}

class Load : public e2e::SettingsScenario, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(Load, ShowsTheFileOrTheDefaults) {
  Dir().WriteFile("Kestrel.cfg", GetParam().file);
  App& app = StartOn("winxp");
  const SettingsPanel panel(WaitForMainWindow(app));
  EXPECT_EQ(panel.Describe(), GetParam().panel);
  // Reading leaves the file as it was, whatever it holds.
  EXPECT_EQ(SettingsFile(), std::optional<std::string>(GetParam().file));
  EXPECT_FALSE(app.FindMessageBox().has_value()) << app.DescribeState();
}

// The Windows defaults' file of connection type 1 with one line changed.
std::string DefaultsWith(const std::string& line, const std::string& changed) {
  std::string file = e2e::WindowsDefaultsFile(1);
  return file.replace(file.find(line), line.size(), changed);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Load,
    ::testing::Values(
        LoadCase{"Automatic2", "ConnectionType,2\r\nOptiMode,1\r\n", AutomaticPanel(2, 1)},
        LoadCase{"KeysAreNotCompared", "Anything,1\r\nOptiMode,0\r\n", AutomaticPanel(1, 0)},
        LoadCase{"AutomaticIgnoresTheRest", e2e::CustomValuesFile(3, 2), AutomaticPanel(3, 2)},
        LoadCase{"Restored", e2e::WindowsDefaultsFile(0), kDefaultPanel},
        LoadCase{"Custom",
                 "ConnectionType,1\r\nOptiMode,3\r\nMTU,#TRUE#,576\r\nRWIN,#TRUE#,6,9216\r\n"
                 "TTL,#FALSE#,32\r\nSKA,#TRUE#,59,3600000\r\nNDI,#TRUE#,6,64\r\nPMTU,#TRUE#\r\n"
                 "BlackHole,#TRUE#\r\nMSCPS0,58,60\r\nMSCPS1,0,2\r\n",
                 "type=1 optimize=3 [Mode: Manual] MTU=custom:576* RWIN=custom:x16* TTL=default "
                 "SKA=custom:60 min.* NDI=custom:64* PMTU=1 BlackHole=1 MSCPS0=60 MSCPS1=2 "
                 "panel=on"},
        // Damaged files: the Windows defaults, silently.
        LoadCase{"EndsAfterLine5",
                 "ConnectionType,2\r\nOptiMode,3\r\nMTU,#TRUE#,1400\r\nRWIN,#TRUE#,2,11200\r\n"
                 "TTL,#TRUE#,64\r\n",
                 kDefaultPanel},
        LoadCase{"Empty", "", kDefaultPanel},
        LoadCase{"NotANumber", "ConnectionType,one\r\nOptiMode,0\r\n", kDefaultPanel},
        LoadCase{"TooLargeFor16Bits", "ConnectionType,65537\r\nOptiMode,0\r\n", kDefaultPanel},
        LoadCase{"BooleanInLowerCase", DefaultsWith("MTU,#FALSE#,1500", "MTU,#true#,1400"),
                 kDefaultPanel},
        // Out of the lists' range: counted as damaged too.
        LoadCase{"ConnectionTypeBeyondList", "ConnectionType,4\r\nOptiMode,0\r\n", kDefaultPanel},
        LoadCase{"NoConnectionType", "ConnectionType,-1\r\nOptiMode,1\r\n", kDefaultPanel},
        LoadCase{"ModeBeyondList", "ConnectionType,1\r\nOptiMode,4\r\n", kDefaultPanel},
        LoadCase{"MultiplierBeyondList", DefaultsWith("RWIN,#FALSE#,-1", "RWIN,#TRUE#,7"),
                 kDefaultPanel},
        LoadCase{"KeepAliveBeyondList", DefaultsWith("SKA,#FALSE#,-1", "SKA,#TRUE#,60"),
                 kDefaultPanel}),
    [](const auto& test) { return std::string(test.param.name); });

// A window size saved with an MTU it no longer fits is recomputed from the
// multiplier at the next start, and that is what the next Apply writes.
class StaleWindowSize : public e2e::SettingsScenario {};

TEST_F(StaleWindowSize, IsRecomputedFromTheMultiplier) {
  Dir().WriteFile("Kestrel.cfg",
                  "ConnectionType,0\r\nOptiMode,3\r\nMTU,#TRUE#,1000\r\nRWIN,#TRUE#,0,6000\r\n"
                  "TTL,#FALSE#,32\r\nSKA,#FALSE#,-1,3600000\r\nNDI,#FALSE#,-1,0\r\nPMTU,#TRUE#\r\n"
                  "BlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1,2,4\r\n");
  App& app = StartOn("winxp");
  const SettingsPanel panel(WaitForMainWindow(app));
  panel.PressApply();
  ExpectAppliedAndDeclineRestart(app);
  const std::string file = SettingsFile().value_or("(no file)");
  EXPECT_NE(file.find("\r\nRWIN,#TRUE#,0,4000\r\n"), std::string::npos) << file;
  EXPECT_EQ(e2e::ReadRegistryValue(kTcpip, "GlobalMaxTcpWindowSize"), e2e::DwordValue(4000));
}

// Manual chosen over a loaded automatic mode: the dialog explains it, and
// the panel starts from the Windows defaults with the connection type kept.
class ManualAfterAutomatic : public e2e::SettingsScenario {};

TEST_F(ManualAfterAutomatic, ShowsTheDefaultsAndExplainsTheMode) {
  Dir().WriteFile("Kestrel.cfg", "ConnectionType,3\r\nOptiMode,2\r\n");
  App& app = StartOn("winxp");
  const SettingsPanel panel(WaitForMainWindow(app));
  panel.Control(ids::cmbOptimize).ComboSelect(3);

  const Window dialog = WaitForModeInformation(app);
  Screenshot(dialog, "frmDisplay");
  EXPECT_EQ(dialog.Text(), "DirectPc (Satellite)");
  EXPECT_EQ(dialog.Child(ids::DisplayLabel1).Text(),
            "You choose to use the \"Manual Optimization Mode\".");
  EXPECT_EQ(dialog.Child(ids::DisplayLabel2).Text(),
            "Try various settings combinations and watch your Internet performance to find out "
            "which configuration suits you best.\r\n\r\nIn order that your settings will take "
            "effect you will have to press the 'Apply' Button which is located in the bottom of "
            "the screen.");
  EXPECT_FALSE(panel.Main().Enabled()) << "the dialog is modal";
  CloseModeInformation(dialog);
  panel.Settle();

  std::string expected = kDefaultPanel;
  expected.replace(0, 6, "type=3");
  EXPECT_EQ(panel.Describe(), expected);
  Screenshot(panel.Main(), "manual");
  // Nothing is saved before Apply.
  EXPECT_EQ(SettingsFile(), std::optional<std::string>("ConnectionType,3\r\nOptiMode,2\r\n"));
}

// --- A file that cannot be written -----------------------------------------

constexpr const char* kOldFile = "ConnectionType,1\r\nOptiMode,0\r\n";

struct BlockedCase {
  const char* name;
  // Makes the file unwritable; what it returns is released at the end.
  std::function<std::shared_ptr<void>(e2e::ProgramDirectory&)> block;
  // The file's bytes before and after, or nothing where it is not a file.
  std::optional<std::string> old_file;
  bool blocks_beside = false;  // the block is the scratch file beside it
};

void PrintTo(const BlockedCase& c, std::ostream* out) {
  *out << c.name;
}

class UnwritableFile : public e2e::SettingsScenario,
                       public ::testing::WithParamInterface<BlockedCase> {};

TEST_P(UnwritableFile, IsNamedAndNothingIsWritten) {
  e2e::ProgramDirectory& dir = Dir();
  std::shared_ptr<void> held = GetParam().block(dir);
  App& app = StartOn("winxp");
  const SettingsPanel panel(WaitForMainWindow(app));
  panel.Choose(ids::cmbNetType, 3);
  panel.Choose(ids::cmbOptimize, 2);
  panel.PressApply();
  CloseModeInformation(WaitForModeInformation(app));

  const e2e::MessageBoxWindow box = app.WaitForMessageBox();
  const std::string message = box.Message();
  EXPECT_NE(message.find("C:\\Program Files\\Kestrel\\Kestrel.cfg"), std::string::npos)
      << box.Describe();
  EXPECT_EQ(message.find("Applied Successfully"), std::string::npos) << box.Describe();
  EXPECT_EQ(box.Buttons(), std::vector<int>{IDOK}) << box.Describe();
  if (GetParam().old_file) Screenshot(box, "box");
  box.AnswerAndWait(IDOK);
  ExpectNoBox(app);  // no restart question

  EXPECT_EQ(e2e::ReadRegistryValue(kTcpip, "DefaultTTL"), std::nullopt);
  EXPECT_EQ(e2e::ReadRegistryValue(keys::kInternetSettings, "MaxConnectionsPerServer"),
            std::nullopt);
  EXPECT_EQ(e2e::ReadRegistryValue(keys::kNdiCacheSize, ""), std::nullopt);
  EXPECT_TRUE(app.Running()) << app.DescribeState();
  held.reset();
  if (GetParam().old_file) {
    EXPECT_EQ(SettingsFile(), GetParam().old_file) << "the old file was damaged";
  }
  if (!GetParam().blocks_beside) {
    EXPECT_FALSE(Dir().Exists("Kestrel.cfg.new")) << "the new contents were left beside the file";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, UnwritableFile,
    ::testing::Values(BlockedCase{"FileIsADirectory",
                                  [](e2e::ProgramDirectory& d) -> std::shared_ptr<void> {
                                    CreateDirectoryA(d.PathOf("Kestrel.cfg").c_str(), nullptr);
                                    return nullptr;
                                  },
                                  std::nullopt},
                      BlockedCase{"HeldOpenWithoutSharing",
                                  [](e2e::ProgramDirectory& d) -> std::shared_ptr<void> {
                                    d.WriteFile("Kestrel.cfg", kOldFile);
                                    return std::make_shared<e2e::HeldFile>(d.PathOf("Kestrel.cfg"));
                                  },
                                  kOldFile},
                      // The new contents are written beside the file first.
                      BlockedCase{"NoRoomBesideIt",
                                  [](e2e::ProgramDirectory& d) -> std::shared_ptr<void> {
                                    d.WriteFile("Kestrel.cfg", kOldFile);
                                    CreateDirectoryA(d.PathOf("Kestrel.cfg.new").c_str(), nullptr);
                                    return nullptr;
                                  },
                                  kOldFile, true}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
