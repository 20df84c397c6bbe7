#include "kestrel/win32/frm_display.h"

#include "common/win32/window_helpers.h"
#include "kestrel/control_ids.h"

namespace kestrel::win32 {

using namespace common::win32;

namespace {

constexpr int kClientWidth = 362;  // 5430 by 2760 twips at 15 twips a pixel
constexpr int kClientHeight = 184;

}  // namespace

void FrmDisplay::ShowModal(HWND owner, const ModeInformation& info) {
  if (!RegisterViewClass(ids::kDisplayWindowClass, &ViewWindowProc<FrmDisplay>)) return;
  FrmDisplay dialog;

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const POINT at = CentredOver(owner, width, height);
  if (!CreateWindowExA(exStyle, ids::kDisplayWindowClass, info.title.c_str(), style, at.x, at.y,
                       width, height, owner, nullptr, GetModuleHandleA(nullptr), &dialog)) {
    return;
  }
  dialog.CreateControls(info);

  ShowWindow(dialog.window_, SW_SHOW);
  SetFocus(GetDlgItem(dialog.window_, ids::cmdOK));
  RunModal(owner, dialog.window_, [&] { return dialog.closed_; });
  DestroyWindow(dialog.window_);
}

void FrmDisplay::CreateControls(const ModeInformation& info) {
  HWND picture = CreateChild(window_, "STATIC", "", SS_ICON, 16, 16, 32, 32, ids::Picture1);
  SendMessageA(picture, STM_SETICON,
               reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_INFORMATION)), 0);

  HWND label1 = CreateChild(window_, "STATIC", info.label1.c_str(), SS_LEFT, 64, 12, 286, 34,
                            ids::DisplayLabel1);
  CreateChild(window_, "STATIC", info.label2.c_str(), SS_LEFT, 64, 50, 286, 92,
              ids::DisplayLabel2);
  CreateChild(window_, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, (kClientWidth - 88) / 2,
              kClientHeight - 36, 88, 26, ids::cmdOK);

  SetFontOnChildren(window_, MessageFont());
  LOGFONTA bold{};
  GetObjectA(MessageFont(), sizeof(bold), &bold);
  bold.lfWeight = FW_BOLD;
  boldFont_.reset(CreateFontIndirectA(&bold));
  if (boldFont_) SendMessageA(label1, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
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
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace kestrel::win32
