#pragma once

#include <string>

#include "common/controls.h"
#include "common/ping_settings.h"
#include "platform/shell.h"

namespace common {

// The control states of frmPing.
struct PingDialog {
  std::string Label1;
  OptionControl Option1;  // "Automatic Mode"
  OptionControl Option2;  // "Manual Mode"
  TextControl txtPingHost;
  ListControl cmbPingInterval;
  CheckControl chkSound;

  bool operator==(const PingDialog&) const = default;
};

inline constexpr const char* kPingDialogExplanation =
    "Most Internet Service Providers Disconnect users after a fixed time of modem activity. "
    "Setup the Ping Interval and you will not be disconnected...";
inline constexpr const char* kPingInputInvalid = "Enter Values Properly.";

// The presentation model of frmPing, the ping configuration dialog. It edits
// the settings of its context and saves them to Ping.cfg on "OK".
class PingDialogModel {
 public:
  explicit PingDialogModel(PingContext context);

  // Every opening starts from the file: it reloads the settings (running the
  // context's afterLoad) and shows them.
  void Load();

  void Option1Clicked();
  void Option2Clicked();
  void txtPingHostChanged(const std::string& text);
  void cmbPingIntervalChosen(int position);
  void chkSoundClicked(int state);
  void cmdDefaultClicked();
  // True when the dialog is to close: the input was valid and the settings
  // are taken, whether or not Ping.cfg could be written.
  bool cmdOKClicked();
  void cmdHelpClicked(platform::WindowHandle dialog);

  const PingDialog& controls() const { return controls_; }
  const PingContext& context() const { return context_; }

 private:
  void ShowPingSettings();
  void ShowAutomatic();
  bool PingInputInvalid() const;
  void Tell(const std::string& text);

  PingContext context_;
  PingDialog controls_;
};

}  // namespace common
