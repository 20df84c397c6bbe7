#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/controls.h"
#include "kestrel/kestrel_app.h"

namespace kestrel {

// Control states of the settings panel, as the view mirrors them.
using common::CheckControl;
using common::ListControl;
using common::OptionControl;
using common::TextControl;

struct SettingsPanel {
  ListControl cmbNetType;
  ListControl cmbOptimize;

  bool Frame2 = true;  // MTU
  OptionControl optMTU1, optMTU2;
  TextControl txtMTU{true, "", 5};

  bool Frame3 = true;  // RWIN
  OptionControl optRWIN1, optRWIN2;
  ListControl cmbRWIN;

  bool Frame4 = true;  // TTL
  OptionControl optTTL1, optTTL2;
  TextControl txtTTL{true, "", 3};

  bool Frame5 = true;  // Session Keep Alive
  OptionControl optSKA1, optSKA2;
  ListControl cmbSKA;

  bool Frame6 = true;  // NDI cache
  OptionControl optNDI1, optNDI2;
  ListControl cmbNDI;

  bool Frame7 = true;  // General settings
  CheckControl chkPMTU, chkBlackHole;
  bool Label3 = true;
  ListControl cmbMSCPS0;
  bool Label4 = true;
  ListControl cmbMSCPS1;

  bool operator==(const SettingsPanel&) const = default;
};

// One "Windows Default" or "Custom" group of the Manual panel: its controls,
// the record's fields behind them and the ids its window gives the controls.
// The model and the view both go through the groups in this order, which is
// also the order of the rules that depend on each other: RWIN follows MTU.
struct OptionGroup {
  bool SettingsPanel::*frame;
  OptionControl SettingsPanel::*windowsDefault;
  OptionControl SettingsPanel::*custom;
  // The input is a text box of digits or a list; the other one is null.
  TextControl SettingsPanel::*text;
  ListControl SettingsPanel::*list;
  bool ConnectionSettings::*customFlag;
  // "Windows Default" puts the same field of the Windows defaults here.
  std::int32_t ConnectionSettings::*value;
  // List groups only: the chosen item, its value, and the list's items.
  std::int16_t ConnectionSettings::*index;
  std::int32_t (*itemValue)(const ConnectionSettings& settings, const ListControl& list);
  const std::vector<std::string>& (*items)();
  int frameId, windowsDefaultId, customId, inputId;
};

enum OptionGroupIndex : std::size_t { kGroupMTU, kGroupRWIN, kGroupTTL, kGroupSKA, kGroupNDI };
extern const OptionGroup kManualGroups[5];

// What the panel asks of its window.
class SettingsPanelHost {
 public:
  virtual ~SettingsPanelHost() = default;
  // Shows the mode information dialog modally.
  virtual void ShowModeInformation() = 0;
};

// The rules of the settings panel of frmMain. Every control event is an
// operation here; an operation that changes a control by program runs that
// control's own rule too, as the window would.
class SettingsPanelModel {
 public:
  SettingsPanelModel(KestrelApp& app, SettingsPanelHost& host);

  const SettingsPanel& controls() const { return panel_; }
  // Status bar panel 2.
  const std::string& modeStatus() const { return modeStatus_; }

  // True while the main window loads: choosing a mode then does nothing.
  bool FormLoading = false;

  void FillSettingLists();
  void LoadWindowsDefaults();
  void EnableCustomControls(bool enable);
  void ShowSettings();
  void ShowManualSettings();
  // The Windows defaults in mode Manual, as choosing "Manual" gives them, but
  // without the mode information dialog: the panel enabled, every group on
  // "Windows Default", "Manual" chosen and named in the status bar.
  void ShowRestoredDefaults();

  // What the panel shows, with the record behind it, to be put back whole
  // when an action that changed both does not complete.
  struct Snapshot {
    SettingsPanel panel;
    std::string modeStatus;
    ConnectionSettings settings;
  };
  Snapshot Take() const { return {panel_, modeStatus_, app_.CurrentSettings}; }
  void PutBack(const Snapshot& snapshot) {
    panel_ = snapshot.panel;
    modeStatus_ = snapshot.modeStatus;
    app_.CurrentSettings = snapshot.settings;
  }

  // Control events. Index -1 removes a list's selection.
  void cmbNetTypeChosen(int index);
  void cmbOptimizeChosen(int index);
  // The events of an option group's controls, and the same events by name.
  void DefaultChosen(const OptionGroup& group);
  void CustomChosen(const OptionGroup& group);
  void TextChanged(const OptionGroup& group, const std::string& text);
  void ItemChosen(const OptionGroup& group, int index);
  void optMTU1Chosen() { DefaultChosen(kManualGroups[kGroupMTU]); }
  void optMTU2Chosen() { CustomChosen(kManualGroups[kGroupMTU]); }
  void txtMTUChanged(const std::string& text) { TextChanged(kManualGroups[kGroupMTU], text); }
  void optRWIN1Chosen() { DefaultChosen(kManualGroups[kGroupRWIN]); }
  void optRWIN2Chosen() { CustomChosen(kManualGroups[kGroupRWIN]); }
  void cmbRWINChosen(int index) { ItemChosen(kManualGroups[kGroupRWIN], index); }
  void optTTL1Chosen() { DefaultChosen(kManualGroups[kGroupTTL]); }
  void optTTL2Chosen() { CustomChosen(kManualGroups[kGroupTTL]); }
  void txtTTLChanged(const std::string& text) { TextChanged(kManualGroups[kGroupTTL], text); }
  void optSKA1Chosen() { DefaultChosen(kManualGroups[kGroupSKA]); }
  void optSKA2Chosen() { CustomChosen(kManualGroups[kGroupSKA]); }
  void cmbSKAChosen(int index) { ItemChosen(kManualGroups[kGroupSKA], index); }
  void optNDI1Chosen() { DefaultChosen(kManualGroups[kGroupNDI]); }
  void optNDI2Chosen() { CustomChosen(kManualGroups[kGroupNDI]); }
  void cmbNDIChosen(int index) { ItemChosen(kManualGroups[kGroupNDI], index); }
  void chkPMTUClicked(int state);
  void chkBlackHoleClicked(int state);
  void cmbMSCPS0Chosen(int index);
  void cmbMSCPS1Chosen(int index);

  // A measured MTU, entered as a user would: mode Manual chosen unless it is
  // already (choosing it again would reset the other groups), then Custom
  // ticked and the value typed. Nothing is written until Apply.
  void UseMeasuredMTU(std::int32_t mtu);

  // A key typed into txtMTU or txtTTL: true when the text box takes it.
  // Anything but a digit, Backspace or a clipboard shortcut is refused with a beep.
  bool KeyTyped(char key);

 private:
  static void Select(ListControl& list, int index);
  bool& InputEnabled(const OptionGroup& group);
  // Keeps only digits, up to the text box's length; Filtered beeps when it
  // dropped any.
  static std::string Digits(const TextControl& box, const std::string& text);
  std::string Filtered(const TextControl& box, const std::string& text);
  void SetValue(const OptionGroup& group, std::int32_t value);
  void RecomputeItemValue(const OptionGroup& group);

  KestrelApp& app_;
  SettingsPanelHost& host_;
  SettingsPanel panel_;
  std::string modeStatus_;
};

}  // namespace kestrel
