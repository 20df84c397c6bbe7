#include "tidewatch/hidden_form.h"

#include "common/files.h"
#include "common/links.h"
#include "common/ping_now.h"

namespace tidewatch {

namespace {

// The shell's answers for a file or folder that is not there, and for a
// start that was refused (also when the user declined the consent prompt).
constexpr std::intptr_t kFileNotFound = 2;
constexpr std::intptr_t kPathNotFound = 3;
constexpr std::intptr_t kAccessDenied = 5;

}  // namespace

std::string StartFailedMessage(const std::string& path, std::intptr_t result) {
  std::string text = "Kestrel could not be started:\r\n" + path;
  if (result == kFileNotFound || result == kPathNotFound) {
    text += "\r\n\r\nThe file was not found.";
  } else if (result == kAccessDenied) {
    text += "\r\n\r\nWindows did not allow the start.";
  } else {
    text += "\r\n\r\nWindows reported error " + std::to_string(result) + ".";
  }
  return text;
}

HiddenFormModel::HiddenFormModel(TidewatchApp& app, platform::Timers& timers,
                                 HiddenFormHost& host)
    : app_(app),
      host_(host),
      // The design-time settings: the keep-alive timer enabled without an
      // interval, so that it waits for the settings; the check every 30 s;
      // the animation off.
      TimerPing_(timers, kTimerPing, true, 0),
      TimerTidewatch_(timers, kTimerTidewatch, true, kConnectionCheckMs),
      TimerIcon_(timers, kTimerIcon, false, kAnimationFrameMs),
      mnuDisableCaption_(kDisableCaption) {
  app_.pingSettingsLoaded = [this] { PingSettingsLoaded(); };
}

HiddenFormModel::~HiddenFormModel() { app_.pingSettingsLoaded = nullptr; }

void HiddenFormModel::Form_Load(platform::WindowHandle window, const Pictures& pictures) {
  window_ = window;
  pictures_ = pictures;
  TimerPing_.Create();
  TimerTidewatch_.Create();
  TimerIcon_.Create();
  loaded_ = true;
  common::LoadPingSettings(app_.pingContext);  // enables TimerPing at 60000 ms
  app_.systray.Install(window_, pictures_[kRestingPicture - 1]);
  TimerIcon_.SetEnabled(false);
  ConnectionCheck();
}

void HiddenFormModel::Form_QueryUnload() {
  if (unloaded_) return;
  unloaded_ = true;
  app_.systray.Remove();
  TimerPing_.Destroy();
  TimerTidewatch_.Destroy();
  TimerIcon_.Destroy();
}

void HiddenFormModel::PingSettingsLoaded() {
  keepAliveMinutes_ = 0;
  TimerPing_.SetInterval(kKeepAliveTickMs);
  TimerPing_.SetEnabled(true);
}

void HiddenFormModel::ShowPicture(int image) {
  app_.systray.ChangeImage(pictures_[static_cast<std::size_t>(image - 1)]);
}

void HiddenFormModel::ConnectionCheck() {
  if (!Loaded()) return;
  const bool up =
      common::KeepAlivePing(app_.pingServices, common::ConnectionTestHost, kConnectionCheckTimeoutMs);
  // The user may have chosen Exit while a message of the ping was open.
  if (!Loaded()) return;
  if (up) {
    // The animation shows the state from its next frame on.
    TimerIcon_.SetEnabled(true);
  } else {
    ShowPicture(kRestingPicture);
    TimerIcon_.SetEnabled(false);
  }
}

void HiddenFormModel::TimerTick(std::uint32_t id) {
  switch (id) {
    case kTimerPing: TimerPing_Timer(); break;
    case kTimerTidewatch: TimerTidewatch_Timer(); break;
    case kTimerIcon: TimerIcon_Timer(); break;
    default: break;
  }
}

void HiddenFormModel::TimerTidewatch_Timer() {
  // While another ping runs or its message is open, the next tick tries again.
  if (!Loaded() || app_.pingServices.PingRunning()) return;
  ConnectionCheck();
}

void HiddenFormModel::TimerIcon_Timer() {
  if (!Loaded()) return;
  ++IconFrame_;
  ShowPicture(IconFrame_);
  if (IconFrame_ == kFrameCount) IconFrame_ = 0;
}

int HiddenFormModel::KeepAliveInterval() const {
  if (app_.PingSettings.PingAutomatic) return kDefaultKeepAliveMinutes;
  // The dialog offers 1 to 60 minutes; a file edited by hand may hold
  // anything else, and then the interval of a fresh installation applies.
  const int position = common::IntervalPosition(app_.PingSettings.PingInterval);
  return position < 0 ? kDefaultKeepAliveMinutes : position + 1;
}

void HiddenFormModel::TimerPing_Timer() {
  if (!Loaded()) return;
  if (keepAliveMinutes_ < KeepAliveInterval()) ++keepAliveMinutes_;
  if (keepAliveMinutes_ < KeepAliveInterval()) return;
  // Due, but another ping is busy: the next tick tries again.
  if (app_.pingServices.PingRunning()) return;
  keepAliveMinutes_ = 0;
  common::KeepAlivePing(app_.pingServices, app_.PingSettings.PingHost, kKeepAliveTimeoutMs);
}

void HiddenFormModel::TrayMouse(std::uintptr_t mouseMessage) {
  if (!Loaded()) return;
  switch (common::DecodeTrayClick(mouseMessage)) {
    case common::TrayClick::StartKestrel:
      StartKestrel();
      break;
    case common::TrayClick::ShowPopup:
      app_.systray.ShowPopup(window_, [this] { host_.ShowPopupMenu(); });
      break;
    case common::TrayClick::None:
      break;
  }
}

void HiddenFormModel::StartKestrel() {
  // Through the shell's "open", so that Windows can ask for consent to run
  // the tuning program, which needs administrator rights.
  const std::string path = common::ProgramFile(app_.ProgramDirectory(), "\\Kestrel.exe");
  const std::intptr_t result = app_.platform.shell.Open(window_, path, platform::ShowCode::Normal);
  if (result > 32) return;
  app_.platform.messages.Show(StartFailedMessage(path, result), kProgramTitle,
                              platform::MessageButtons::Ok, platform::MessageIcon::Information);
}

void HiddenFormModel::MenuCommand(int id) {
  if (!Loaded()) return;
  switch (id) {
    case ids::mnuKestrel: StartKestrel(); break;
    case ids::mnuPingConfiguration: host_.ShowPingDialog(); break;
    case ids::mnuPingNow: mnuPingNow_Click(); break;
    case ids::mnuWebsite: common::OpenWebSite(app_.platform.shell, window_); break;
    case ids::mnuemail: common::SendEmail(app_.platform.shell, window_); break;
    case ids::mnuHelp: common::OpenHelpFile(app_.platform.shell, window_, app_.ProgramDirectory()); break;
    case ids::mnuDisable: mnuDisable_Click(); break;
    case ids::mnuExit: mnuExit_Click(); break;
    default: break;
  }
}

void HiddenFormModel::mnuPingNow_Click() {
  common::PingNow(app_.pingContext, app_.pingServices, [this] { host_.PumpMessages(); });
}

void HiddenFormModel::mnuDisable_Click() {
  if (mnuDisableCaption_ != kDisableCaption) {
    mnuDisableCaption_ = kDisableCaption;
    TimerPing_.SetEnabled(true);
    return;
  }
  mnuDisableCaption_ = kEnableCaption;
  TimerPing_.SetEnabled(false);
  app_.platform.messages.Show(std::string(kDisabledMessage), kProgramTitle,
                              platform::MessageButtons::Ok, platform::MessageIcon::Information);
}

void HiddenFormModel::mnuExit_Click() {
  Form_QueryUnload();
  host_.FormUnloaded();
}

std::string HiddenFormModel::MenuCaption(int id) const {
  if (id == ids::mnuDisable) return mnuDisableCaption_;
  for (const PopupMenuEntry& entry : kPopupMenu) {
    if (entry.id == id) return std::string(entry.caption);
  }
  return {};
}

}  // namespace tidewatch
