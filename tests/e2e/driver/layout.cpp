#include "tests/e2e/driver/layout.h"

#include <cstdlib>

#include "platform/win32/handles.h"

namespace e2e {
namespace {

using platform::win32::SelectedObject;
using platform::win32::UniqueGdiObject;

struct Control {
  Window window;
  RECT rect;  // in the parent's client area
  bool groupBox;
};

// Room that a control needs around its text, in pixels at 96 DPI: a push
// button's edges, a check box's box and gap, a group box's corners.
constexpr int kPushButtonRoom = 8;
constexpr int kCheckRoom = 18;
constexpr int kGroupBoxRoom = 14;

int Scaled(int pixels96, int dpi) { return MulDiv(pixels96, dpi, 96); }

// The message font at the screen's scaling, which the controls of the
// programs use. (Wine answers no WM_GETFONT from another process, and a
// font handle is of no use outside its own process.)
UniqueGdiObject MessageFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return UniqueGdiObject(CreateFontIndirectA(&metrics.lfMessageFont));
}

// Why the control's text does not fit, or "".
std::string TextProblem(const Control& c, int dpi) {
  const std::string kind = c.window.ClassName();
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(c.window.Handle(), GWL_STYLE));
  const std::string text = c.window.Text();
  if (text.empty()) return {};
  const int width = c.rect.right - c.rect.left;
  const int height = c.rect.bottom - c.rect.top;
  int room = 0;
  bool wraps = false;
  if (_stricmp(kind.c_str(), "Button") == 0) {
    const DWORD type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
      room = kGroupBoxRoom;
    } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
      room = kPushButtonRoom;
    } else {
      room = kCheckRoom;
    }
  } else if (_stricmp(kind.c_str(), "Static") == 0) {
    const DWORD type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) {
      return {};
    }
    wraps = type != SS_LEFTNOWORDWRAP;
  } else {
    return {};
  }

  // Measured as the control draws it: wrapped at its width, or on one line
  // with an access key's ampersand left out.
  const UniqueGdiObject font = MessageFont();
  HDC dc = GetDC(nullptr);
  RECT needed{0, 0, width, 0};
  {
    SelectedObject selected(dc, font.get());
    const UINT prefix = wraps && (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    DrawTextA(dc, text.c_str(), -1, &needed,
              DT_CALCRECT | prefix | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
  }
  ReleaseDC(nullptr, dc);
  needed.right += Scaled(room, dpi);
  if (needed.right <= width && needed.bottom <= height) return {};
  return c.window.Describe() + " is " + std::to_string(width) + "x" + std::to_string(height) +
         ", its text needs " + std::to_string(needed.right) + "x" + std::to_string(needed.bottom);
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

int ExpectedDpi() {
  const char* value = std::getenv("KESTREL_WINE_DPI");
  return value && *value ? std::atoi(value) : 96;
}

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return dpi;
}

std::vector<std::string> ControlPlaces(const Window& window) {
  RECT client{};
  GetClientRect(window.Handle(), &client);
  std::vector<std::string> places{"client " + std::to_string(client.right) + "x" +
                                  std::to_string(client.bottom)};
  for (const Window& child : window.Descendants()) {
    if (GetParent(child.Handle()) != window.Handle()) continue;
    RECT r = child.Rect();
    MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&r), 2);
    places.push_back("id " + std::to_string(child.Id()) + " at " + std::to_string(r.left) + "," +
                     std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
                     std::to_string(r.bottom - r.top));
  }
  return places;
}

std::vector<std::string> LayoutProblems(const Window& window) {
  RECT client{};
  GetClientRect(window.Handle(), &client);
  std::vector<Control> controls;
  for (const Window& child : window.Descendants()) {
    if (GetParent(child.Handle()) != window.Handle() || !child.Visible()) continue;
    RECT rect = child.Rect();
    MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(child.Handle(), GWL_STYLE));
    const bool groupBox =
        _stricmp(child.ClassName().c_str(), "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
    controls.push_back(Control{child, rect, groupBox});
  }

  std::vector<std::string> problems;
  const int dpi = ScreenDpi();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& c = controls[i];
    if (!Inside(c.rect, client)) problems.push_back(c.window.Describe() + " lies outside the window");
    if (std::string text = TextProblem(c, dpi); !text.empty()) problems.push_back(text);
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const Control& d = controls[j];
      RECT common{};
      if (!IntersectRect(&common, &c.rect, &d.rect)) continue;
      if ((c.groupBox && Inside(d.rect, c.rect)) || (d.groupBox && Inside(c.rect, d.rect))) continue;
      problems.push_back(c.window.Describe() + " and " + d.window.Describe() + " overlap");
    }
  }
  return problems;
}

}  // namespace e2e
