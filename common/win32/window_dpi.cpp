#include "common/win32/window_dpi.h"

#include "common/win32/window_helpers.h"
#include "platform/win32/late_bound_library.h"

namespace common::win32 {
namespace {

// Windows 10 (1607) and later. Windows 8.1 gives a monitor's DPI through the
// shell's scaling library; Windows 7 and 8 have one DPI for every screen.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

struct DpiCalls {
  platform::win32::LateBoundLibrary user{"USER32.DLL"};
  // Bound only where the window's own DPI cannot be asked for.
  platform::win32::LateBoundLibrary scaling{"SHCORE.DLL"};
  GetDpiForWindowFunction getDpiForWindow = nullptr;
  GetDpiForMonitorFunction getDpiForMonitor = nullptr;
  SystemParametersInfoForDpiFunction parametersForDpi = nullptr;
  AdjustWindowRectExForDpiFunction adjustForDpi = nullptr;

  DpiCalls() {
    user.Entry("GetDpiForWindow", getDpiForWindow);
    user.Entry("SystemParametersInfoForDpi", parametersForDpi);
    user.Entry("AdjustWindowRectExForDpi", adjustForDpi);
  }
};

DpiCalls& Calls() {
  static DpiCalls calls;
  return calls;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : Scaling::kBaseDpi;
}

}  // namespace

int WindowDpi(HWND window) {
  if (window && Calls().getDpiForWindow) {
    if (const UINT dpi = Calls().getDpiForWindow(window)) return static_cast<int>(dpi);
  } else if (window && Calls().scaling.Entry("GetDpiForMonitor", Calls().getDpiForMonitor)) {
    UINT x = 0, y = 0;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (SUCCEEDED(Calls().getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && x) {
      return static_cast<int>(x);
    }
  }
  return ScreenDpi();
}

platform::win32::UniqueGdiObject MakeMessageFont(int dpi, bool bold, int percent) {
  const auto make = [&](auto font, auto create) {
    if (bold) font.lfWeight = FW_BOLD;
    font.lfHeight = MulDiv(font.lfHeight, percent, 100);
    return platform::win32::UniqueGdiObject(create(&font));
  };
  // The call for a DPI exists only for the wide record.
  NONCLIENTMETRICSW wide{};
  wide.cbSize = sizeof(wide);
  if (Calls().parametersForDpi &&
      Calls().parametersForDpi(SPI_GETNONCLIENTMETRICS, wide.cbSize, &wide, 0,
                               static_cast<UINT>(dpi))) {
    return make(wide.lfMessageFont, &CreateFontIndirectW);
  }
  // Else the screen's metrics, scaled to the window's DPI. The size of the
  // record as older systems know it, so that they fill it too.
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
  LOGFONTA font{};
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
    font = metrics.lfMessageFont;
  } else {
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  }
  font.lfHeight = MulDiv(font.lfHeight, dpi, ScreenDpi());
  return make(font, &CreateFontIndirectA);
}

SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, bool menu, int dpi) {
  RECT frame{0, 0, client.cx, client.cy};
  if (!Calls().adjustForDpi ||
      !Calls().adjustForDpi(&frame, style, menu, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&frame, style, menu, exStyle);
  }
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void ViewLayout::SetDpi(int dpi) {
  scaling_ = Scaling(dpi);
  font_ = MakeMessageFont(scaling_.dpi());
  boldFont_ = MakeMessageFont(scaling_.dpi(), true, boldPercent_);
}

HFONT ViewLayout::font() const {
  return font_ ? static_cast<HFONT>(font_.get())
               : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND ViewLayout::Add(HWND parent, const char* className, const char* text, DWORD style, int x,
                     int y, int width, int height, int id, DWORD exStyle, bool bold) {
  places_.push_back(Place{id, RECT{x, y, x + width, y + height}, bold});
  const RECT at = Scaled(places_.back().units);
  return CreateChild(parent, className, text, style, at.left, at.top, at.right - at.left,
                     at.bottom - at.top, id, exStyle);
}

RECT ViewLayout::Scaled(const RECT& units) const {
  // Each edge is scaled, not the size: controls that meet in the layout
  // still meet, and never overlap by a pixel of rounding.
  return RECT{Px(units.left), top_ + Px(units.top), Px(units.right), top_ + Px(units.bottom)};
}

void ViewLayout::Apply(HWND parent) const {
  SetFontOnChildren(parent, font());
  for (const Place& place : places_) {
    HWND control = GetDlgItem(parent, place.id);
    if (!control) continue;
    if (place.bold && boldFont_) {
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
    }
    const RECT at = Scaled(place.units);
    SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void ViewLayout::Rescale(HWND parent, int dpi) {
  // The old fonts go only when no control uses them any more.
  const platform::win32::UniqueGdiObject oldFont = std::move(font_);
  const platform::win32::UniqueGdiObject oldBold = std::move(boldFont_);
  SetDpi(dpi);
  Apply(parent);
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

RECT ViewLayout::CentredFrame(HWND around, SIZE client, DWORD style, DWORD exStyle) {
  SetDpi(WindowDpi(around));
  const SIZE outer =
      FrameSize(SIZE{Px(client.cx), Px(client.cy)}, style, exStyle, false, scaling_.dpi());
  const POINT at = CentredOver(around, outer.cx, outer.cy);
  return RECT{at.x, at.y, at.x + outer.cx, at.y + outer.cy};
}

void ViewLayout::Adopt(HWND window, SIZE client) {
  const int dpi = WindowDpi(window);
  if (dpi == scaling_.dpi() && font_) return;
  SetDpi(dpi);
  RECT frame{};
  GetWindowRect(window, &frame);
  PlaceWindow(window, POINT{frame.left, frame.top}, SIZE{Px(client.cx), Px(client.cy)},
              GetMenu(window) != nullptr, dpi);
}

void ViewLayout::OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam, SIZE client) {
  const int dpi = LOWORD(wParam);
  const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
  Rescale(window, dpi);
  // The suggested corner, but the size the layout needs at the new DPI: the
  // suggested one is the old size scaled, which the frame's own rounding can
  // make a few pixels off, enough to cut the last control. The difference is
  // too small to move the window's centre to another monitor.
  PlaceWindow(window, POINT{suggested.left, suggested.top}, SIZE{Px(client.cx), Px(client.cy)},
              GetMenu(window) != nullptr, dpi);
}

void PlaceWindow(HWND window, POINT corner, SIZE client, bool menu, int dpi) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  const SIZE outer = FrameSize(client, style, exStyle, menu, dpi);
  SetWindowPos(window, nullptr, corner.x, corner.y, outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace common::win32
