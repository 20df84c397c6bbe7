#include "common/win32/frm_ping.h"

#include "common/ping_dialog_ids.h"
#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_handle.h"

namespace common::win32 {
namespace {

namespace ids = ping_ids;
using platform::win32::SelectedObject;
using platform::win32::UniqueGdiObject;

// The form's layout in twips (1440 to the inch), scaled by the window's DPI;
// controls in the frame are placed relative to it.
constexpr SIZE kClient{6600, 4125};
constexpr int kFrameLeft = 240;
constexpr int kFrameTop = 1200;
constexpr int kComboListHeight = 3000;  // the open list below the box

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

struct ControlLayout {
  int id;
  const char* className;
  const char* text;
  DWORD style;
  bool inFrame;
  int left, top, width, height;  // twips
  DWORD exStyle;
};

constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;

// In tab order.
constexpr ControlLayout kControls[] = {
    {ids::Picture1, "STATIC", "", SS_OWNERDRAW, false, 360, 360, 615, 615, 0},
    {ids::Label1, "STATIC", "", SS_LEFT, false, 1200, 240, 3615, 855, 0},
    {ids::Frame1, "BUTTON", "Configuration", BS_GROUPBOX, false, 240, 1200, 4575, 2655, 0},
    {ids::Option1, "BUTTON", "Automatic Mode", BS_RADIOBUTTON | kTab, true, 480, 480, 1695, 255,
     0},
    {ids::Option2, "BUTTON", "Manual Mode", BS_RADIOBUTTON, true, 2400, 480, 1455, 255, 0},
    {ids::Label2, "STATIC", "Ping Host", SS_LEFT, true, 480, 1080, 975, 255, 0},
    {ids::txtPingHost, "EDIT", "", ES_LEFT | ES_AUTOHSCROLL | kTab, true, 1680, 1080, 1935, 315,
     WS_EX_CLIENTEDGE},
    {ids::Label3, "STATIC", "Ping Interval", SS_LEFT, true, 480, 1560, 1095, 255, 0},
    {ids::cmbPingInterval, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | kTab, true, 1680, 1560,
     1215, 315, 0},
    {ids::chkSound, "BUTTON", "Play &Sound at Ping", BS_CHECKBOX | kTab, true, 1200, 2160, 2295,
     255, 0},
    // Plain push buttons: none is the default or the cancel button.
    {ids::cmdOK, "BUTTON", "OK", BS_PUSHBUTTON | kTab, false, 5280, 1440, 1095, 375, 0},
    {ids::cmdCancel, "BUTTON", "Cancel", BS_PUSHBUTTON | kTab, false, 5280, 2040, 1095, 375, 0},
    {ids::cmdHelp, "BUTTON", "&Help", BS_PUSHBUTTON | kTab, false, 5280, 2640, 1095, 375, 0},
    {ids::cmdDefault, "BUTTON", "Default", BS_PUSHBUTTON | kTab, false, 5280, 3240, 1095, 375, 0},
};

// The dialog's picture: a globe with the echo coming back from it, drawn in
// 96-DPI pixels scaled to the window's DPI.
void DrawPicture(const DRAWITEMSTRUCT& item, const Scaling& scaling) {
  const auto px = [&](int pixels96) { return scaling.Px(pixels96); };
  HDC dc = item.hDC;
  FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const int x = item.rcItem.left;
  const int y = item.rcItem.top;
  const int cx = x + px(17);
  const int cy = y + px(24);
  const int r = px(13);

  UniqueGdiObject sea(CreateSolidBrush(RGB(64, 128, 208)));
  UniqueGdiObject outline(CreatePen(PS_SOLID, px(1), RGB(16, 48, 112)));
  UniqueGdiObject grid(CreatePen(PS_SOLID, px(1), RGB(200, 224, 248)));
  UniqueGdiObject echo(CreatePen(PS_SOLID, px(3), RGB(32, 160, 64)));
  {
    SelectedObject brush(dc, sea.get());
    SelectedObject pen(dc, outline.get());
    Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
  }
  {
    SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    SelectedObject pen(dc, grid.get());
    Ellipse(dc, cx - r / 2, cy - r + 1, cx + r / 2 + 1, cy + r);
    MoveToEx(dc, cx, cy - r + 1, nullptr);
    LineTo(dc, cx, cy + r);
    MoveToEx(dc, cx - r + 1, cy, nullptr);
    LineTo(dc, cx + r, cy);
    for (int dy : {-r / 2, r / 2}) {
      MoveToEx(dc, cx - r + px(3), cy + dy, nullptr);
      LineTo(dc, cx + r - px(2), cy + dy);
    }
  }
  // Two arcs up and to the right of the globe, from 15 to 75 degrees.
  SelectedObject pen(dc, echo.get());
  for (int radius : {px(18), px(23)}) {
    const int startX = cx + radius * 966 / 1000;  // cos 15
    const int startY = cy - radius * 259 / 1000;  // sin 15
    const int endX = cx + radius * 259 / 1000;
    const int endY = cy - radius * 966 / 1000;
    Arc(dc, cx - radius, cy - radius, cx + radius, cy + radius, startX, startY, endX, endY);
  }
}

}  // namespace

FrmPing::FrmPing(PingContext context) : model_(std::move(context)) {}

FrmPing::~FrmPing() {
  onClosed_ = nullptr;
  if (window_) DestroyWindow(window_);
}

bool FrmPing::Open(HWND owner) {
  if (!RegisterViewClass(ids::kPingWindowClass, &ViewWindowProc<FrmPing>)) return false;
  // Centred over the owner, or on the screen when the owner is hidden (the
  // tray monitor's form is).
  HWND around = owner && IsWindowVisible(owner) ? owner : nullptr;
  layout_ = ViewLayout(Scaling::kTwipsPerInch);
  const RECT frame = layout_.CentredFrame(around, kClient, kStyle, kExStyle);
  if (!CreateWindowExA(kExStyle, ids::kPingWindowClass, ids::kPingCaption, kStyle, frame.left,
                       frame.top, frame.right - frame.left, frame.bottom - frame.top, owner,
                       nullptr, GetModuleHandleA(nullptr), this)) {
    return false;
  }
  CreateControls();
  model_.Load();
  Mirror();
  ShowWindow(window_, SW_SHOWNORMAL);
  // The selected option takes the focus: an unselected one would be clicked by it.
  SetFocus(Item(model_.controls().Option2.selected ? ids::Option2 : ids::Option1));
  return true;
}

void FrmPing::CreateControls() {
  layout_.Adopt(window_, kClient);
  for (const ControlLayout& c : kControls) {
    const int left = c.left + (c.inFrame ? kFrameLeft : 0);
    const int top = c.top + (c.inFrame ? kFrameTop : 0);
    const int height = c.height + (c.id == ids::cmbPingInterval ? kComboListHeight : 0);
    layout_.Add(window_, c.className, c.text, c.style, left, top, c.width, height, c.id,
                c.exStyle);
  }
  layout_.Apply(window_);
}

void FrmPing::ShowModal(HWND owner) {
  if (IsOpen()) {
    BringToFront();
    return;
  }
  modal_ = true;
  closeRequested_ = false;
  if (!Open(owner)) return;
  RunModal(owner, window_, [this] { return closeRequested_ || !window_; });
  if (window_) DestroyWindow(window_);
  modal_ = false;
}

void FrmPing::ShowModeless(HWND owner, std::function<void()> onClosed) {
  onClosed_ = std::move(onClosed);
  if (IsOpen()) {
    BringToFront();
    return;
  }
  modal_ = false;
  if (Open(owner)) SetForegroundWindow(window_);
}

void FrmPing::BringToFront() {
  if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
  SetForegroundWindow(window_);
}

bool FrmPing::TranslateDialogMessage(MSG& message) {
  return window_ && IsDialogMessageA(window_, &message);
}

void FrmPing::OnDetached() {
  // However the window went, also with its owner.
  if (!modal_ && onClosed_) onClosed_();
}

void FrmPing::Close() {
  if (modal_) {
    closeRequested_ = true;  // the modal loop ends and destroys the window
  } else {
    DestroyWindow(window_);
  }
}

void FrmPing::Mirror() {
  mirroring_ = true;
  const PingDialog& c = model_.controls();
  SetWindowTextIfDifferent(Item(ids::Label1), c.Label1);
  MirrorOption(Item(ids::Option1), c.Option1);
  MirrorOption(Item(ids::Option2), c.Option2);
  MirrorText(Item(ids::txtPingHost), c.txtPingHost);
  MirrorList(Item(ids::cmbPingInterval), c.cmbPingInterval);
  MirrorCheck(Item(ids::chkSound), c.chkSound);
  mirroring_ = false;
}

void FrmPing::OnCommand(int id, int code) {
  if (code == EN_CHANGE && id == ids::txtPingHost) {
    if (!mirroring_) model_.txtPingHostChanged(WindowText(Item(id)));
    return;
  }
  if (code == CBN_SELCHANGE && id == ids::cmbPingInterval) {
    model_.cmbPingIntervalChosen(static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)));
  } else if (code == BN_CLICKED) {
    switch (id) {
      case ids::Option1: model_.Option1Clicked(); break;
      case ids::Option2: model_.Option2Clicked(); break;
      case ids::chkSound:
        model_.chkSoundClicked(SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1);
        break;
      case ids::cmdDefault: model_.cmdDefaultClicked(); break;
      case ids::cmdHelp:
        model_.cmdHelpClicked(platform::win32::AsWindowHandle(window_));
        break;
      case ids::cmdOK:
        if (model_.cmdOKClicked()) {
          Close();
          return;
        }
        break;
      case ids::cmdCancel: Close(); return;
      // Enter and Escape arrive as IDOK and IDCANCEL, which no control has.
      default: return;
    }
  } else {
    return;
  }
  Mirror();
}

LRESULT FrmPing::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM:
      if (wParam == static_cast<WPARAM>(ids::Picture1)) {
        DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), layout_.scaling());
        return TRUE;
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DPICHANGED:
      layout_.OnDpiChanged(window_, wParam, lParam, kClient);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace common::win32
