#include "common/ping_dialog.h"

#include "common/links.h"

namespace common {
namespace {

constexpr int kIntervals = 60;
constexpr int kAutomaticPosition = 4;  // 5 min.
constexpr const char* kAutomaticHostText = "Automatic";

}  // namespace

PingDialogModel::PingDialogModel(PingContext context) : context_(std::move(context)) {}

void PingDialogModel::Load() {
  controls_ = PingDialog{};
  controls_.Label1 = kPingDialogExplanation;
  LoadPingSettings(context_);
  for (int minutes = 1; minutes <= kIntervals; ++minutes) {
    controls_.cmbPingInterval.items.push_back(std::to_string(minutes) + " min.");
  }
  ShowPingSettings();
}

void PingDialogModel::ShowPingSettings() {
  const PingSettings& s = context_.settings;
  controls_.Option1.selected = s.PingAutomatic;
  controls_.Option2.selected = !s.PingAutomatic;
  if (s.PingAutomatic) {
    controls_.txtPingHost = {false, kAutomaticHostText, 0, TextAlignment::Centre};
    controls_.cmbPingInterval.enabled = false;
  } else {
    controls_.txtPingHost = {true, s.PingHost, 0, TextAlignment::Left};
    controls_.cmbPingInterval.enabled = true;
  }
  controls_.cmbPingInterval.selected = IntervalPosition(s.PingInterval);
  controls_.chkSound.state = s.PingSound ? 1 : 0;
}

void PingDialogModel::ShowAutomatic() {
  controls_.Option1.selected = true;
  controls_.Option2.selected = false;
  controls_.txtPingHost = {false, kAutomaticHostText, 0, TextAlignment::Centre};
  controls_.cmbPingInterval.enabled = false;
  controls_.cmbPingInterval.selected = kAutomaticPosition;
}

void PingDialogModel::Option1Clicked() { ShowAutomatic(); }

void PingDialogModel::Option2Clicked() {
  controls_.Option1.selected = false;
  controls_.Option2.selected = true;
  controls_.txtPingHost = {true, "", 0, TextAlignment::Left};
  controls_.cmbPingInterval.enabled = true;
  controls_.cmbPingInterval.selected = -1;
}

void PingDialogModel::txtPingHostChanged(const std::string& text) {
  controls_.txtPingHost.text = text;
}

void PingDialogModel::cmbPingIntervalChosen(int position) {
  controls_.cmbPingInterval.selected = position;
}

void PingDialogModel::chkSoundClicked(int state) { controls_.chkSound.state = state; }

void PingDialogModel::cmdDefaultClicked() {
  ShowAutomatic();
  controls_.chkSound.state = 0;
}

bool PingDialogModel::PingInputInvalid() const {
  if (!controls_.Option2.selected) return false;
  const std::string& host = controls_.txtPingHost.text;
  // A host with a field or line separator in it could not be read back from
  // Ping.cfg, and the next load would drop every setting for the defaults.
  return host.empty() || host.find_first_of(",\"\r\n") != std::string::npos ||
         !controls_.cmbPingInterval.HasSelection();
}

bool PingDialogModel::cmdOKClicked() {
  if (PingInputInvalid()) {
    Tell(kPingInputInvalid);
    return false;
  }
  // Automatic mode always saves the built-in host and interval, whatever the
  // dialog shows.
  PingSettings& s = context_.settings;
  s = DefaultPingSettings(controls_.chkSound.state == 1);
  if (controls_.Option2.selected) {
    s.PingAutomatic = false;
    s.PingHost = controls_.txtPingHost.text;
    s.PingInterval = std::to_string(controls_.cmbPingInterval.selected + 1);
  }
  if (!SavePingSettings(context_)) {
    Tell("The ping settings were not saved: the file " + PingFilePath(context_.programDirectory) +
         " could not be written.\r\n\r\nMake sure that the file can be written, then save the "
         "settings again.");
  } else if (context_.afterSave) {
    context_.afterSave();
  }
  return true;
}

void PingDialogModel::cmdHelpClicked(platform::WindowHandle dialog) {
  OpenHelpFile(context_.shell, dialog, context_.programDirectory);
}

void PingDialogModel::Tell(const std::string& text) {
  context_.messages.Show(text, context_.programTitle, platform::MessageButtons::Ok,
                         platform::MessageIcon::Information);
}

}  // namespace common
