#include "kestrel/settings_panel.h"

#include <cstdlib>

namespace kestrel {
namespace {

constexpr char kBackspace = 8;

std::int32_t NumberIn(const std::string& digits) {
  // The boxes hold at most five digits, so the number always fits.
  return digits.empty() ? 0 : static_cast<std::int32_t>(std::strtol(digits.c_str(), nullptr, 10));
}

int InRangeOrNone(int index, const ListControl& list) {
  return index >= 0 && index < static_cast<int>(list.items.size()) ? index : -1;
}

}  // namespace

SettingsPanelModel::SettingsPanelModel(KestrelApp& app, SettingsPanelHost& host)
    : app_(app), host_(host) {
  for (OptionControl* windowsDefault :
       {&panel_.optMTU1, &panel_.optRWIN1, &panel_.optTTL1, &panel_.optSKA1, &panel_.optNDI1}) {
    windowsDefault->selected = true;
  }
}

void SettingsPanelModel::Select(ListControl& list, int index) {
  list.selected = InRangeOrNone(index, list);
}

void SettingsPanelModel::Pick(OptionControl& chosen, OptionControl& other) {
  chosen.selected = true;
  other.selected = false;
}

void SettingsPanelModel::FillSettingLists() {
  panel_.cmbNetType.items = lists::NetType();
  panel_.cmbNetType.selected = -1;
  cmbNetTypeChosen(0);
  panel_.cmbOptimize = ListControl{panel_.cmbOptimize.enabled, -1, lists::Optimize()};
  panel_.cmbRWIN = ListControl{panel_.cmbRWIN.enabled, -1, lists::RWIN()};
  panel_.cmbSKA = ListControl{panel_.cmbSKA.enabled, -1, lists::SKA()};
  panel_.cmbNDI = ListControl{panel_.cmbNDI.enabled, -1, lists::NDI()};
  panel_.cmbMSCPS0 = ListControl{panel_.cmbMSCPS0.enabled, -1, lists::MSCPS()};
  panel_.cmbMSCPS1 = ListControl{panel_.cmbMSCPS1.enabled, -1, lists::MSCPS()};
}

void SettingsPanelModel::LoadWindowsDefaults() {
  const std::int16_t connectionType = app_.CurrentSettings.ConnectionType;
  app_.CurrentSettings = app_.presets.WindowsDefaults;
  app_.CurrentSettings.ConnectionType = connectionType >= 0 ? connectionType : 0;

  optMTU1Chosen();
  optRWIN1Chosen();
  optTTL1Chosen();
  optSKA1Chosen();
  optNDI1Chosen();

  chkPMTUClicked(1);
  chkBlackHoleClicked(0);
  cmbMSCPS0Chosen(0);
  cmbMSCPS1Chosen(2);
}

void SettingsPanelModel::EnableCustomControls(bool enable) {
  SettingsPanel& p = panel_;
  for (bool* flag : {&p.Frame2, &p.Frame3, &p.Frame4, &p.Frame5, &p.Frame6, &p.Frame7, &p.Label3,
                     &p.Label4}) {
    *flag = enable;
  }
  OptionControl* options[] = {&p.optMTU1, &p.optMTU2, &p.optRWIN1, &p.optRWIN2, &p.optTTL1,
                              &p.optTTL2, &p.optSKA1, &p.optSKA2,  &p.optNDI1,  &p.optNDI2};
  for (OptionControl* option : options) option->enabled = enable;
  for (ListControl* list : {&p.cmbMSCPS0, &p.cmbMSCPS1, &p.cmbNDI, &p.cmbRWIN, &p.cmbSKA}) {
    list->enabled = enable;
  }
  p.chkPMTU.enabled = p.chkBlackHole.enabled = enable;
  p.txtMTU.enabled = p.txtTTL.enabled = enable;

  // Clearing runs the rules of the cleared controls; the caller replaces the
  // record right afterwards.
  for (OptionControl* option : options) option->selected = false;
  chkPMTUClicked(0);
  chkBlackHoleClicked(0);
  txtMTUChanged("");
  txtTTLChanged("");
  cmbMSCPS0Chosen(-1);
  cmbMSCPS1Chosen(-1);
  cmbNDIChosen(-1);
  cmbRWINChosen(-1);
  cmbSKAChosen(-1);
}

void SettingsPanelModel::ShowSettings() {
  Select(panel_.cmbNetType, app_.CurrentSettings.ConnectionType);
  cmbNetTypeChosen(panel_.cmbNetType.selected);
  Select(panel_.cmbOptimize, app_.CurrentSettings.OptiMode);
  cmbOptimizeChosen(panel_.cmbOptimize.selected);

  const std::int16_t mode = app_.CurrentSettings.OptiMode;
  if (mode >= 0 && mode < kManualMode) {
    EnableCustomControls(false);
    app_.CurrentSettings = app_.presets.ForAutomaticMode(mode, app_.CurrentSettings.ConnectionType);
  } else if (mode == kManualMode) {
    ShowManualSettings();
  }
  modeStatus_ = "Mode: " + panel_.cmbOptimize.SelectedText();
}

void SettingsPanelModel::ShowManualSettings() {
  // Copied first: the option rules below overwrite the record's values.
  const ConnectionSettings shown = app_.CurrentSettings;

  shown.MTUCustom ? optMTU2Chosen() : optMTU1Chosen();
  shown.RWINCustom ? optRWIN2Chosen() : optRWIN1Chosen();
  shown.TTLCustom ? optTTL2Chosen() : optTTL1Chosen();
  shown.SKACustom ? optSKA2Chosen() : optSKA1Chosen();
  shown.NDICustom ? optNDI2Chosen() : optNDI1Chosen();

  if (shown.MTUCustom) txtMTUChanged(std::to_string(shown.MTU));
  if (shown.RWINCustom) cmbRWINChosen(shown.RWINIndex);
  if (shown.TTLCustom) txtTTLChanged(std::to_string(shown.TTL));
  if (shown.SKACustom) cmbSKAChosen(shown.SKAIndex);
  if (shown.NDICustom) cmbNDIChosen(shown.NDIIndex);

  chkPMTUClicked(BoolToCheck(shown.PMTU));
  chkBlackHoleClicked(BoolToCheck(shown.BlackHole));
  cmbMSCPS0Chosen(shown.MSCPS0Index);
  cmbMSCPS1Chosen(shown.MSCPS1Index);
}

void SettingsPanelModel::ShowRestoredDefaults() {
  EnableCustomControls(true);
  LoadWindowsDefaults();
  // The record is in mode Manual now; the list and the status bar say so,
  // so that what the window shows is what the next Apply does.
  Select(panel_.cmbOptimize, kManualMode);
  app_.CurrentSettings.OptiMode = kManualMode;
  modeStatus_ = "Mode: " + panel_.cmbOptimize.SelectedText();
}

void SettingsPanelModel::cmbNetTypeChosen(int index) {
  Select(panel_.cmbNetType, index);
  app_.CurrentSettings.ConnectionType = static_cast<std::int16_t>(panel_.cmbNetType.selected);
}

void SettingsPanelModel::cmbOptimizeChosen(int index) {
  Select(panel_.cmbOptimize, index);
  if (FormLoading || !panel_.cmbOptimize.HasSelection()) return;

  const auto mode = static_cast<std::int16_t>(panel_.cmbOptimize.selected);
  app_.CurrentSettings.OptiMode = mode;
  // Set before the dialog, so that the status bar already names the mode the
  // dialog explains.
  modeStatus_ = "Mode: " + panel_.cmbOptimize.SelectedText();
  if (mode < kManualMode) {
    EnableCustomControls(false);
    app_.CurrentSettings = app_.presets.ForAutomaticMode(mode, app_.CurrentSettings.ConnectionType);
  } else {
    EnableCustomControls(true);
    LoadWindowsDefaults();
    host_.ShowModeInformation();
  }
}

void SettingsPanelModel::SetMTU(std::int32_t mtu) {
  app_.CurrentSettings.MTU = mtu;
  RecomputeRWIN();
}

void SettingsPanelModel::RecomputeRWIN() {
  // The window size is a multiple of the MTU: it follows every MTU change so
  // that the value written is the one the panel shows.
  if (panel_.optRWIN2.selected && panel_.cmbRWIN.HasSelection()) {
    app_.CurrentSettings.RWIN =
        app_.CurrentSettings.MTU * lists::RWINMultiplier(panel_.cmbRWIN.selected);
  }
}

void SettingsPanelModel::optMTU1Chosen() {
  Pick(panel_.optMTU1, panel_.optMTU2);
  panel_.txtMTU.enabled = false;
  panel_.txtMTU.text.clear();
  app_.CurrentSettings.MTUCustom = false;
  SetMTU(app_.presets.WindowsDefaults.MTU);
}

void SettingsPanelModel::optMTU2Chosen() {
  Pick(panel_.optMTU2, panel_.optMTU1);
  panel_.txtMTU.enabled = true;
  app_.CurrentSettings.MTUCustom = true;
}

void SettingsPanelModel::txtMTUChanged(const std::string& text) {
  panel_.txtMTU.text = Filtered(panel_.txtMTU, text);
  if (panel_.optMTU2.selected) SetMTU(NumberIn(panel_.txtMTU.text));
}

void SettingsPanelModel::UseMeasuredMTU(std::int32_t mtu) {
  if (panel_.cmbOptimize.selected != kManualMode) cmbOptimizeChosen(kManualMode);
  optMTU2Chosen();
  txtMTUChanged(std::to_string(mtu));
}

void SettingsPanelModel::optRWIN1Chosen() {
  Pick(panel_.optRWIN1, panel_.optRWIN2);
  panel_.cmbRWIN.enabled = false;
  panel_.cmbRWIN.selected = -1;
  app_.CurrentSettings.RWINCustom = false;
  app_.CurrentSettings.RWINIndex = -1;
  app_.CurrentSettings.RWIN = app_.presets.WindowsDefaults.RWIN;
}

void SettingsPanelModel::optRWIN2Chosen() {
  Pick(panel_.optRWIN2, panel_.optRWIN1);
  panel_.cmbRWIN.enabled = true;
  app_.CurrentSettings.RWINCustom = true;
}

void SettingsPanelModel::cmbRWINChosen(int index) {
  Select(panel_.cmbRWIN, index);
  if (!panel_.optRWIN2.selected || !panel_.cmbRWIN.HasSelection()) return;
  app_.CurrentSettings.RWINIndex = static_cast<std::int16_t>(panel_.cmbRWIN.selected);
  RecomputeRWIN();
}

void SettingsPanelModel::optTTL1Chosen() {
  Pick(panel_.optTTL1, panel_.optTTL2);
  panel_.txtTTL.enabled = false;
  panel_.txtTTL.text.clear();
  app_.CurrentSettings.TTLCustom = false;
  app_.CurrentSettings.TTL = app_.presets.WindowsDefaults.TTL;
}

void SettingsPanelModel::optTTL2Chosen() {
  Pick(panel_.optTTL2, panel_.optTTL1);
  panel_.txtTTL.enabled = true;
  app_.CurrentSettings.TTLCustom = true;
}

void SettingsPanelModel::txtTTLChanged(const std::string& text) {
  panel_.txtTTL.text = Filtered(panel_.txtTTL, text);
  if (panel_.optTTL2.selected) app_.CurrentSettings.TTL = NumberIn(panel_.txtTTL.text);
}

void SettingsPanelModel::optSKA1Chosen() {
  Pick(panel_.optSKA1, panel_.optSKA2);
  panel_.cmbSKA.enabled = false;
  panel_.cmbSKA.selected = -1;
  app_.CurrentSettings.SKACustom = false;
  app_.CurrentSettings.SKAIndex = -1;
  app_.CurrentSettings.SKA = app_.presets.WindowsDefaults.SKA;
}

void SettingsPanelModel::optSKA2Chosen() {
  Pick(panel_.optSKA2, panel_.optSKA1);
  panel_.cmbSKA.enabled = true;
  app_.CurrentSettings.SKACustom = true;
}

void SettingsPanelModel::cmbSKAChosen(int index) {
  Select(panel_.cmbSKA, index);
  if (!panel_.optSKA2.selected || !panel_.cmbSKA.HasSelection()) return;
  app_.CurrentSettings.SKAIndex = static_cast<std::int16_t>(panel_.cmbSKA.selected);
  app_.CurrentSettings.SKA = (panel_.cmbSKA.selected + 1) * 60000;
}

void SettingsPanelModel::optNDI1Chosen() {
  Pick(panel_.optNDI1, panel_.optNDI2);
  panel_.cmbNDI.enabled = false;
  panel_.cmbNDI.selected = -1;
  app_.CurrentSettings.NDICustom = false;
  app_.CurrentSettings.NDIIndex = -1;
  app_.CurrentSettings.NDI = app_.presets.WindowsDefaults.NDI;
}

void SettingsPanelModel::optNDI2Chosen() {
  Pick(panel_.optNDI2, panel_.optNDI1);
  panel_.cmbNDI.enabled = true;
  app_.CurrentSettings.NDICustom = true;
}

void SettingsPanelModel::cmbNDIChosen(int index) {
  Select(panel_.cmbNDI, index);
  if (!panel_.optNDI2.selected || !panel_.cmbNDI.HasSelection()) return;
  app_.CurrentSettings.NDIIndex = static_cast<std::int16_t>(panel_.cmbNDI.selected);
  app_.CurrentSettings.NDI = NumberIn(panel_.cmbNDI.SelectedText());
}

void SettingsPanelModel::chkPMTUClicked(int state) {
  panel_.chkPMTU.state = state;
  app_.CurrentSettings.PMTU = CheckToBool(state);
}

void SettingsPanelModel::chkBlackHoleClicked(int state) {
  panel_.chkBlackHole.state = state;
  app_.CurrentSettings.BlackHole = CheckToBool(state);
}

void SettingsPanelModel::cmbMSCPS0Chosen(int index) {
  Select(panel_.cmbMSCPS0, index);
  app_.CurrentSettings.MSCPS0Index = static_cast<std::int16_t>(panel_.cmbMSCPS0.selected);
  app_.CurrentSettings.MSCPS0 = NumberIn(panel_.cmbMSCPS0.SelectedText());
}

void SettingsPanelModel::cmbMSCPS1Chosen(int index) {
  Select(panel_.cmbMSCPS1, index);
  app_.CurrentSettings.MSCPS1Index = static_cast<std::int16_t>(panel_.cmbMSCPS1.selected);
  app_.CurrentSettings.MSCPS1 = NumberIn(panel_.cmbMSCPS1.SelectedText());
}

bool SettingsPanelModel::KeyTyped(char key) {
  // Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z keep working; what they paste is
  // filtered when the text changes.
  constexpr char kCopy = 3, kPaste = 22, kCut = 24, kUndo = 26;
  const bool accepted = (key >= '0' && key <= '9') || key == kBackspace || key == kCopy ||
                        key == kPaste || key == kCut || key == kUndo;
  if (!accepted) app_.platform.sound.Beep();
  return accepted;
}

std::string SettingsPanelModel::Filtered(const TextControl& box, const std::string& text) {
  std::string digits;
  bool dropped = false;
  for (char c : text) {
    if (c >= '0' && c <= '9' && digits.size() < box.maxLength) {
      digits += c;
    } else {
      dropped = true;
    }
  }
  if (dropped) app_.platform.sound.Beep();
  return digits;
}

}  // namespace kestrel
