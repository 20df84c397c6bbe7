// The yardstick of the tray monitor's benchmark: a program that does
// nothing but own one hidden top-level window with the monitor's three
// timers. With --animate the 200 ms timer runs, as the monitor's animation
// does while the connection is up; without it, it stays off.
#include <cstring>

#include "platform/win32/windows_shim.h"

namespace {

LRESULT CALLBACK IdleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = IdleProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "BenchIdleTimers";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "Idle",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return 1;
  SetTimer(window, 1, 60000, nullptr);
  SetTimer(window, 2, 30000, nullptr);
  if (std::strstr(commandLine, "--animate")) SetTimer(window, 3, 200, nullptr);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
