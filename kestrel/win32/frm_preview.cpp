#include "kestrel/win32/frm_preview.h"

#include <algorithm>

#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/control_ids.h"
#include "platform/win32/window_handle.h"

namespace kestrel::win32 {

using namespace common::win32;

namespace {

// In 96-DPI pixels, scaled by the window's DPI: the size the window opens
// at where the screen has room for it.
constexpr int kClientWidth = 900;
constexpr int kClientHeight = 430;
constexpr SIZE kClient{kClientWidth, kClientHeight};
// The window can be sized, and opens smaller on a screen too small for it,
// since a list shows what does not fit by scrolling.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kMargin = 10;
constexpr int kSummaryHeight = 20;
constexpr int kButtonWidth = 88;
constexpr int kExportButtonWidth = 130;
constexpr int kButtonHeight = 26;

struct Column {
  const char* title;
  int width;
};
constexpr Column kColumns[] = {
    {"Value and key", 430}, {"Now", 80}, {"After Apply", 90}, {"Read by this Windows", 255}};

void SetCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void FrmPreview::ShowModal(HWND owner, KestrelApp& app, const ChangePreview& preview) {
  if (!RegisterViewClass(ids::kPreviewWindowClass, &ViewWindowProc<FrmPreview>)) return;
  FrmPreview view(app, preview);
  RECT frame = view.layout_.CentredFrame(owner, kClient, kStyle, kExStyle);
  const RECT work = WorkAreaAround(owner);
  frame.right = std::min(frame.right, work.right);
  frame.bottom = std::min(frame.bottom, work.bottom);
  if (!CreateWindowExA(kExStyle, ids::kPreviewWindowClass, "Preview Changes", kStyle, frame.left,
                       frame.top, frame.right - frame.left, frame.bottom - frame.top, owner,
                       nullptr, GetModuleHandleA(nullptr), &view)) {
    return;
  }
  view.CreateControls();

  ShowWindow(view.window_, SW_SHOW);
  SetFocus(GetDlgItem(view.window_, ids::lvwPreview));
  RunModal(owner, view.window_, [&] { return view.closed_; });
  DestroyWindow(view.window_);
}

void FrmPreview::CreateControls() {
  layout_.Adopt(window_, kClient);
  layout_.Add(window_, "STATIC", preview_.summary.c_str(), SS_LEFT | SS_NOPREFIX, kMargin, kMargin,
              kClientWidth - 2 * kMargin, kSummaryHeight, ids::lblPreviewSummary);
  const int listTop = kMargin + kSummaryHeight + 4;
  const int listHeight = kClientHeight - listTop - kButtonHeight - 2 * kMargin;
  HWND list = layout_.Add(window_, WC_LISTVIEWA, "",
                          LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP | WS_GROUP,
                          kMargin, listTop, kClientWidth - 2 * kMargin, listHeight,
                          ids::lvwPreview, WS_EX_CLIENTEDGE);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(kColumns[i].title);
    column.cx = layout_.Px(kColumns[i].width);
    column.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&column));
  }
  for (std::size_t i = 0; i < preview_.rows.size(); ++i) {
    const PreviewRow& row = preview_.rows[i];
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<char*>(row.value.c_str());
    item.lParam = static_cast<LPARAM>(i);
    const auto at = static_cast<int>(
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SetCell(list, at, 1, row.now);
    SetCell(list, at, 2, row.after);
    SetCell(list, at, 3, row.readBy);
  }
  layout_.Add(window_, "BUTTON", "&Export as .reg...", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
              kMargin, kClientHeight - kMargin - kButtonHeight, kExportButtonWidth,
              kButtonHeight, ids::cmdPreviewExport);
  layout_.Add(window_, "BUTTON", "Close", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
              kClientWidth - kMargin - kButtonWidth, kClientHeight - kMargin - kButtonHeight,
              kButtonWidth, kButtonHeight, ids::cmdPreviewClose);
  layout_.Apply(window_);
  Arrange();
}

void FrmPreview::Arrange() {
  RECT client{};
  GetClientRect(window_, &client);
  const int width = client.right;
  const int height = client.bottom;
  const int margin = layout_.Px(kMargin);
  const int buttonHeight = layout_.Px(kButtonHeight);
  const int buttonTop = height - margin - buttonHeight;
  const int listTop = margin + layout_.Px(kSummaryHeight + 4);
  const auto move = [this](int id, int x, int y, int w, int h) {
    SetWindowPos(GetDlgItem(window_, id), nullptr, x, y, std::max(w, 0), std::max(h, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  move(ids::lblPreviewSummary, margin, margin, width - 2 * margin, layout_.Px(kSummaryHeight));
  move(ids::lvwPreview, margin, listTop, width - 2 * margin, buttonTop - margin - listTop);
  move(ids::cmdPreviewExport, margin, buttonTop, layout_.Px(kExportButtonWidth), buttonHeight);
  move(ids::cmdPreviewClose, width - margin - layout_.Px(kButtonWidth), buttonTop,
       layout_.Px(kButtonWidth), buttonHeight);
}

SIZE FrmPreview::SmallestFrame() const {
  // Both buttons side by side, and a few rows of the list.
  const SIZE client{layout_.Px(3 * kMargin + kExportButtonWidth + kButtonWidth),
                    layout_.Px(kMargin + kSummaryHeight + 4 + 120 + 2 * kMargin + kButtonHeight)};
  return FrameSize(client, kStyle, kExStyle, false, layout_.scaling().dpi());
}

void FrmPreview::ScaleColumns(int oldDpi) {
  // The user may have widened a column: each keeps its share.
  HWND list = GetDlgItem(window_, ids::lvwPreview);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    const auto width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
    SendMessageA(list, LVM_SETCOLUMNWIDTH, i,
                 MulDiv(width, layout_.scaling().dpi(), oldDpi));
  }
}

LRESULT FrmPreview::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const auto row = static_cast<std::size_t>(draw.nmcd.lItemlParam);
      // A value that keeps what it holds is only there for completeness.
      if (row < preview_.rows.size() && !preview_.rows[row].changes) {
        draw.clrText = GetSysColor(COLOR_GRAYTEXT);
      }
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

LRESULT FrmPreview::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == ids::cmdPreviewClose) closed_ = true;
      if (LOWORD(wParam) == ids::cmdPreviewExport) {
        ExportRegistryScript(app_, preview_, platform::win32::AsWindowHandle(window_));
      }
      return 0;
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      if (header.idFrom == static_cast<UINT_PTR>(ids::lvwPreview) &&
          header.code == NM_CUSTOMDRAW) {
        return OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
      }
      return DefWindowProcA(window_, message, wParam, lParam);
    }
    case WM_CLOSE:
      closed_ = true;
      return 0;
    case WM_DPICHANGED: {
      // The window keeps the size the user gave it, in the new DPI's pixels.
      const int oldDpi = layout_.scaling().dpi();
      RECT client{};
      GetClientRect(window_, &client);
      const SIZE units{MulDiv(client.right, common::Scaling::kBaseDpi, oldDpi),
                       MulDiv(client.bottom, common::Scaling::kBaseDpi, oldDpi)};
      layout_.OnDpiChanged(window_, wParam, lParam, units);
      ScaleColumns(oldDpi);
      Arrange();
      return 0;
    }
    case WM_SIZE:
      if (GetDlgItem(window_, ids::cmdPreviewClose)) Arrange();
      return 0;
    case WM_GETMINMAXINFO: {
      const SIZE smallest = SmallestFrame();
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
      limits.ptMinTrackSize = POINT{smallest.cx, smallest.cy};
      return 0;
    }
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace kestrel::win32
