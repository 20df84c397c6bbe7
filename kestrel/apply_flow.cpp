#include "kestrel/apply_flow.h"

#include <cstdlib>

#include "kestrel/settings_file.h"
#include "kestrel/user_messages.h"

namespace kestrel {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;

// Empty, or a number the stack cannot take, is not a valid custom value.
bool InRange(const std::string& digits, long lowest, long highest) {
  if (digits.empty()) return false;
  const long value = std::strtol(digits.c_str(), nullptr, 10);
  return value >= lowest && value <= highest;
}

}  // namespace

std::optional<std::string> FindSettingsProblem(const SettingsPanel& p) {
  if (!p.cmbNetType.HasSelection()) return "Invalid Connection Type. Select Valid One.";
  if (!p.cmbOptimize.HasSelection()) return "Invalid Optimization Mode. Select Valid One.";
  if (!p.cmbMSCPS0.HasSelection()) return "Invalid MSCPS using HTTP 1.0 Value. Select Valid One.";
  if (!p.cmbMSCPS1.HasSelection()) return "Invalid MSCPS using HTTP 1.1 value. Select Valid One.";
  if (p.optMTU2.selected && !InRange(p.txtMTU.text, 68, 65535)) {
    return "Invalid MTU. Enter Valid One.";
  }
  if (p.optRWIN2.selected && !p.cmbRWIN.HasSelection()) return "Invalid RWIN. Select Valid One.";
  if (p.optTTL2.selected && !InRange(p.txtTTL.text, 1, 255)) return "Invalid TTL. Enter Valid One.";
  if (p.optSKA2.selected && !p.cmbSKA.HasSelection()) {
    return "Invalid Session Keep Alive. Select Valid One.";
  }
  if (p.optNDI2.selected && !p.cmbNDI.HasSelection()) return "Invalid NDI Cache. Select Valid One.";
  return std::nullopt;
}

bool TellIfSettingsInvalid(const SettingsPanel& panel, platform::MessageBoxes& messages) {
  const auto problem = FindSettingsProblem(panel);
  if (!problem) return false;
  messages.Show(*problem, kProgramTitle, MessageButtons::Ok, MessageIcon::Information);
  return true;
}

void ApplySettings(KestrelApp& app, const SettingsPanel& panel, SettingsPanelHost& host) {
  if (app.CurrentSettings.OptiMode != kManualMode) {
    host.ShowModeInformation();
  } else if (TellIfSettingsInvalid(panel, app.platform.messages)) {
    return;
  }

  if (TellIfNotSaved(app, SaveAndApplySettings(app))) return;

  Tell(app,
       "Changes Applied Successfully.\r\nYou need to restart the Machine to make chages affect.");
  OfferRestart(app,
               "System changes were successfully done.\r\n\r\n"
               "In order to enjoy all the benefits of Kestrel, it is highly recommended to "
               "restart computer.\r\n\r\nWould you like to restart your computer now?",
               "Keep in mind that you must restart your computer\r\nbefore the new settings "
               "become effective.");
}

}  // namespace kestrel
