#include "kestrel/win32/frm_tip.h"

#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/artwork.h"
#include "kestrel/control_ids.h"
#include "kestrel/win32/pixel_art.h"
#include "kestrel/win32/resource_ids.h"

namespace kestrel::win32 {

using namespace common::win32;

namespace {

// In 96-DPI pixels, scaled by the window's DPI.
constexpr int kClientWidth = 420;
constexpr int kClientHeight = 226;
constexpr SIZE kClient{kClientWidth, kClientHeight};
// The white panel that holds the heading and the tip.
constexpr RECT kPanel{60, 12, kClientWidth - 12, 176};
constexpr int kButtonsTop = kPanel.bottom + 14;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
// Without an owner the window needs its own taskbar button.
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
// The heading: the message font in bold, a quarter larger.
constexpr int kHeadingPercent = 125;
// The bulb, in 96-DPI pixels: the size its art is drawn in.
constexpr int kPictureSize = 32;

}  // namespace

FrmTip::~FrmTip() {
  if (window_) DestroyWindow(window_);
}

void FrmTip::Show(HWND around, bool modal) {
  if (window_) {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
  } else if (!Create(around)) {
    return;
  }
  // The window has no owner to disable: the main window is still hidden.
  if (modal) RunModal(nullptr, window_, [this] { return window_ == nullptr; });
}

bool FrmTip::Create(HWND around) {
  // The program's icon: the window has its own taskbar button.
  if (!RegisterViewClass(ids::kTipWindowClass, &ViewWindowProc<FrmTip>,
                         LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_KESTREL)))) {
    return false;
  }
  // Over the main window, also while it is still hidden at start-up: it
  // shows where the tip was.
  layout_ = ViewLayout(common::Scaling::kBaseDpi, kHeadingPercent);
  const RECT frame = layout_.CentredFrame(around, kClient, kStyle, kExStyle);
  if (!CreateWindowExA(kExStyle, ids::kTipWindowClass, "Tip of the Day", kStyle, frame.left,
                       frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                       nullptr, GetModuleHandleA(nullptr), this)) {
    return false;
  }
  AddTopLevelWindow(window_);
  CreateControls();
  model_.emplace(app_);
  model_->Load();
  Mirror();
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  SetFocus(GetDlgItem(window_, ids::cmdOK));
  return true;
}

void FrmTip::DrawPicture() {
  // Drawn from the art at the control's size, so that it stays sharp at
  // every DPI; the old bitmap goes once the control holds the new one.
  auto old = std::move(picture_);
  picture_ = MakeBitmap(TipPicture(), GetSysColor(COLOR_BTNFACE), layout_.Px(kPictureSize));
  SendDlgItemMessageA(window_, ids::TipPicture, STM_SETIMAGE, IMAGE_BITMAP,
                      reinterpret_cast<LPARAM>(picture_.get()));
}

void FrmTip::CreateControls() {
  layout_.Adopt(window_, kClient);
  layout_.Add(window_, "STATIC", "", SS_BITMAP | SS_REALSIZECONTROL, 14, 16, kPictureSize,
              kPictureSize, ids::TipPicture);
  DrawPicture();

  const int left = kPanel.left + 14;
  const int width = kPanel.right - kPanel.left - 28;
  layout_.Add(window_, "STATIC", "Did you know...", SS_LEFT | SS_NOPREFIX, left, kPanel.top + 12,
              width, 22, ids::TipLabel1, 0, true);
  // Tips are plain text: an ampersand in one is shown, not taken as an access key.
  layout_.Add(window_, "STATIC", "", SS_LEFT | SS_NOPREFIX, left, kPanel.top + 42, width,
              kPanel.bottom - kPanel.top - 52, ids::lblTipText);
  layout_.Add(window_, "BUTTON", "&Show Tips at Startup", BS_CHECKBOX | WS_TABSTOP | WS_GROUP, 14,
              kButtonsTop + 3, 190, 20, ids::chkLoadTipsAtStartup);
  layout_.Add(window_, "BUTTON", "&Next Tip", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
              kClientWidth - 12 - 2 * 92 - 8, kButtonsTop, 92, 26, ids::cmdNextTip);
  layout_.Add(window_, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, kClientWidth - 12 - 92,
              kButtonsTop, 92, 26, ids::cmdOK);
  layout_.Apply(window_);
}

void FrmTip::Mirror() {
  SetWindowTextIfDifferent(GetDlgItem(window_, ids::lblTipText), model_->lblTipText());
  SendMessageA(GetDlgItem(window_, ids::chkLoadTipsAtStartup), BM_SETCHECK,
               model_->chkLoadTipsAtStartup() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FrmTip::OnCommand(int id) {
  switch (id) {
    case ids::cmdNextTip:
      model_->cmdNextTipClicked();
      break;
    case ids::chkLoadTipsAtStartup:
      model_->chkLoadTipsAtStartupClicked(model_->chkLoadTipsAtStartup() == 1 ? 0 : 1);
      break;
    case ids::cmdOK:
    case IDCANCEL:
      DestroyWindow(window_);
      return;
    default:
      return;
  }
  Mirror();
}

void FrmTip::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT panel{layout_.Px(kPanel.left), layout_.Px(kPanel.top), layout_.Px(kPanel.right),
             layout_.Px(kPanel.bottom)};
  FillRect(dc, &panel, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawEdge(dc, &panel, EDGE_SUNKEN, BF_RECT);
  EndPaint(window_, &paint);
}

LRESULT FrmTip::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CTLCOLORSTATIC: {
      // The heading and the tip stand on the white panel.
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (id == ids::TipLabel1 || id == ids::lblTipText) {
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      return DefWindowProcA(window_, message, wParam, lParam);
    }
    case WM_CLOSE:
      DestroyWindow(window_);
      return 0;
    case WM_DPICHANGED:
      layout_.OnDpiChanged(window_, wParam, lParam, kClient);
      DrawPicture();
      return 0;
    case WM_DESTROY:
      model_.reset();
      RemoveTopLevelWindow(window_);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace kestrel::win32
