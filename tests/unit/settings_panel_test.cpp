#include <gtest/gtest.h>

#include "kestrel/settings_panel.h"
#include "tests/doubles/fake_platform.h"

namespace {

using kestrel::ConnectionSettings;
using kestrel::SettingsPanel;

class RecordingHost : public kestrel::SettingsPanelHost {
 public:
  int modeInformationShown = 0;
  void ShowModeInformation() override { ++modeInformationShown; }
};

class SettingsPanelTest : public testing::Test {
 protected:
  SettingsPanelTest() { panel.FillSettingLists(); }

  const SettingsPanel& controls() const { return panel.controls(); }
  ConnectionSettings& current() { return fake.app.CurrentSettings; }

  void ChooseManual() { panel.cmbOptimizeChosen(3); }

  doubles::FakeKestrel fake;
  RecordingHost host;
  kestrel::SettingsPanelModel panel{fake.app, host};
};

TEST_F(SettingsPanelTest, FillingSelectsTheFirstConnectionTypeOnly) {
  EXPECT_EQ(controls().cmbNetType.selected, 0);
  EXPECT_EQ(controls().cmbNetType.SelectedText(), "Dial-up Networking (Modem)");
  EXPECT_EQ(current().ConnectionType, 0);
  for (const auto* list : {&controls().cmbOptimize, &controls().cmbRWIN, &controls().cmbSKA,
                           &controls().cmbNDI, &controls().cmbMSCPS0, &controls().cmbMSCPS1}) {
    EXPECT_EQ(list->selected, -1);
  }
  EXPECT_EQ(controls().cmbRWIN.items.size(), 7u);
  EXPECT_EQ(controls().cmbRWIN.items.back(), "x16");
  EXPECT_EQ(controls().cmbSKA.items.size(), 60u);
  EXPECT_EQ(controls().cmbSKA.items.front(), "1 min.");
  EXPECT_EQ(controls().cmbSKA.items.back(), "60 min.");
  EXPECT_EQ(controls().cmbNDI.items,
            (std::vector<std::string>{"0", "2", "4", "8", "16", "32", "64"}));
  EXPECT_EQ(controls().cmbMSCPS1.items.size(), 59u);
  EXPECT_EQ(controls().cmbMSCPS1.items.back(), "60");
}

TEST_F(SettingsPanelTest, AutomaticModesCopyTheirPresetAndEmptyThePanel) {
  const auto presets = kestrel::InitPresets();
  const ConnectionSettings* expected[] = {&presets.AutoPreset1, &presets.AutoPreset2,
                                          &presets.AutoPreset3};
  panel.cmbNetTypeChosen(2);
  for (int mode = 0; mode < 3; ++mode) {
    ChooseManual();  // from a full panel, so that emptying is seen
    panel.cmbOptimizeChosen(mode);
    ConnectionSettings want = *expected[mode];
    want.ConnectionType = 2;
    EXPECT_EQ(current(), want) << mode;
    EXPECT_EQ(panel.modeStatus(), "Mode: " + kestrel::lists::Optimize()[mode]);
    EXPECT_FALSE(controls().Frame2 || controls().Frame7 || controls().Label3 || controls().Label4);
    EXPECT_FALSE(controls().optMTU1.enabled || controls().optMTU1.selected ||
                 controls().optNDI2.selected);
    EXPECT_FALSE(controls().txtMTU.enabled || controls().cmbMSCPS0.enabled);
    EXPECT_EQ(controls().cmbMSCPS0.selected, -1);
    EXPECT_EQ(controls().chkPMTU.state, 0);
    EXPECT_TRUE(controls().txtTTL.text.empty());
  }
  EXPECT_EQ(host.modeInformationShown, 3);  // only the Manual choices
}

TEST_F(SettingsPanelTest, ManualLoadsTheWindowsDefaultsAndExplainsItself) {
  panel.cmbNetTypeChosen(1);
  ChooseManual();
  ConnectionSettings want = fake.app.presets.WindowsDefaults;
  want.ConnectionType = 1;
  EXPECT_EQ(current(), want);
  EXPECT_EQ(host.modeInformationShown, 1);
  EXPECT_EQ(panel.modeStatus(), "Mode: Manual");
  for (const auto* option : {&controls().optMTU1, &controls().optRWIN1, &controls().optTTL1,
                             &controls().optSKA1, &controls().optNDI1}) {
    EXPECT_TRUE(option->selected && option->enabled);
  }
  EXPECT_FALSE(controls().optMTU2.selected);
  EXPECT_TRUE(controls().optMTU2.enabled);
  EXPECT_FALSE(controls().txtMTU.enabled || controls().txtTTL.enabled ||
               controls().cmbRWIN.enabled || controls().cmbSKA.enabled ||
               controls().cmbNDI.enabled);
  EXPECT_TRUE(controls().cmbMSCPS0.enabled && controls().chkBlackHole.enabled);
  EXPECT_EQ(controls().chkPMTU.state, 1);
  EXPECT_EQ(controls().chkBlackHole.state, 0);
  EXPECT_EQ(controls().cmbMSCPS0.SelectedText(), "2");
  EXPECT_EQ(controls().cmbMSCPS1.SelectedText(), "4");
}

TEST_F(SettingsPanelTest, ChoosingAModeWhileLoadingDoesNothing) {
  panel.FormLoading = true;
  const ConnectionSettings before = current();
  panel.cmbOptimizeChosen(1);
  EXPECT_EQ(current(), before);
  EXPECT_EQ(controls().cmbOptimize.selected, 1);
  EXPECT_TRUE(panel.modeStatus().empty());
  EXPECT_EQ(host.modeInformationShown, 0);
}

TEST_F(SettingsPanelTest, ConnectionTypeChangesNothingElse) {
  ChooseManual();
  const ConnectionSettings before = current();
  panel.cmbNetTypeChosen(3);
  ConnectionSettings want = before;
  want.ConnectionType = 3;
  EXPECT_EQ(current(), want);
}

TEST_F(SettingsPanelTest, CustomOptionsEnableTheirInputAndKeepTheValue) {
  ChooseManual();
  panel.optMTU2Chosen();
  EXPECT_TRUE(controls().txtMTU.enabled);
  EXPECT_TRUE(current().MTUCustom);
  EXPECT_EQ(current().MTU, 1500);
  panel.txtMTUChanged("1400");
  EXPECT_EQ(current().MTU, 1400);
  panel.txtMTUChanged("");
  EXPECT_EQ(current().MTU, 0);

  // Back to the default: 1500 itself, never the "leave alone" -1.
  panel.optMTU1Chosen();
  EXPECT_FALSE(controls().txtMTU.enabled);
  EXPECT_TRUE(controls().txtMTU.text.empty());
  EXPECT_EQ(current().MTU, 1500);
  EXPECT_FALSE(current().MTUCustom);

  panel.optSKA2Chosen();
  panel.cmbSKAChosen(4);
  EXPECT_EQ(current().SKA, 300000);
  EXPECT_EQ(current().SKAIndex, 4);
  panel.cmbSKAChosen(59);
  EXPECT_EQ(current().SKA, 3600000);
  panel.optSKA1Chosen();
  EXPECT_EQ(current().SKAIndex, -1);
  EXPECT_EQ(controls().cmbSKA.selected, -1);

  panel.optNDI2Chosen();
  panel.cmbNDIChosen(6);
  EXPECT_EQ(current().NDI, 64);
  panel.optTTL2Chosen();
  panel.txtTTLChanged("64");
  EXPECT_EQ(current().TTL, 64);
  panel.optTTL1Chosen();
  EXPECT_EQ(current().TTL, 32);
}

TEST_F(SettingsPanelTest, InputsOfDefaultGroupsChangeNothing) {
  ChooseManual();
  const ConnectionSettings before = current();
  panel.txtMTUChanged("999");
  panel.cmbRWINChosen(3);
  panel.cmbSKAChosen(3);
  panel.cmbNDIChosen(3);
  panel.txtTTLChanged("7");
  EXPECT_EQ(current(), before);
}

TEST_F(SettingsPanelTest, ReceiveWindowFollowsEveryMtuChange) {
  ChooseManual();
  panel.optRWIN2Chosen();
  panel.cmbRWINChosen(0);  // x4
  EXPECT_EQ(current().RWIN, 6000);
  EXPECT_EQ(current().RWINIndex, 0);

  panel.optMTU2Chosen();
  panel.txtMTUChanged("1000");
  EXPECT_EQ(current().RWIN, 4000);
  panel.cmbRWINChosen(6);  // x16
  EXPECT_EQ(current().RWIN, 16000);
  panel.txtMTUChanged("65535");
  EXPECT_EQ(current().RWIN, 65535 * 16);
  panel.optMTU1Chosen();
  EXPECT_EQ(current().RWIN, 1500 * 16);

  panel.optRWIN1Chosen();
  EXPECT_EQ(current().RWIN, 8192);
  panel.optMTU2Chosen();
  panel.txtMTUChanged("576");
  EXPECT_EQ(current().RWIN, 8192);  // a default window stays the default
}

TEST_F(SettingsPanelTest, AMeasuredMtuIsEnteredAsTheUserWouldInManualMode) {
  // From an automatic mode: Manual is chosen, with its explanation.
  panel.cmbOptimizeChosen(1);
  panel.UseMeasuredMTU(1492);
  EXPECT_EQ(controls().cmbOptimize.selected, 3);
  EXPECT_EQ(host.modeInformationShown, 1);
  EXPECT_TRUE(controls().optMTU2.selected);
  EXPECT_EQ(controls().txtMTU.text, "1492");
  EXPECT_EQ(current().MTU, 1492);
  EXPECT_TRUE(current().MTUCustom);

  // Already in Manual: the user's other choices stay, the window follows.
  panel.optRWIN2Chosen();
  panel.cmbRWINChosen(0);  // x4
  panel.UseMeasuredMTU(1400);
  EXPECT_EQ(host.modeInformationShown, 1);
  EXPECT_EQ(current().RWIN, 1400 * 4);
  EXPECT_EQ(controls().txtMTU.text, "1400");
}

TEST_F(SettingsPanelTest, TextBoxesKeepDigitsOnlyUpToTheirLength) {
  ChooseManual();
  panel.optMTU2Chosen();
  panel.optTTL2Chosen();
  const struct {
    const char* typed;
    const char* kept;
    bool beeps;
  } mtu[] = {{"1500", "1500", false}, {"15a00", "1500", true}, {"-1", "1", true},
             {"123456", "12345", true}, {" 99 ", "99", true}, {"", "", false}};
  for (const auto& c : mtu) {
    const int beeps = fake.sound.beeps;
    panel.txtMTUChanged(c.typed);
    EXPECT_EQ(controls().txtMTU.text, c.kept) << c.typed;
    EXPECT_EQ(fake.sound.beeps > beeps, c.beeps) << c.typed;
  }
  panel.txtTTLChanged("2555");
  EXPECT_EQ(controls().txtTTL.text, "255");
  EXPECT_EQ(current().TTL, 255);
}

TEST_F(SettingsPanelTest, KeyFilterTakesDigitsBackspaceAndClipboardKeys) {
  for (char key = '0'; key <= '9'; ++key) EXPECT_TRUE(panel.KeyTyped(key));
  for (char key : {'\b', '\x03', '\x16', '\x18', '\x1a'}) EXPECT_TRUE(panel.KeyTyped(key));
  EXPECT_EQ(fake.sound.beeps, 0);
  for (char key : {'a', 'Z', '-', '+', '.', ' ', '\r', '\x01', '/', ':'}) {
    EXPECT_FALSE(panel.KeyTyped(key)) << static_cast<int>(key);
  }
  EXPECT_EQ(fake.sound.beeps, 10);
}

TEST_F(SettingsPanelTest, ListsOfTheGeneralGroupTakeTheNumberShown) {
  ChooseManual();
  panel.cmbMSCPS0Chosen(58);
  EXPECT_EQ(current().MSCPS0, 60);
  EXPECT_EQ(current().MSCPS0Index, 58);
  panel.cmbMSCPS1Chosen(-1);
  EXPECT_EQ(current().MSCPS1, 0);
  EXPECT_EQ(current().MSCPS1Index, -1);
  panel.cmbMSCPS1Chosen(59);  // beyond the list: no selection
  EXPECT_EQ(current().MSCPS1Index, -1);
  panel.chkBlackHoleClicked(1);
  EXPECT_TRUE(current().BlackHole);
  panel.chkPMTUClicked(2);  // a grey tick is not a tick
  EXPECT_FALSE(current().PMTU);
}

TEST_F(SettingsPanelTest, ShowSettingsOfAnAutomaticModeSuppliesItsPreset) {
  panel.FormLoading = true;
  current().ConnectionType = 2;
  current().OptiMode = 1;
  panel.ShowSettings();
  ConnectionSettings want = fake.app.presets.AutoPreset2;
  want.ConnectionType = 2;
  EXPECT_EQ(current(), want);
  EXPECT_EQ(controls().cmbNetType.selected, 2);
  EXPECT_EQ(controls().cmbOptimize.selected, 1);
  EXPECT_EQ(panel.modeStatus(), "Mode: Automatic #2");
  EXPECT_FALSE(controls().Frame2);
  EXPECT_EQ(host.modeInformationShown, 0);
}

TEST_F(SettingsPanelTest, ShowSettingsOfAManualRecordRestoresThePanel) {
  panel.FormLoading = true;
  ConnectionSettings saved = fake.app.presets.WindowsDefaults;
  saved.ConnectionType = 1;
  saved.MTUCustom = true;
  saved.MTU = 1000;
  saved.RWINCustom = true;
  saved.RWINIndex = 0;
  saved.RWIN = 6000;  // as saved before the window followed the MTU
  saved.TTLCustom = true;
  saved.TTL = 64;
  saved.SKACustom = true;
  saved.SKAIndex = 9;
  saved.NDICustom = true;
  saved.NDIIndex = 2;
  saved.BlackHole = true;
  saved.PMTU = false;
  saved.MSCPS0Index = 14;
  saved.MSCPS1Index = 6;
  current() = saved;
  panel.ShowSettings();

  EXPECT_TRUE(controls().optMTU2.selected && controls().txtMTU.enabled);
  EXPECT_EQ(controls().txtMTU.text, "1000");
  EXPECT_EQ(controls().cmbRWIN.selected, 0);
  EXPECT_EQ(current().RWIN, 4000);  // recomputed from the MTU shown
  EXPECT_EQ(controls().txtTTL.text, "64");
  EXPECT_EQ(current().SKA, 600000);
  EXPECT_EQ(current().NDI, 4);
  EXPECT_EQ(controls().chkPMTU.state, 0);
  EXPECT_EQ(controls().chkBlackHole.state, 1);
  EXPECT_EQ(current().MSCPS0, 16);
  EXPECT_EQ(current().MSCPS1, 8);
  EXPECT_EQ(panel.modeStatus(), "Mode: Manual");
  EXPECT_EQ(host.modeInformationShown, 0);
}

TEST_F(SettingsPanelTest, LoadWindowsDefaultsKeepsAValidConnectionType) {
  current().ConnectionType = -1;
  panel.LoadWindowsDefaults();
  EXPECT_EQ(current().ConnectionType, 0);
  current().ConnectionType = 3;
  panel.LoadWindowsDefaults();
  EXPECT_EQ(current().ConnectionType, 3);
}

TEST(CheckConversionTest, OnlyATickIsTrue) {
  EXPECT_TRUE(kestrel::CheckToBool(1));
  for (int state : {0, 2, -1}) EXPECT_FALSE(kestrel::CheckToBool(state));
  EXPECT_EQ(kestrel::BoolToCheck(true), 1);
  EXPECT_EQ(kestrel::BoolToCheck(false), 0);
}

}  // namespace
