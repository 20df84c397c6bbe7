#include "common/win32/window_helpers.h"

#include <algorithm>
#include <vector>

namespace common::win32 {

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

bool RegisterViewClass(const char* name, WNDPROC procedure, HICON icon, HICON smallIcon) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
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

RECT WorkAreaAround(HWND around) {
  const HMONITOR monitor = around ? MonitorFromWindow(around, MONITOR_DEFAULTTONEAREST)
                                  : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  RECT work{};
  if (monitor && GetMonitorInfoA(monitor, &info)) {
    work = info.rcWork;
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  }
  return work;
}

POINT CentredOver(HWND around, int width, int height) {
  RECT area{};
  if (!around || !GetWindowRect(around, &area)) {
    around = nullptr;
    area = RECT{};
  }
  const RECT work = WorkAreaAround(around);
  if (IsRectEmpty(&area)) area = work;
  POINT corner{area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2};
  corner.x = std::max(work.left, std::min(corner.x, work.right - width));
  corner.y = std::max(work.top, std::min(corner.y, work.bottom - height));
  return corner;
}

void RunModal(HWND owner, HWND window, const std::function<bool()>& done) {
  if (owner) EnableWindow(owner, FALSE);
  MSG message{};
  bool quit = false;
  // A window destroyed under the wait, also with its owner, ends it: its
  // handle may already name another window.
  while (!done() && IsWindow(window)) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!IsDialogMessageA(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

void MirrorEnabled(HWND control, bool enabled) {
  if ((IsWindowEnabled(control) != FALSE) != enabled) EnableWindow(control, enabled);
}

void MirrorList(HWND combo, const ListControl& list) {
  MirrorEnabled(combo, list.enabled);
  const auto count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  if (count != static_cast<int>(list.items.size())) {
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : list.items) {
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
  }
  if (SendMessageA(combo, CB_GETCURSEL, 0, 0) != list.selected) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(list.selected), 0);
  }
}

void MirrorOption(HWND button, const OptionControl& option) {
  MirrorEnabled(button, option.enabled);
  SendMessageA(button, BM_SETCHECK, option.selected ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MirrorCheck(HWND button, const CheckControl& check) {
  MirrorEnabled(button, check.enabled);
  const WPARAM state = check.state == 1 ? BST_CHECKED
                       : check.state == 2 ? BST_INDETERMINATE
                                          : BST_UNCHECKED;
  SendMessageA(button, BM_SETCHECK, state, 0);
}

namespace {

// An edit takes its alignment only when it is made: a new alignment means a
// new edit in the old one's place, with its id, style, font, text, limit and
// tab position. A subclass of the old edit is not carried over.
HWND Realigned(HWND box, TextAlignment alignment) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(box, GWL_STYLE));
  const DWORD wanted = (style & ~static_cast<DWORD>(ES_CENTER | ES_RIGHT)) |
                       (alignment == TextAlignment::Centre ? ES_CENTER : ES_LEFT);
  if (wanted == style) return box;

  HWND parent = GetParent(box);
  RECT place{};
  GetWindowRect(box, &place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  HWND created = CreateWindowExA(
      static_cast<DWORD>(GetWindowLongPtrA(box, GWL_EXSTYLE)), "EDIT", WindowText(box).c_str(),
      wanted, place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(box))),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(box, GWLP_HINSTANCE)), nullptr);
  if (!created) return box;
  SendMessageA(created, WM_SETFONT, static_cast<WPARAM>(SendMessageA(box, WM_GETFONT, 0, 0)), TRUE);
  SendMessageA(created, EM_LIMITTEXT, static_cast<WPARAM>(SendMessageA(box, EM_GETLIMITTEXT, 0, 0)),
               0);
  // The tab order is the order of the children.
  HWND previous = GetWindow(box, GW_HWNDPREV);
  SetWindowPos(created, previous ? previous : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const bool focused = GetFocus() == box;
  DestroyWindow(box);
  if (focused) SetFocus(created);
  return created;
}

}  // namespace

void MirrorText(HWND box, const TextControl& text) {
  box = Realigned(box, text.alignment);
  MirrorEnabled(box, text.enabled);
  if (WindowText(box) != text.text) {
    SetWindowTextA(box, text.text.c_str());
    // A filtered paste leaves the caret after the text, where the user typed.
    const auto end = static_cast<WPARAM>(text.text.size());
    SendMessageA(box, EM_SETSEL, end, static_cast<LPARAM>(end));
  }
}

}  // namespace common::win32
