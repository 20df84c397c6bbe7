// A program with a window of its own, as any program the user has open when
// a restart is requested: it records the end-of-session messages Windows
// sends it to the file named on its command line, one line each.
#include <string>

#include "platform/win32/windows_shim.h"

namespace {

constexpr const char* kClassName = "KestrelEndSessionWitness";

std::string g_record_path;

void Record(const std::string& line) {
  const HANDLE file = CreateFileA(g_record_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  FlushFileBuffers(file);
  CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      Record("WM_QUERYENDSESSION");
      return TRUE;
    case WM_ENDSESSION:
      Record(wparam ? "WM_ENDSESSION ending" : "WM_ENDSESSION cancelled");
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
  g_record_path = command_line;
  if (g_record_path.empty()) return 2;

  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return 1;
  const HWND window = CreateWindowA(kClassName, "End session witness", WS_OVERLAPPEDWINDOW, 0, 0,
                                    200, 100, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  Record("started");

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
