#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/timers.h"
#include "tidewatch/connection_watch.h"
#include "tidewatch/control_ids.h"
#include "tidewatch/form_timer.h"
#include "tidewatch/tidewatch_app.h"

namespace tidewatch {

// The timers of the hidden form, by the ids their ticks carry.
enum TimerId : std::uint32_t { kTimerPing = 1, kTimerTidewatch = 2, kTimerIcon = 3 };

inline constexpr std::uint32_t kKeepAliveTickMs = 60000;
inline constexpr std::uint32_t kConnectionCheckMs = 30000;
inline constexpr std::uint32_t kAnimationFrameMs = 200;
inline constexpr std::int32_t kConnectionCheckTimeoutMs = 10000;
inline constexpr std::int32_t kKeepAliveTimeoutMs = 1000;
// The keep-alive interval when the settings name none that can be used.
inline constexpr int kDefaultKeepAliveMinutes = 5;

inline constexpr int kFrameCount = 4;   // images 1 to 4 of imgTidewatch
inline constexpr int kRestingPicture = 5;

inline constexpr std::string_view kDisableCaption = "Disable";
inline constexpr std::string_view kEnableCaption = "Enable";
inline constexpr std::string_view kDisabledMessage =
    "You have only disabled the Ping utility...\r\n"
    "\r\n"
    "Kestrel will continue boosting your Internet connection.\r\n"
    "In order to disable the connection acceleration, you will have to run the uninstall "
    "program.";

// One entry of the popup menu: an item at the top (depth 0) or in the
// submenu of the last top item before it (depth 1). "-" is a separator.
struct PopupMenuEntry {
  int id;
  std::string_view caption;
  int depth;
};

// The popup menu in its order, with "Disable" as it stands at start.
inline constexpr PopupMenuEntry kPopupMenu[] = {
    {ids::mnuKestrel, "Kestrel", 0},
    {ids::mnuPingConfiguration, "Ping Configuration", 0},
    {ids::mnuPingNow, "Ping Now", 0},
    {0, "-", 0},
    {ids::mnuContact, "Contact us", 0},
    {ids::mnuWebsite, "Visit out web site", 1},
    {ids::mnuemail, "Email us", 1},
    {0, "-", 0},
    {ids::mnuHelp, "User's Guide", 0},
    {ids::mnuConnectionLog, "Connection &Log", 0},
    {ids::mnuNotifyMe, "&Notify Me", 0},
    {0, "-", 0},
    {ids::mnuDisable, kDisableCaption, 0},
    {0, "-", 0},
    {ids::mnuExit, "Exit", 0},
};

// The message shown when Kestrel.exe cannot be started; result is the
// shell's answer (32 or below).
std::string StartFailedMessage(const std::string& path, std::intptr_t result);

// What the hidden form asks of its view.
class HiddenFormHost {
 public:
  virtual ~HiddenFormHost() = default;
  // Shows the popup menu at the mouse position, with the captions of
  // MenuCaption; returns when it has closed.
  virtual void ShowPopupMenu() = 0;
  // Shows the ping configuration dialog without blocking, or brings it to
  // the front when it is open.
  virtual void ShowPingDialog() = 0;
  // The form has unloaded: the program ends once no dialog of it is open.
  virtual void FormUnloaded() = 0;
};

// The presentation model of frmTidewatch, the tray monitor's hidden form: its
// three timers, the tray picture, the popup menu and what each of them does.
class HiddenFormModel {
 public:
  // pictures: the icons of imgTidewatch, images 1 to 5.
  using Pictures = std::array<platform::IconHandle, kRestingPicture>;

  HiddenFormModel(TidewatchApp& app, platform::Timers& timers, HiddenFormHost& host);
  ~HiddenFormModel();
  HiddenFormModel(const HiddenFormModel&) = delete;
  HiddenFormModel& operator=(const HiddenFormModel&) = delete;

  // The load step: settings, keep-alive timer, icon, and the first check.
  void Form_Load(platform::WindowHandle window, const Pictures& pictures);
  // Removes the icon and stops the timers; after it the form does nothing.
  // Runs before the form unloads for any reason: Exit, the window closed,
  // the session ending.
  void Form_QueryUnload();

  // A tick of one of the timers, by its id; other ids are not the form's.
  void TimerTick(std::uint32_t id);
  void TimerPing_Timer();
  void TimerTidewatch_Timer();
  void TimerIcon_Timer();

  // The shell's callback for a mouse action on the icon.
  void TrayMouse(std::uintptr_t mouseMessage);

  // The tuning program has saved Ping.cfg: the host and interval in it count
  // from the next tick on, without touching the keep-alive's timer or count.
  void PingSettingsSaved();

  // A command of the popup menu, by its id.
  void MenuCommand(int id);
  void StartKestrel();
  void mnuPingNow_Click();
  void mnuDisable_Click();
  void mnuExit_Click();

  // Starts the connection check off the window's thread, unless one is
  // pending; its result arrives later through CheckResult.
  void ConnectionCheck();
  bool CheckPending() const { return checkPending_; }

  const FormTimer& TimerPing() const { return TimerPing_; }
  const FormTimer& TimerTidewatch() const { return TimerTidewatch_; }
  const FormTimer& TimerIcon() const { return TimerIcon_; }
  std::int16_t IconFrame() const { return IconFrame_; }
  // Ticks of TimerPing since the last keep-alive ping or settings load.
  int KeepAliveMinutes() const { return keepAliveMinutes_; }
  // The keep-alive interval the settings ask for, in minutes.
  int KeepAliveInterval() const;
  std::string MenuCaption(int id) const;
  // Whether the item shows its check mark.
  bool MenuChecked(int id);
  ConnectionWatch& Watch() { return watch_; }
  bool Loaded() const { return loaded_ && !unloaded_; }

 private:
  void PingSettingsLoaded();
  // Reads Ping.cfg again when it was written since the last read: the
  // safety net for a saved message that did not arrive.
  void ReloadChangedPingSettings();
  std::uint64_t PingFileWriteTime() const;
  void CheckResult(bool up, std::uint32_t elapsedMs);
  void ShowPicture(int image);

  TidewatchApp& app_;
  HiddenFormHost& host_;
  platform::WindowHandle window_ = 0;
  Pictures pictures_{};

  FormTimer TimerPing_;
  FormTimer TimerTidewatch_;
  FormTimer TimerIcon_;
  std::int16_t IconFrame_ = 0;
  ConnectionWatch watch_;
  int keepAliveMinutes_ = 0;
  std::string mnuDisableCaption_;
  bool checkPending_ = false;
  std::uint64_t pingFileWrite_ = 0;  // Ping.cfg's write time at the last read
  // Whether the left-button gesture under way (from its press) has started
  // Kestrel already, so that a double-click starts it once.
  bool gestureStarted_ = false;
  // A start is under way: its consent prompt or its failure message is open.
  bool starting_ = false;
  bool loaded_ = false;
  bool unloaded_ = false;
};

}  // namespace tidewatch
