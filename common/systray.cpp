#include "common/systray.h"

#include <algorithm>

namespace common {

std::array<char, platform::tray::kTipLength> PaddedTooltip(std::string_view text) {
  std::array<char, platform::tray::kTipLength> tip;
  tip.fill(' ');
  const std::size_t length = std::min(text.size(), tip.size() - 1);
  std::copy_n(text.begin(), length, tip.begin());
  tip[length] = '\0';
  return tip;
}

TrayClick DecodeTrayClick(std::uintptr_t mouseMessage) {
  // The whole parameter is compared, not its low word: with the record's
  // first version the shell sends the bare message number, and anything
  // else is not a click on the icon.
  switch (mouseMessage) {
    case platform::tray::kLeftButtonUp:
    case platform::tray::kLeftDoubleClick:
      return TrayClick::StartKestrel;
    case platform::tray::kRightButtonUp:
      return TrayClick::ShowPopup;
    default:
      return TrayClick::None;
  }
}

SysTray::SysTray(platform::Tray& tray)
    : tray_(tray), taskbarCreated_(tray.TaskbarCreatedMessage()) {}

void SysTray::Install(platform::WindowHandle owner, platform::IconHandle icon) {
  TrayIconRecord.window = owner;
  TrayIconRecord.id = kTrayIconId;
  TrayIconRecord.flags = kTrayIconFlags;
  TrayIconRecord.callbackMessage = kTrayCallbackMessage;
  TrayIconRecord.icon = icon;
  TrayIconRecord.tip = PaddedTooltip(kTrayTooltip);
  // Installed even when the shell refuses: a shell that starts later sends
  // its taskbar-created message, and the icon is added then.
  state_ = State::Installed;
  tray_.NotifyIcon(platform::TrayOperation::Add, TrayIconRecord);
}

void SysTray::ChangeImage(platform::IconHandle icon) {
  // The shell shows this picture already: a failed connection check every
  // 30 s would otherwise send the resting picture again each time.
  if (icon == TrayIconRecord.icon) return;
  TrayIconRecord.icon = icon;
  if (state_ == State::Installed) tray_.NotifyIcon(platform::TrayOperation::Modify, TrayIconRecord);
}

void SysTray::ChangeTooltip(std::string_view text) {
  const auto tip = PaddedTooltip(text);
  if (tip == TrayIconRecord.tip) return;
  TrayIconRecord.tip = tip;
  if (state_ != State::Installed) return;
  // The tip alone, so that the picture the animation shows stays as it is.
  platform::NotifyIconData record = TrayIconRecord;
  record.flags = platform::tray::kFlagTip;
  tray_.NotifyIcon(platform::TrayOperation::Modify, record);
}

void SysTray::ShowBalloon(const std::string& title, const std::string& text) {
  if (state_ == State::Installed) tray_.ShowBalloon(TrayIconRecord, title, text);
}

void SysTray::Remove() {
  if (state_ == State::Installed) tray_.NotifyIcon(platform::TrayOperation::Delete, TrayIconRecord);
  state_ = State::Removed;
}

bool SysTray::HandleTaskbarCreated(std::uint32_t message) {
  // Without a registered number there is nothing to recognise; 0 itself is
  // the empty message that ShowPopup posts.
  if (taskbarCreated_ == 0 || message != taskbarCreated_) return false;
  if (state_ == State::Installed) tray_.NotifyIcon(platform::TrayOperation::Add, TrayIconRecord);
  return true;
}

void SysTray::ShowPopup(platform::WindowHandle owner, const std::function<void()>& showMenu) {
  tray_.BringToForeground(owner);
  showMenu();
  tray_.PostEmptyMessage(owner);
}

}  // namespace common
