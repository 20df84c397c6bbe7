#include <gtest/gtest.h>

#include <functional>

#include "kestrel/apply_flow.h"
#include "kestrel/main_window.h"
#include "tests/doubles/fake_platform.h"
#include "tests/doubles/recording_host.h"

namespace {

using platform::MessageAnswer;

const char* const kSuccess =
    "Changes Applied Successfully.\r\nYou need to restart the Machine to make chages affect.";
const char* const kQuestion =
    "System changes were successfully done.\r\n\r\nIn order to enjoy all the benefits of Kestrel, "
    "it is highly recommended to restart computer.\r\n\r\nWould you like to restart your computer "
    "now?";
const char* const kReminder =
    "Keep in mind that you must restart your computer\r\nbefore the new settings become effective.";

using Host = doubles::RecordingHost;

class ApplyFlowTest : public testing::Test {
 protected:
  ApplyFlowTest() {
    fake.files.AddDirectory(fake.environment.programDirectory);
    window.Load();
    fake.messages.shown.clear();
    fake.registry.ClearCalls();  // the load reads the tip setting
  }

  kestrel::SettingsPanelModel& panel() { return window.panel(); }
  void Manual() {
    panel().cmbOptimizeChosen(3);
    fake.messages.shown.clear();
  }
  std::optional<std::string> SavedFile() { return fake.files.Contents(fake.ProgramFile("\\Kestrel.cfg")); }

  doubles::FakeKestrel fake;
  Host host{fake.messages};
  kestrel::MainWindowModel window{fake.app, host};
};

TEST_F(ApplyFlowTest, AutomaticModeExplainsSavesWritesAndOffersTheRestart) {
  panel().cmbOptimizeChosen(0);
  fake.messages.answers = {MessageAnswer::No};
  window.Apply();
  EXPECT_EQ(fake.messages.Texts(),
            (std::vector<std::string>{"<frmDisplay>", kSuccess, kQuestion, kReminder}));
  EXPECT_EQ(fake.messages.shown[2].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(fake.messages.shown[1].caption, "Kestrel");
  EXPECT_EQ(SavedFile(), "ConnectionType,0\r\nOptiMode,0\r\n");
  EXPECT_FALSE(fake.registry.Calls().empty());
  EXPECT_TRUE(fake.restart.steps.empty());
}

TEST_F(ApplyFlowTest, YesRestartsWithThePrivilegeFirstAndNoReminder) {
  Manual();
  fake.messages.answers = {MessageAnswer::Yes};
  window.Apply();
  EXPECT_EQ(fake.messages.Texts(), (std::vector<std::string>{kSuccess, kQuestion}));
  EXPECT_EQ(fake.restart.steps, (std::vector<std::string>{"privilege", "restart 2 4294967295"}));
}

TEST_F(ApplyFlowTest, ARefusedPrivilegeStillAsksForTheRestart) {
  Manual();
  fake.restart.privilegeResult = false;
  fake.messages.answers = {MessageAnswer::Yes};
  window.Apply();
  EXPECT_EQ(fake.restart.steps.size(), 2u);
}

// Each case breaks the panel in one way, on top of every problem before it
// being fixed; only the first problem is reported.
struct ProblemCase {
  const char* name;
  std::function<void(kestrel::SettingsPanelModel&)> breakPanel;
  const char* message;
};

class ValidationTest : public ApplyFlowTest, public testing::WithParamInterface<ProblemCase> {};

TEST_P(ValidationTest, FirstProblemStopsApply) {
  Manual();
  GetParam().breakPanel(panel());
  window.Apply();
  ASSERT_EQ(fake.messages.Texts(), std::vector<std::string>{GetParam().message});
  EXPECT_FALSE(SavedFile());
  EXPECT_TRUE(fake.registry.Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Manual, ValidationTest,
    testing::Values(
        ProblemCase{"NoConnectionType", [](auto& p) { p.cmbNetTypeChosen(-1); },
                    "Invalid Connection Type. Select Valid One."},
        ProblemCase{"NoHttp10Limit",
                    [](auto& p) {
                      p.cmbMSCPS0Chosen(-1);
                      p.cmbMSCPS1Chosen(-1);
                    },
                    "Invalid MSCPS using HTTP 1.0 Value. Select Valid One."},
        ProblemCase{"NoHttp11Limit", [](auto& p) { p.cmbMSCPS1Chosen(-1); },
                    "Invalid MSCPS using HTTP 1.1 value. Select Valid One."},
        // An empty MTU is reported before the missing multiplier after it.
        ProblemCase{"EmptyMtu",
                    [](auto& p) {
                      p.optMTU2Chosen();
                      p.optRWIN2Chosen();
                    },
                    "Invalid MTU. Enter Valid One."},
        ProblemCase{"MtuBelowItsMinimum",
                    [](auto& p) {
                      p.optMTU2Chosen();
                      p.txtMTUChanged("67");
                    },
                    "Invalid MTU. Enter Valid One."},
        ProblemCase{"MtuAboveItsMaximum",
                    [](auto& p) {
                      p.optMTU2Chosen();
                      p.txtMTUChanged("65536");
                    },
                    "Invalid MTU. Enter Valid One."},
        ProblemCase{"NoMultiplier", [](auto& p) { p.optRWIN2Chosen(); },
                    "Invalid RWIN. Select Valid One."},
        ProblemCase{"EmptyTtl", [](auto& p) { p.optTTL2Chosen(); },
                    "Invalid TTL. Enter Valid One."},
        ProblemCase{"ZeroTtl",
                    [](auto& p) {
                      p.optTTL2Chosen();
                      p.txtTTLChanged("0");
                    },
                    "Invalid TTL. Enter Valid One."},
        ProblemCase{"TtlAboveItsMaximum",
                    [](auto& p) {
                      p.optTTL2Chosen();
                      p.txtTTLChanged("256");
                    },
                    "Invalid TTL. Enter Valid One."},
        ProblemCase{"NoKeepAliveTime", [](auto& p) { p.optSKA2Chosen(); },
                    "Invalid Session Keep Alive. Select Valid One."},
        ProblemCase{"NoCacheSize", [](auto& p) { p.optNDI2Chosen(); },
                    "Invalid NDI Cache. Select Valid One."}),
    [](const testing::TestParamInfo<ProblemCase>& param) { return param.param.name; });

TEST_F(ApplyFlowTest, NoOptimizationModeIsTheSecondCheck) {
  kestrel::SettingsPanel panelState = panel().controls();
  panelState.cmbOptimize.selected = -1;
  panelState.cmbNetType.selected = 0;
  EXPECT_EQ(kestrel::FindSettingsProblem(panelState), "Invalid Optimization Mode. Select Valid One.");
}

TEST_F(ApplyFlowTest, CustomValuesAtTheirLimitsAreValid) {
  const struct {
    const char* mtu;
    const char* ttl;
  } cases[] = {{"68", "1"}, {"65535", "255"}, {"1500", "128"}};
  for (const auto& c : cases) {
    Manual();
    panel().optMTU2Chosen();
    panel().txtMTUChanged(c.mtu);
    panel().optTTL2Chosen();
    panel().txtTTLChanged(c.ttl);
    EXPECT_EQ(kestrel::FindSettingsProblem(panel().controls()), std::nullopt) << c.mtu;
  }
}

TEST_F(ApplyFlowTest, AnUnwritableFileIsNamedAndTheRegistryIsLeftAlone) {
  Manual();
  fake.files.FailWrites(doubles::MemoryFileSystem::WriteFailure::Refused);
  window.Apply();
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_NE(fake.messages.shown[0].text.find("C:\\Program Files\\Kestrel\\Kestrel.cfg"),
            std::string::npos);
  EXPECT_TRUE(fake.registry.Calls().empty());
  EXPECT_TRUE(fake.restart.steps.empty());
}

TEST_F(ApplyFlowTest, AFailedRegistryWriteIsNeverReportedAsSuccess) {
  Manual();
  fake.registry.FailAllWrites(platform::reg::kAccessDenied);
  fake.messages.answers = {MessageAnswer::Yes};
  window.Apply();
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_NE(fake.messages.shown[0].text.find("could not be written to the registry"),
            std::string::npos);
  EXPECT_NE(fake.messages.shown[0].text.find("administrator"), std::string::npos);
  EXPECT_TRUE(fake.restart.steps.empty());
  // The file was written first; a later Apply writes it again.
  EXPECT_TRUE(SavedFile());
}

TEST_F(ApplyFlowTest, ApplyingTwiceWritesTheWholeRecordAgain) {
  Manual();
  window.Apply();
  const auto firstWrites = fake.registry.Writes();
  fake.registry.ClearCalls();
  window.Apply();
  EXPECT_EQ(fake.registry.Writes(), firstWrites);
}

class MainWindowLoadTest : public testing::Test {
 protected:
  doubles::FakeKestrel fake;
  Host host{fake.messages};
  kestrel::MainWindowModel window{fake.app, host};
};

TEST_F(MainWindowLoadTest, FirstStartShowsTheWindowsDefaultsInManual) {
  fake.version.info = {1, 4, 10, 0};
  fake.files.Put(fake.ProgramFile("\\Tidewatch.exe"), "MZ");
  window.Load();
  EXPECT_EQ(fake.app.OSName, "Windows 98");
  EXPECT_EQ(fake.app.OSCode, 3);
  EXPECT_EQ(window.StatusPanels(),
            (std::array<std::string, 3>{"Choose your wanted Settings and Press \"Apply\"",
                                        "Mode: Manual", "OS: Windows 98"}));
  EXPECT_EQ(fake.app.CurrentSettings, fake.app.presets.WindowsDefaults);
  EXPECT_FALSE(window.panel().FormLoading);
  EXPECT_EQ(host.Count("pump"), 4);
  // Loading explains nothing and writes nothing.
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_TRUE(fake.registry.Writes().empty());
  ASSERT_EQ(fake.programs.started.size(), 1u);
  EXPECT_EQ(fake.programs.started[0].second, platform::ShowCode::Hidden);
}

TEST_F(MainWindowLoadTest, ASavedAutomaticChoiceComesBack) {
  fake.files.Put(fake.ProgramFile("\\Kestrel.cfg"), "ConnectionType,2\r\nOptiMode,1\r\n");
  window.Load();
  EXPECT_EQ(window.StatusPanels()[1], "Mode: Automatic #2");
  EXPECT_EQ(window.panel().controls().cmbNetType.SelectedText(), "Cable/xDSL running PPPoE/PPTP");
  kestrel::ConnectionSettings want = fake.app.presets.AutoPreset2;
  want.ConnectionType = 2;
  EXPECT_EQ(fake.app.CurrentSettings, want);
  EXPECT_TRUE(fake.programs.started.empty());  // no monitor installed
}

// The file Restore writes brings back exactly the panel that choosing Manual shows.
TEST_F(MainWindowLoadTest, TheDefaultsFileShowsTheManualDefaultsPanel) {
  fake.files.Put(fake.ProgramFile("\\Kestrel.cfg"),
                 "ConnectionType,0\r\nOptiMode,3\r\nMTU,#FALSE#,1500\r\nRWIN,#FALSE#,-1,8192\r\n"
                 "TTL,#FALSE#,32\r\nSKA,#FALSE#,-1,3600000\r\nNDI,#FALSE#,-1,0\r\n"
                 "PMTU,#TRUE#\r\nBlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1,2,4\r\n");
  window.Load();

  doubles::FakeKestrel other;
  Host otherHost{other.messages};
  kestrel::MainWindowModel chosen{other.app, otherHost};
  chosen.Load();
  chosen.panel().cmbOptimizeChosen(0);
  chosen.panel().cmbOptimizeChosen(3);

  EXPECT_EQ(fake.app.CurrentSettings, other.app.CurrentSettings);
  EXPECT_EQ(window.panel().controls(), chosen.panel().controls());
}

TEST_F(MainWindowLoadTest, ModeInformationNamesTheChoice) {
  window.Load();
  window.panel().cmbNetTypeChosen(1);
  window.panel().cmbOptimizeChosen(2);
  const auto info = window.CurrentModeInformation();
  EXPECT_EQ(info.title, "LAN, Cable Modem, xDSL, ISDN, T1, T2");
  EXPECT_EQ(info.label1, "You choose to use the \"Automatic #3 Optimization Mode\".");
  EXPECT_EQ(info.label2.find("After a lot of research, Kestrel offers three"), 0u);
  EXPECT_NE(info.label2.find("speed.\r\n\r\nYou should try"), std::string::npos);

  window.panel().cmbOptimizeChosen(3);
  const auto manual = window.CurrentModeInformation();
  EXPECT_EQ(manual.label1, "You choose to use the \"Manual Optimization Mode\".");
  EXPECT_NE(manual.label2.find("best.\r\n\r\nIn order that your settings"), std::string::npos);
  EXPECT_NE(manual.label2.find("'Apply' Button which is located in the bottom of the screen."),
            std::string::npos);
}

TEST_F(ApplyFlowTest, LoadReadsPingCfgAndTheButtonsOpenTheDialogAndTheGuide) {
  fake.files.Put(fake.ProgramFile("\\Ping.cfg"), "A,#FALSE#\r\nH,10.0.0.9\r\nI,15\r\nS,#TRUE#\r\n");
  window.Load();
  EXPECT_EQ(fake.app.PingSettings, (common::PingSettings{false, "10.0.0.9", "15", true}));

  window.ShowPingConfiguration();
  EXPECT_EQ(host.Count("ping"), 1);
  window.OpenHelp();
  ASSERT_EQ(fake.shell.opened.size(), 1u);
  EXPECT_EQ(fake.shell.opened[0].owner, host.owner);
  EXPECT_EQ(fake.shell.opened[0].document, fake.ProgramFile("\\Help\\help.htm"));
}

}  // namespace
