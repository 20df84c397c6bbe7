#include <cstring>

#include "platform/win32/adapters.h"

namespace platform::win32 {
namespace {

static_assert(tray::kFlagMessage == NIF_MESSAGE && tray::kFlagIcon == NIF_ICON &&
              tray::kFlagTip == NIF_TIP);
static_assert(tray::kMouseMove == WM_MOUSEMOVE && tray::kLeftButtonDown == WM_LBUTTONDOWN &&
              tray::kLeftButtonUp == WM_LBUTTONUP && tray::kLeftDoubleClick == WM_LBUTTONDBLCLK &&
              tray::kRightButtonDown == WM_RBUTTONDOWN && tray::kRightButtonUp == WM_RBUTTONUP &&
              tray::kRightDoubleClick == WM_RBUTTONDBLCLK);
static_assert(static_cast<DWORD>(TrayOperation::Add) == NIM_ADD &&
              static_cast<DWORD>(TrayOperation::Modify) == NIM_MODIFY &&
              static_cast<DWORD>(TrayOperation::Delete) == NIM_DELETE);
static_assert(sizeof(NOTIFYICONDATAA{}.szTip) >= tray::kTipLength);
// The record every shell since the first one reads: 88 bytes in a 32-bit
// program, larger where handles are 64 bits wide.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88);

}  // namespace

NOTIFYICONDATAA ToNotifyIconData(const NotifyIconData& record) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = AsHwnd(record.window);
  data.uID = record.id;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callbackMessage;
  data.hIcon = reinterpret_cast<HICON>(record.icon);
  std::memcpy(data.szTip, record.tip.data(), record.tip.size());
  return data;
}

bool Win32Tray::NotifyIcon(TrayOperation operation, const NotifyIconData& record) {
  NOTIFYICONDATAA data = ToNotifyIconData(record);
  return Shell_NotifyIconA(static_cast<DWORD>(operation), &data) != FALSE;
}

std::uint32_t Win32Tray::TaskbarCreatedMessage() {
  const UINT message = RegisterWindowMessageA("TaskbarCreated");
  if (message == 0) return 0;
  // A program started by an elevated one runs elevated too, and the system
  // drops messages from the unelevated shell to it unless they are let in.
  ChangeWindowMessageFilter(message, MSGFLT_ADD);
  return message;
}

bool Win32Tray::BringToForeground(WindowHandle window) {
  return SetForegroundWindow(AsHwnd(window)) != FALSE;
}

void Win32Tray::PostEmptyMessage(WindowHandle window) {
  PostMessageA(AsHwnd(window), WM_NULL, 0, 0);
}

bool Win32Tray::ShowBalloon(const NotifyIconData& record, const std::string& title,
                            const std::string& text) {
  // The balloon fields come with the second version of the record; the
  // icon itself keeps the first, which every shell takes.
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = AsHwnd(record.window);
  data.uID = record.id;
  data.uFlags = NIF_INFO;
  lstrcpynA(data.szInfo, text.c_str(), static_cast<int>(sizeof data.szInfo));
  lstrcpynA(data.szInfoTitle, title.c_str(), static_cast<int>(sizeof data.szInfoTitle));
  data.dwInfoFlags = NIIF_INFO;
  data.uTimeout = 10000;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

LocalTime Win32Clock::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::uint64_t Win32Clock::Milliseconds() { return GetTickCount64(); }

WindowHandle Win32ProgramWindows::Find(const std::string& windowClass) {
  return AsWindowHandle(FindWindowA(windowClass.c_str(), nullptr));
}

void Win32ProgramWindows::BringToFront(WindowHandle window) {
  const HWND hwnd = AsHwnd(window);
  // Posted, not sent: the window may belong to an elevated process, which
  // does not take sent messages from this one, and a busy one must not stall
  // the tray.
  if (IsIconic(hwnd)) ShowWindowAsync(hwnd, SW_RESTORE);
  SetForegroundWindow(hwnd);
}

}  // namespace platform::win32
