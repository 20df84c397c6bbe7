#include "kestrel/win32/frm_display.h"

#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/control_ids.h"

namespace kestrel::win32 {

using namespace common::win32;

namespace {

// In 96-DPI pixels. The labels have room for a line more than they need at
// 100 %, since the message font grows a little faster than the DPI.
constexpr SIZE kClient{362, 222};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

}  // namespace

void FrmDisplay::ShowModal(HWND owner, const ModeInformation& info) {
  if (!RegisterViewClass(ids::kDisplayWindowClass, &ViewWindowProc<FrmDisplay>)) return;
  FrmDisplay dialog;
  const RECT frame = dialog.layout_.CentredFrame(owner, kClient, kStyle, kExStyle);
  if (!CreateWindowExA(kExStyle, ids::kDisplayWindowClass, info.title.c_str(), kStyle, frame.left,
                       frame.top, frame.right - frame.left, frame.bottom - frame.top, owner,
                       nullptr, GetModuleHandleA(nullptr), &dialog)) {
    return;
  }
  dialog.CreateControls(info);

  ShowWindow(dialog.window_, SW_SHOW);
  SetFocus(GetDlgItem(dialog.window_, ids::cmdOK));
  RunModal(owner, dialog.window_, [&] { return dialog.closed_; });
  DestroyWindow(dialog.window_);
}

void FrmDisplay::CreateControls(const ModeInformation& info) {
  layout_.Adopt(window_, kClient);
  // The system's information icon, at the size of the DPI.
  HWND picture = layout_.Add(window_, "STATIC", "", SS_ICON | SS_REALSIZECONTROL, 16, 16, 32, 32,
                             ids::Picture1);
  SetIcon(picture);
  layout_.Add(window_, "STATIC", info.label1.c_str(), SS_LEFT, 64, 12, 286, 38,
              ids::DisplayLabel1, 0, true);
  layout_.Add(window_, "STATIC", info.label2.c_str(), SS_LEFT, 64, 54, 286, 128,
              ids::DisplayLabel2);
  layout_.Add(window_, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, (kClient.cx - 88) / 2,
              kClient.cy - 36, 88, 26, ids::cmdOK);
  layout_.Apply(window_);
}

void FrmDisplay::SetIcon(HWND picture) {
  const int size = layout_.Px(32);
  // The shared icon is the system's own; one of another size is this window's.
  platform::win32::UniqueIcon icon(static_cast<HICON>(
      LoadImageA(nullptr, IDI_INFORMATION, IMAGE_ICON, size, size, 0)));
  SendMessageA(picture, STM_SETICON,
               reinterpret_cast<WPARAM>(icon ? icon.get() : LoadIcon(nullptr, IDI_INFORMATION)),
               0);
  // The old one goes only once the control shows the new one.
  icon_ = std::move(icon);
}

void FrmDisplay::Close() { closed_ = true; }

LRESULT FrmDisplay::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == ids::cmdOK || LOWORD(wParam) == IDCANCEL) Close();
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DPICHANGED:
      layout_.OnDpiChanged(window_, wParam, lParam, kClient);
      SetIcon(GetDlgItem(window_, ids::Picture1));
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace kestrel::win32
