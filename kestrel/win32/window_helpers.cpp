#include "kestrel/win32/window_helpers.h"

#include <vector>

namespace kestrel::win32 {

HFONT MessageFont() {
  static platform::win32::UniqueGdiObject font = [] {
    NONCLIENTMETRICSA metrics{};
    // The size of the record as older systems know it, so that they fill it too.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
      return platform::win32::UniqueGdiObject(CreateFontIndirectA(&metrics.lfMessageFont));
    }
    return platform::win32::UniqueGdiObject(nullptr);
  }();
  return font ? static_cast<HFONT>(font.get()) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

namespace {
BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
  SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}
}  // namespace

void SetFontOnChildren(HWND parent, HFONT font) {
  EnumChildWindows(parent, SetFontOnChild, reinterpret_cast<LPARAM>(font));
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextA(window, buffer.data(), length + 1);
  return std::string(buffer.data(), copied > 0 ? copied : 0);
}

void SetWindowTextIfDifferent(HWND window, const std::string& text) {
  if (WindowText(window) != text) SetWindowTextA(window, text.c_str());
}

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                 int width, int height, int id, DWORD exStyle) {
  return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                         height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

namespace {
std::vector<HWND>& TopLevelWindows() {
  static std::vector<HWND> windows;
  return windows;
}
}  // namespace

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave it for the main loop, which ends the program.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    DispatchWithDialogKeys(message);
  }
}

void AddTopLevelWindow(HWND window) { TopLevelWindows().push_back(window); }

void RemoveTopLevelWindow(HWND window) {
  auto& windows = TopLevelWindows();
  std::erase(windows, window);
  if (windows.empty()) PostQuitMessage(0);
}

void DispatchWithDialogKeys(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  for (HWND window : TopLevelWindows()) {
    if (window == root && IsDialogMessageA(window, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchWithDialogKeys(message);
  return static_cast<int>(message.wParam);
}

}  // namespace kestrel::win32
