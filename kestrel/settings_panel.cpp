#include "kestrel/settings_panel.h"

#include <cstdlib>

#include "kestrel/control_ids.h"

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

using Panel = SettingsPanel;
using Record = ConnectionSettings;

}  // namespace

const OptionGroup kManualGroups[5] = {
    {&Panel::Frame2, &Panel::optMTU1, &Panel::optMTU2, &Panel::txtMTU, nullptr, &Record::MTUCustom,
     &Record::MTU, nullptr, nullptr, nullptr, ids::Frame2, ids::optMTU1, ids::optMTU2, ids::txtMTU},
    // The window size is a multiple of the MTU as the record holds it.
    {&Panel::Frame3, &Panel::optRWIN1, &Panel::optRWIN2, nullptr, &Panel::cmbRWIN,
     &Record::RWINCustom, &Record::RWIN, &Record::RWINIndex,
     [](const Record& record, const ListControl& list) {
       return record.MTU * lists::RWINMultiplier(list.selected);
     },
     &lists::RWIN, ids::Frame3, ids::optRWIN1, ids::optRWIN2, ids::cmbRWIN},
    {&Panel::Frame4, &Panel::optTTL1, &Panel::optTTL2, &Panel::txtTTL, nullptr, &Record::TTLCustom,
     &Record::TTL, nullptr, nullptr, nullptr, ids::Frame4, ids::optTTL1, ids::optTTL2, ids::txtTTL},
    // Minutes, kept in milliseconds.
    {&Panel::Frame5, &Panel::optSKA1, &Panel::optSKA2, nullptr, &Panel::cmbSKA, &Record::SKACustom,
     &Record::SKA, &Record::SKAIndex,
     [](const Record&, const ListControl& list) { return (list.selected + 1) * 60000; },
     &lists::SKA, ids::Frame5, ids::optSKA1, ids::optSKA2, ids::cmbSKA},
    {&Panel::Frame6, &Panel::optNDI1, &Panel::optNDI2, nullptr, &Panel::cmbNDI, &Record::NDICustom,
     &Record::NDI, &Record::NDIIndex,
     [](const Record&, const ListControl& list) { return NumberIn(list.SelectedText()); },
     &lists::NDI, ids::Frame6, ids::optNDI1, ids::optNDI2, ids::cmbNDI},
};

SettingsPanelModel::SettingsPanelModel(KestrelApp& app, SettingsPanelHost& host)
    : app_(app), host_(host) {
  for (const OptionGroup& group : kManualGroups) (panel_.*group.windowsDefault).selected = true;
}

void SettingsPanelModel::Select(ListControl& list, int index) {
  list.selected = InRangeOrNone(index, list);
}

bool& SettingsPanelModel::InputEnabled(const OptionGroup& group) {
  return group.text ? (panel_.*group.text).enabled : (panel_.*group.list).enabled;
}

void SettingsPanelModel::FillSettingLists() {
  panel_.cmbNetType.items = lists::NetType();
  panel_.cmbNetType.selected = -1;
  cmbNetTypeChosen(0);
  panel_.cmbOptimize = ListControl{panel_.cmbOptimize.enabled, -1, lists::Optimize()};
  for (const OptionGroup& group : kManualGroups) {
    if (group.list) panel_.*group.list = ListControl{InputEnabled(group), -1, group.items()};
  }
  panel_.cmbMSCPS0 = ListControl{panel_.cmbMSCPS0.enabled, -1, lists::MSCPS()};
  panel_.cmbMSCPS1 = ListControl{panel_.cmbMSCPS1.enabled, -1, lists::MSCPS()};
}

void SettingsPanelModel::LoadWindowsDefaults() {
  const std::int16_t connectionType = app_.CurrentSettings.ConnectionType;
  app_.CurrentSettings = app_.presets.WindowsDefaults;
  app_.CurrentSettings.ConnectionType = connectionType >= 0 ? connectionType : 0;

  for (const OptionGroup& group : kManualGroups) DefaultChosen(group);

  chkPMTUClicked(1);
  chkBlackHoleClicked(0);
  cmbMSCPS0Chosen(0);
  cmbMSCPS1Chosen(2);
}

void SettingsPanelModel::EnableCustomControls(bool enable) {
  SettingsPanel& p = panel_;
  for (const OptionGroup& group : kManualGroups) {
    p.*group.frame = enable;
    (p.*group.windowsDefault).enabled = (p.*group.custom).enabled = enable;
    InputEnabled(group) = enable;
  }
  for (bool* flag : {&p.Frame7, &p.Label3, &p.Label4}) *flag = enable;
  for (ListControl* list : {&p.cmbMSCPS0, &p.cmbMSCPS1}) list->enabled = enable;
  p.chkPMTU.enabled = p.chkBlackHole.enabled = enable;

  // Clearing runs the rules of the cleared controls; the caller replaces the
  // record right afterwards. With no "Custom" chosen, clearing an input
  // changes no value.
  for (const OptionGroup& group : kManualGroups) {
    (p.*group.windowsDefault).selected = (p.*group.custom).selected = false;
  }
  chkPMTUClicked(0);
  chkBlackHoleClicked(0);
  for (const OptionGroup& group : kManualGroups) {
    group.text ? TextChanged(group, "") : ItemChosen(group, -1);
  }
  cmbMSCPS0Chosen(-1);
  cmbMSCPS1Chosen(-1);
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

  for (const OptionGroup& group : kManualGroups) {
    shown.*group.customFlag ? CustomChosen(group) : DefaultChosen(group);
  }
  // In the groups' order, so that RWIN is recomputed from the MTU set before it.
  for (const OptionGroup& group : kManualGroups) {
    if (!(shown.*group.customFlag)) continue;
    if (group.text) {
      // The box shows the number whole, even one it could not take as typed,
      // so that the validation refuses it rather than Apply writing other
      // digits. The record takes what the box would keep, as typing gives it.
      TextControl& box = panel_.*group.text;
      box.text = std::to_string(shown.*group.value);
      SetValue(group, NumberIn(Digits(box, box.text)));
    } else {
      ItemChosen(group, shown.*group.index);
    }
  }

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

void SettingsPanelModel::SetValue(const OptionGroup& group, std::int32_t value) {
  app_.CurrentSettings.*group.value = value;
  // The window size is a multiple of the MTU: it follows every MTU change so
  // that the value written is the one the panel shows.
  if (group.value == &ConnectionSettings::MTU) RecomputeItemValue(kManualGroups[kGroupRWIN]);
}

void SettingsPanelModel::RecomputeItemValue(const OptionGroup& group) {
  const ListControl& list = panel_.*group.list;
  if ((panel_.*group.custom).selected && list.HasSelection()) {
    app_.CurrentSettings.*group.value = group.itemValue(app_.CurrentSettings, list);
  }
}

void SettingsPanelModel::DefaultChosen(const OptionGroup& group) {
  (panel_.*group.windowsDefault).selected = true;
  (panel_.*group.custom).selected = false;
  InputEnabled(group) = false;
  if (group.text) {
    (panel_.*group.text).text.clear();
  } else {
    (panel_.*group.list).selected = -1;
    app_.CurrentSettings.*group.index = -1;
  }
  app_.CurrentSettings.*group.customFlag = false;
  SetValue(group, app_.presets.WindowsDefaults.*group.value);
}

void SettingsPanelModel::CustomChosen(const OptionGroup& group) {
  (panel_.*group.custom).selected = true;
  (panel_.*group.windowsDefault).selected = false;
  InputEnabled(group) = true;
  app_.CurrentSettings.*group.customFlag = true;
}

void SettingsPanelModel::TextChanged(const OptionGroup& group, const std::string& text) {
  TextControl& box = panel_.*group.text;
  box.text = Filtered(box, text);
  if ((panel_.*group.custom).selected) SetValue(group, NumberIn(box.text));
}

void SettingsPanelModel::ItemChosen(const OptionGroup& group, int index) {
  ListControl& list = panel_.*group.list;
  Select(list, index);
  if (!(panel_.*group.custom).selected || !list.HasSelection()) return;
  app_.CurrentSettings.*group.index = static_cast<std::int16_t>(list.selected);
  RecomputeItemValue(group);
}

void SettingsPanelModel::UseMeasuredMTU(std::int32_t mtu) {
  if (panel_.cmbOptimize.selected != kManualMode) cmbOptimizeChosen(kManualMode);
  optMTU2Chosen();
  txtMTUChanged(std::to_string(mtu));
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

std::string SettingsPanelModel::Digits(const TextControl& box, const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c >= '0' && c <= '9' && digits.size() < box.maxLength) digits += c;
  }
  return digits;
}

std::string SettingsPanelModel::Filtered(const TextControl& box, const std::string& text) {
  std::string digits = Digits(box, text);
  // Kept characters stay in order, so any dropped one makes a difference.
  if (digits != text) app_.platform.sound.Beep();
  return digits;
}

}  // namespace kestrel
