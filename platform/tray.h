#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/shell.h"

namespace platform {

// An icon of the program, passed through the portable code untouched. Wide
// enough for a handle of either architecture.
using IconHandle = std::uintptr_t;

// The system's numbers for the notification-area icon, so that the portable
// code can fill the record and read the shell's callbacks; the adapter checks
// them against the headers.
namespace tray {
inline constexpr std::uint32_t kFlagMessage = 1;  // uCallbackMessage is valid
inline constexpr std::uint32_t kFlagIcon = 2;     // hIcon is valid
inline constexpr std::uint32_t kFlagTip = 4;      // szTip is valid

inline constexpr std::uint32_t kMouseMove = 0x200;
inline constexpr std::uint32_t kLeftButtonDown = 0x201;
inline constexpr std::uint32_t kLeftButtonUp = 0x202;
inline constexpr std::uint32_t kLeftDoubleClick = 0x203;
inline constexpr std::uint32_t kRightButtonDown = 0x204;
inline constexpr std::uint32_t kRightButtonUp = 0x205;
inline constexpr std::uint32_t kRightDoubleClick = 0x206;

inline constexpr std::size_t kTipLength = 64;
}  // namespace tray

// The 8-bit-character notification-area record in its first, smallest
// version: every field the shell reads from it. The adapter lays it out and
// sizes it by the headers of the architecture being built.
struct NotifyIconData {
  WindowHandle window = 0;  // receives the callback messages
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  IconHandle icon = 0;
  // Fixed length: the shell shows the text up to the first NUL.
  std::array<char, tray::kTipLength> tip{};

  bool operator==(const NotifyIconData&) const = default;
};

// The shell's operations on a notification-area icon; the numbers are the
// system's own.
enum class TrayOperation : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The notification area, and what a popup menu of a hidden window needs.
class Tray {
 public:
  virtual ~Tray() = default;
  // Hands the whole record to the shell; true when the shell took it.
  virtual bool NotifyIcon(TrayOperation operation, const NotifyIconData& record) = 0;
  // The number of the message every top-level window receives when the
  // shell has created its taskbar again and shows none of the old icons;
  // 0 when the number cannot be had.
  virtual std::uint32_t TaskbarCreatedMessage() = 0;
  // Makes the window the foreground window, so that a popup menu it shows
  // closes when the user clicks elsewhere.
  virtual bool BringToForeground(WindowHandle window) = 0;
  // Posts the empty message (WM_NULL) to the window. Sent after a popup menu
  // has returned, it makes the menu's next showing work from the first click.
  virtual void PostEmptyMessage(WindowHandle window) = 0;
  // Shows a notification balloon at the icon of the record (its window and
  // id), with an information icon. Shells older than the balloons refuse it.
  virtual bool ShowBalloon(const NotifyIconData& record, const std::string& title,
                           const std::string& text) = 0;
};

}  // namespace platform
