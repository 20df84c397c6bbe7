#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/tray.h"

// The notification-area icon that both programs carry: its record, the
// operations on it, and what a click on it means.
namespace common {

inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr std::uint32_t kTrayIconFlags =
    platform::tray::kFlagMessage | platform::tray::kFlagIcon | platform::tray::kFlagTip;
// The shell reports mouse actions on the icon as this message to the owner
// window, with the mouse message itself as the message's second parameter.
inline constexpr std::uint32_t kTrayCallbackMessage = platform::tray::kMouseMove;
inline constexpr std::string_view kTrayTooltip = "Kestrel";

// The fixed-length tooltip: the text, one NUL, then spaces to the end, so
// that the shell shows the text alone. A text too long for the field is cut
// so that the NUL still fits.
std::array<char, platform::tray::kTipLength> PaddedTooltip(std::string_view text);

// What a mouse action on the icon asks the program to do.
enum class TrayClick { None, StartKestrel, ShowPopup };

// Decodes the mouse message of a callback. Only releases and double-clicks
// act; moves, presses and anything that is not one of the shell's mouse
// messages do nothing. A double-click arrives as a release, a double-click
// and a release, and each of the three acts.
TrayClick DecodeTrayClick(std::uintptr_t mouseMessage);

// The one icon of a program. The record is filled once by Install and reused
// by every later call; only its icon changes afterwards. The shell's answers
// are not examined: a failed call leaves the program running without the
// icon or with the previous image.
class SysTray {
 public:
  // Learns the number of the shell's taskbar-created message at once, so
  // that the owner window can forward its messages from its first one on.
  explicit SysTray(platform::Tray& tray);
  SysTray(const SysTray&) = delete;
  SysTray& operator=(const SysTray&) = delete;

  // Fills the whole record for the owner window and adds the icon.
  void Install(platform::WindowHandle owner, platform::IconHandle icon);
  // Shows another picture; the picture shown already is not sent again.
  // While no icon is installed the picture is only kept for the next install.
  void ChangeImage(platform::IconHandle icon);
  // Shows another tooltip (cut to the field's length); the record keeps it
  // for a later install or a new taskbar.
  void ChangeTooltip(std::string_view text);
  // A balloon at the installed icon; nothing while none is installed.
  void ShowBalloon(const std::string& title, const std::string& text);
  // Deletes the icon. Later image changes and taskbar restarts leave the
  // notification area alone, so that a removed icon stays removed.
  void Remove();

  // The owner window forwards every message it does not handle itself. When
  // the message is the shell's taskbar-created message, the icon is added
  // again with its present picture, because a new taskbar has forgotten it;
  // returns true then (also when no icon is installed).
  bool HandleTaskbarCreated(std::uint32_t message);

  // Shows a popup menu of the owner window: the window becomes the
  // foreground window first, so that the menu closes when the user clicks
  // elsewhere, and the empty message follows when the menu has returned.
  void ShowPopup(platform::WindowHandle owner, const std::function<void()>& showMenu);

  bool Installed() const { return state_ == State::Installed; }
  const platform::NotifyIconData& Record() const { return TrayIconRecord; }

 private:
  enum class State { NotInstalled, Installed, Removed };

  platform::Tray& tray_;
  platform::NotifyIconData TrayIconRecord;
  std::uint32_t taskbarCreated_ = 0;
  State state_ = State::NotInstalled;
};

}  // namespace common
