#include "tests/e2e/driver_tests/target_program.h"

#include "platform/win32/windows_shim.h"

namespace target {
namespace {

UINT g_box_style = MB_OK;
HWND g_status = nullptr;

HWND Control(const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
             HWND parent, int id) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void SetPanel(int panel, const std::string& text) {
  SendMessageA(g_status, SB_SETTEXTA, static_cast<WPARAM>(panel),
               reinterpret_cast<LPARAM>(text.c_str()));
}

void AddStatusBar(HWND parent) {
  g_status = Control(STATUSCLASSNAMEA, "", 0, 0, 0, 0, 0, parent, kStatus);
  int parts[3] = {120, 240, -1};
  SendMessageA(g_status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  SetPanel(0, "one");
  SetPanel(1, "");
  SetPanel(2, kLongPanelText);
}

void AddControls(HWND parent) {
  HWND combo =
      Control("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 10, 10, 150, 200, parent, kCombo);
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Alpha"));
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Beta \xE9t\xE9"));  // é in 1252
  Control("COMBOBOX", "", CBS_DROPDOWNLIST, 170, 10, 100, 200, parent, kEmptyCombo);
  Control("EDIT", "12", WS_BORDER | ES_AUTOHSCROLL, 10, 40, 100, 22, parent, kEdit);
  HWND check = Control("BUTTON", "Check", BS_AUTOCHECKBOX, 10, 70, 100, 22, parent, kCheck);
  SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
  Control("BUTTON", "&Show", BS_PUSHBUTTON, 10, 100, 100, 26, parent, kShowBox);
  HWND disabled = Control("BUTTON", "Off", BS_PUSHBUTTON, 120, 100, 100, 26, parent, kDisabled);
  EnableWindow(disabled, FALSE);
  HWND frame = Control("BUTTON", "Frame", BS_GROUPBOX, 10, 140, 200, 60, parent, kFrame);
  Control("BUTTON", "Inner", BS_AUTOCHECKBOX, 10, 20, 100, 22, frame, kNested);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kShowBox) {
        const int answer = MessageBoxA(hwnd, "Are the settings right?", "Target", g_box_style);
        SetPanel(0, "answer " + std::to_string(answer));
      } else if (LOWORD(wparam) == kCombo && HIWORD(wparam) == CBN_SELCHANGE) {
        const LRESULT selection = SendMessageA(reinterpret_cast<HWND>(lparam), CB_GETCURSEL, 0, 0);
        SetPanel(1, "selected " + std::to_string(selection));
      }
      return 0;
    case kSetBoxStyle:
      g_box_style = static_cast<UINT>(wparam);
      return 0;
    case WM_TIMER:
      KillTimer(hwnd, wparam);
      if (wparam == 1) AddStatusBar(hwnd);
      if (wparam == 2) DestroyWindow(hwnd);
      return 0;
    case WM_SIZE:
      if (g_status) SendMessageA(g_status, WM_SIZE, 0, 0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      RECT square{kSquareLeft, kSquareTop, kSquareLeft + kSquareSize, kSquareTop + kSquareSize};
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(dc, &square, red);
      DeleteObject(red);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wparam, lparam);
  }
}

}  // namespace

std::string SelfPath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

int Serve(const std::string& mode) {
  if (mode == "exit3") return 3;
  if (mode == "tray") return ServeTray();
  InitCommonControls();
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = Proc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kWindowClass;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  RegisterClassA(&window_class);
  HWND hwnd = CreateWindowExA(0, kWindowClass, "Target", WS_OVERLAPPEDWINDOW, 50, 50, 420, 300,
                              nullptr, nullptr, window_class.hInstance, nullptr);
  if (mode == "window" || mode == "flash") {
    AddControls(hwnd);
    AddStatusBar(hwnd);
  }
  if (mode == "late") SetTimer(hwnd, 1, 300, nullptr);
  if (mode == "flash") SetTimer(hwnd, 2, 150, nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace target
