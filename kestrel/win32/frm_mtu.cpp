#include "kestrel/win32/frm_mtu.h"

#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/control_ids.h"

namespace kestrel::win32 {

using namespace common::win32;

namespace {

// In 96-DPI pixels, scaled by the window's DPI.
constexpr int kClientWidth = 460;
constexpr int kClientHeight = 400;
constexpr SIZE kClient{kClientWidth, kClientHeight};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kMargin = 10;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 26;
constexpr int kResultHeight = 48;

}  // namespace

std::optional<int> FrmMtu::ShowModal(HWND owner, MtuSearch& search, const std::string& host) {
  if (!RegisterViewClass(ids::kMtuWindowClass, &ViewWindowProc<FrmMtu>)) return std::nullopt;
  FrmMtu view(search);
  const RECT frame = view.layout_.CentredFrame(owner, kClient, kStyle, kExStyle);
  if (!CreateWindowExA(kExStyle, ids::kMtuWindowClass, "Find the Largest MTU", kStyle, frame.left,
                       frame.top, frame.right - frame.left, frame.bottom - frame.top, owner,
                       nullptr, GetModuleHandleA(nullptr), &view)) {
    return std::nullopt;
  }
  view.CreateControls(host);
  view.Mirror();

  ShowWindow(view.window_, SW_SHOW);
  SetFocus(GetDlgItem(view.window_, ids::cmdMtuStart));
  RunModal(owner, view.window_, [&] { return view.closed_; });
  // A search still running ends with the window; its echo lands nowhere.
  search.Cancel();
  DestroyWindow(view.window_);
  return view.chosen_;
}

void FrmMtu::CreateControls(const std::string& host) {
  layout_.Adopt(window_, kClient);
  const DWORD tab = WS_TABSTOP | WS_GROUP;
  const int right = kClientWidth - kMargin;
  int y = kMargin;
  layout_.Add(window_, "STATIC", "&Host:", SS_LEFT, kMargin, y + 4, 40, 18, ids::lblMtuHost);
  const int boxWidth = right - 2 * (kButtonWidth + 6) - kMargin - 44;
  HWND box = layout_.Add(window_, "EDIT", host.c_str(), ES_LEFT | ES_AUTOHSCROLL | tab,
                         kMargin + 44, y, boxWidth, 24, ids::txtMtuHost, WS_EX_CLIENTEDGE);
  SendMessageA(box, EM_LIMITTEXT, 255, 0);
  layout_.Add(window_, "BUTTON", "&Start", BS_DEFPUSHBUTTON | tab, right - 2 * kButtonWidth - 6,
              y - 1, kButtonWidth, kButtonHeight, ids::cmdMtuStart);
  layout_.Add(window_, "BUTTON", "&Cancel", BS_PUSHBUTTON | tab, right - kButtonWidth, y - 1,
              kButtonWidth, kButtonHeight, ids::cmdMtuCancel);
  y += kButtonHeight + 8;
  HWND progress = layout_.Add(window_, PROGRESS_CLASSA, "", 0, kMargin, y,
                              kClientWidth - 2 * kMargin, 18, ids::prgMtu);
  SendMessageA(progress, PBM_SETRANGE32, 0, MtuSearch::Expected());
  y += 18 + 8;
  const int listHeight = kClientHeight - y - kResultHeight - kButtonHeight - 3 * kMargin;
  layout_.Add(window_, "LISTBOX", "", LBS_NOINTEGRALHEIGHT | LBS_NOSEL | WS_VSCROLL | tab, kMargin,
              y, kClientWidth - 2 * kMargin, listHeight, ids::lstMtuProbes, WS_EX_CLIENTEDGE);
  y += listHeight + kMargin;
  layout_.Add(window_, "STATIC", "", SS_LEFT | SS_NOPREFIX, kMargin, y, kClientWidth - 2 * kMargin,
              kResultHeight, ids::lblMtuResult);
  const int bottom = kClientHeight - kMargin - kButtonHeight;
  layout_.Add(window_, "BUTTON", "&Use This MTU", BS_PUSHBUTTON | tab, right - 2 * kButtonWidth - 6,
              bottom, kButtonWidth, kButtonHeight, ids::cmdMtuUse);
  layout_.Add(window_, "BUTTON", "Close", BS_PUSHBUTTON | tab, right - kButtonWidth, bottom,
              kButtonWidth, kButtonHeight, ids::cmdMtuClose);
  layout_.Apply(window_);
}

void FrmMtu::Start() {
  SendDlgItemMessageA(window_, ids::lstMtuProbes, LB_RESETCONTENT, 0, 0);
  linesShown_ = 0;
  search_.Start(WindowText(GetDlgItem(window_, ids::txtMtuHost)), [this] { Mirror(); });
  Mirror();
}

void FrmMtu::Mirror() {
  const bool running = search_.Running();
  HWND list = GetDlgItem(window_, ids::lstMtuProbes);
  const auto& lines = search_.Lines();
  if (lines.size() < linesShown_) {
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    linesShown_ = 0;
  }
  for (; linesShown_ < lines.size(); ++linesShown_) {
    const auto at =
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lines[linesShown_].c_str()));
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
  }
  SendDlgItemMessageA(window_, ids::prgMtu, PBM_SETPOS,
                      static_cast<WPARAM>(linesShown_ == 0 && !running ? 0 : search_.Done()), 0);
  SetWindowTextIfDifferent(GetDlgItem(window_, ids::lblMtuResult),
                           running ? "Measuring..." : search_.Result());
  const bool usable = !running && search_.Mtu().has_value();
  // Focus leaves a button before it is disabled, so that the keyboard still
  // reaches the window.
  HWND focus = GetFocus();
  HWND start = GetDlgItem(window_, ids::cmdMtuStart);
  HWND cancel = GetDlgItem(window_, ids::cmdMtuCancel);
  if (running && focus == start) SetFocus(cancel);
  if (!running && focus == cancel) SetFocus(usable ? GetDlgItem(window_, ids::cmdMtuUse) : start);
  EnableWindow(start, !running);
  EnableWindow(GetDlgItem(window_, ids::txtMtuHost), !running);
  EnableWindow(cancel, running);
  EnableWindow(GetDlgItem(window_, ids::cmdMtuUse), usable);
}

LRESULT FrmMtu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case ids::cmdMtuStart:
          Start();
          break;
        case ids::cmdMtuCancel:
          search_.Cancel();
          Mirror();
          break;
        case ids::cmdMtuUse:
          if (!search_.Running() && search_.Mtu()) {
            chosen_ = search_.Mtu();
            closed_ = true;
          }
          break;
        case ids::cmdMtuClose:
          closed_ = true;
          break;
        default:
          break;
      }
      return 0;
    case WM_CLOSE:
      closed_ = true;
      return 0;
    case WM_DPICHANGED:
      layout_.OnDpiChanged(window_, wParam, lParam, kClient);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace kestrel::win32
