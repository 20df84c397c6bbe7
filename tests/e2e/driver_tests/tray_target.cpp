// The tray mode of the target program: the tray module over the real
// adapter, owned by a hidden window, as the tray monitor uses it.
#include <string>

#include "common/systray.h"
#include "platform/win32/adapters.h"
#include "tests/e2e/driver_tests/target_program.h"
#include "tidewatch/win32/resource_ids.h"

namespace target {
namespace {

using platform::win32::AsWindowHandle;

constexpr UINT_PTR kAnimationTimer = 1;

struct TrayTarget {
  platform::win32::Win32Tray tray;
  common::SysTray systray{tray};
  platform::win32::UniqueIcon pictures[tidewatch::kTrayImageCount];
  HMENU menu = nullptr;
  HWND window = nullptr;
  int starts = 0;
  int frame = 0;
  std::string last = "installed";

  platform::IconHandle Picture(int n) const {
    return reinterpret_cast<platform::IconHandle>(pictures[n - 1].get());
  }
  void Report() const {
    SetWindowTextA(window, ("starts " + std::to_string(starts) + ", " + last).c_str());
  }
  void ShowMenu() {
    systray.ShowPopup(AsWindowHandle(window), [&] {
      POINT at{};
      GetCursorPos(&at);
      TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    });
  }
  void Command(unsigned id) {
    if (id > kPictureCommand && id <= kPictureCommand + tidewatch::kTrayImageCount) {
      KillTimer(window, kAnimationTimer);
      const int n = static_cast<int>(id - kPictureCommand);
      systray.ChangeImage(Picture(n));
      last = "picture " + std::to_string(n);
    } else if (id == kAnimateCommand) {
      SetTimer(window, kAnimationTimer, 200, nullptr);
      last = "animating";
    } else if (id == kRemoveCommand) {
      KillTimer(window, kAnimationTimer);
      systray.Remove();
      last = "removed";
    }
    Report();
  }
};

TrayTarget* g_target = nullptr;

HMENU BuildMenu() {
  HMENU popup = CreatePopupMenu();
  for (int n = 1; n <= 4; ++n) {
    AppendMenuA(popup, MF_STRING, kPictureCommand + n, ("Picture " + std::to_string(n)).c_str());
  }
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  HMENU more = CreatePopupMenu();
  AppendMenuA(more, MF_STRING, kPictureCommand + 5, "Picture 5");
  AppendMenuA(more, MF_STRING, kAnimateCommand, "Animate");
  AppendMenuA(more, MF_STRING, kRemoveCommand, "Remove icon");
  AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "More");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Popup");
  return bar;
}

LRESULT CALLBACK TrayProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  TrayTarget* t = g_target;
  if (t && t->systray.HandleTaskbarCreated(message)) return 0;
  switch (message) {
    case common::kTrayCallbackMessage:
      if (!t) return 0;
      switch (common::DecodeTrayClick(static_cast<std::uintptr_t>(lparam))) {
        case common::TrayClick::StartKestrel:
          ++t->starts;
          t->Report();
          break;
        case common::TrayClick::ShowPopup:
          t->ShowMenu();
          break;
        case common::TrayClick::None:
          break;
      }
      return 0;
    case WM_COMMAND:
      if (t) t->Command(LOWORD(wparam));
      return 0;
    case WM_TIMER:
      if (t && wparam == kAnimationTimer) {
        t->frame = t->frame % 4 + 1;
        t->systray.ChangeImage(t->Picture(t->frame));
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wparam, lparam);
  }
}

}  // namespace

int ServeTray() {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = TrayProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kTrayOwnerClass;
  RegisterClassA(&window_class);

  TrayTarget target;
  const int size = GetSystemMetrics(SM_CXSMICON);
  for (int n = 1; n <= tidewatch::kTrayImageCount; ++n) {
    // At the tray's own size, so that the shell shows the small image
    // itself rather than a reduced large one.
    target.pictures[n - 1].reset(static_cast<HICON>(
        LoadImageA(window_class.hInstance, MAKEINTRESOURCEA(tidewatch::TrayImageResource(n)),
                   IMAGE_ICON, size, size, 0)));
  }
  target.menu = BuildMenu();
  // Never shown: the icon is all the user sees.
  target.window = CreateWindowExA(0, kTrayOwnerClass, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, window_class.hInstance, nullptr);
  g_target = &target;
  target.systray.Install(AsWindowHandle(target.window), target.Picture(tidewatch::kRestingImage));
  target.Report();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  target.systray.Remove();
  g_target = nullptr;
  DestroyMenu(target.menu);
  return 0;
}

}  // namespace target
