#include "tidewatch/hidden_form.h"

#include "common/files.h"
#include "common/links.h"
#include "common/ping_now.h"
#include "kestrel/control_ids.h"

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
      watch_(app),
      mnuDisableCaption_(kDisableCaption) {
  app_.pingSettingsLoaded = [this] { PingSettingsLoaded(); };
}

HiddenFormModel::~HiddenFormModel() {
  app_.pingSettingsLoaded = nullptr;
  app_.pingService.CancelAll();
}

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
  // A check still waiting on the network must not touch the icon afterwards.
  app_.pingService.CancelAll();
  checkPending_ = false;
  app_.systray.Remove();
  TimerPing_.Destroy();
  TimerTidewatch_.Destroy();
  TimerIcon_.Destroy();
}

void HiddenFormModel::PingSettingsLoaded() {
  pingFileWrite_ = PingFileWriteTime();
  keepAliveMinutes_ = 0;
  TimerPing_.SetInterval(kKeepAliveTickMs);
  TimerPing_.SetEnabled(true);
}

std::uint64_t HiddenFormModel::PingFileWriteTime() const {
  const auto attributes =
      app_.platform.files.GetAttributes(common::PingFilePath(app_.ProgramDirectory()));
  return attributes ? attributes->lastWrite : 0;
}

void HiddenFormModel::PingSettingsSaved() {
  if (!Loaded()) return;
  // Not the load of the dialog: a keep-alive the user disabled stays off.
  common::PingContext reading = app_.pingContext;
  reading.afterLoad = nullptr;
  common::LoadPingSettings(reading);
  pingFileWrite_ = PingFileWriteTime();
}

void HiddenFormModel::ReloadChangedPingSettings() {
  if (PingFileWriteTime() != pingFileWrite_) PingSettingsSaved();
}

void HiddenFormModel::ShowPicture(int image) {
  app_.systray.ChangeImage(pictures_[static_cast<std::size_t>(image - 1)]);
}

void HiddenFormModel::ConnectionCheck() {
  if (!Loaded() || checkPending_) return;
  checkPending_ = true;
  app_.pingService.Ping(common::ConnectionTestHost, kConnectionCheckTimeoutMs,
                        [this](bool up, std::uint32_t elapsedMs) {
                          checkPending_ = false;
                          CheckResult(up, elapsedMs);
                        });
}

void HiddenFormModel::CheckResult(bool up, std::uint32_t elapsedMs) {
  if (!Loaded()) return;
  watch_.CheckResult(up, elapsedMs);
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
  if (!Loaded()) return;
  ReloadChangedPingSettings();
  // While a ping is pending or its message is open, the next tick tries again.
  if (app_.pingService.Busy()) return;
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
  ReloadChangedPingSettings();
  if (keepAliveMinutes_ < KeepAliveInterval()) ++keepAliveMinutes_;
  if (keepAliveMinutes_ < KeepAliveInterval()) return;
  // Due, but another ping is busy: the next tick tries again.
  if (app_.pingService.Busy()) return;
  keepAliveMinutes_ = 0;
  app_.pingService.Ping(app_.PingSettings.PingHost, kKeepAliveTimeoutMs, nullptr);
}

void HiddenFormModel::TrayMouse(std::uintptr_t mouseMessage) {
  if (!Loaded()) return;
  if (mouseMessage == platform::tray::kLeftButtonDown) gestureStarted_ = false;
  switch (common::DecodeTrayClick(mouseMessage)) {
    case common::TrayClick::StartKestrel:
      // A double-click arrives as a release, a double-click and a release;
      // under UAC each start is a consent prompt of its own.
      if (gestureStarted_) break;
      gestureStarted_ = true;
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
  // Clicks that arrive while the consent prompt or the failure message of a
  // start is open belong to that start.
  if (starting_) return;
  // A second copy would only end at once, after a consent prompt of its own.
  if (const auto window = app_.platform.windows.Find(kestrel::ids::kMainWindowClass)) {
    app_.platform.windows.BringToFront(window);
    return;
  }
  starting_ = true;
  // Through the shell's "open", so that Windows can ask for consent to run
  // the tuning program, which needs administrator rights.
  const std::string path = common::ProgramFile(app_.ProgramDirectory(), "\\Kestrel.exe");
  const std::intptr_t result = app_.platform.shell.Open(window_, path, platform::ShowCode::Normal);
  if (result <= 32) {
    app_.platform.messages.Show(StartFailedMessage(path, result), kProgramTitle,
                                platform::MessageButtons::Ok, platform::MessageIcon::Information);
  }
  starting_ = false;
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
    case ids::mnuConnectionLog: watch_.OpenLog(window_); break;
    case ids::mnuNotifyMe: watch_.ToggleNotifyMe(); break;
    case ids::mnuDisable: mnuDisable_Click(); break;
    case ids::mnuExit: mnuExit_Click(); break;
    default: break;
  }
}

void HiddenFormModel::mnuPingNow_Click() {
  // Off the window's thread like the timers' pings, behind any that is
  // pending; the sound follows the echo, whatever its outcome.
  app_.pingService.Ping(app_.PingSettings.PingHost, kKeepAliveTimeoutMs, [this](bool, auto) {
    if (Loaded() && app_.PingSettings.PingSound) common::PlayPingSound(app_.pingContext);
  });
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

bool HiddenFormModel::MenuChecked(int id) {
  return id == ids::mnuNotifyMe && watch_.NotifyMe();
}

std::string HiddenFormModel::MenuCaption(int id) const {
  if (id == ids::mnuDisable) return mnuDisableCaption_;
  for (const PopupMenuEntry& entry : kPopupMenu) {
    if (entry.id == id) return std::string(entry.caption);
  }
  return {};
}

}  // namespace tidewatch
