#include "tests/e2e/driver/tray.h"

#include <algorithm>
#include <cstdlib>

namespace e2e {
namespace {

// Wine's own window classes: the notification area it shows on an X
// display without a desktop window, and the window of each icon in it.
// (With a virtual desktop the taskbar draws the icons itself, in no window
// of their own; the test prefixes have none.)
constexpr std::string_view kStandaloneTrayClass = "__winex11_standalone_tray";
constexpr std::string_view kIconClass = "__winex11_tray_icon";

// Below this mean difference per pixel (of the 0 to 255 channel values),
// the icon shows the picture; between two pictures of the animation the
// difference is many times larger.
constexpr double kSamePicture = 6.0;


int Channel(std::uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFF);
}

// The mean of the largest channel difference over the picture's pixels,
// with the picture's top left corner at (left, top) of the shown image.
double Difference(const Image& shown, const Image& picture, int left, int top) {
  double sum = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t a = shown.At(left + x, top + y);
      const std::uint32_t b = picture.At(x, y);
      int worst = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        worst = std::max(worst, std::abs(Channel(a, shift) - Channel(b, shift)));
      }
      sum += worst;
    }
  }
  return sum / (picture.width * picture.height);
}

}  // namespace

Window WaitForHiddenWindow(const App& app, std::string_view class_name, Millis timeout) {
  const std::string what =
      "a \"" + std::string(class_name) + "\" window of " + app.GetProcess().Describe();
  return WaitFor<Window>(
      [&]() -> std::optional<Window> {
        const std::vector<Window> found = TopLevelWindows(class_name, app.Id(), Visibility::kAny);
        if (!found.empty()) return found.front();
        if (!app.Running()) throw Failure(app.DescribeState() + " while waiting for " + what);
        return std::nullopt;
      },
      what, timeout, [&] { return app.DescribeState(); });
}

void PostTrayMouse(const Window& owner, UINT mouse_message, UINT icon_id, UINT callback_message) {
  owner.Post(callback_message, icon_id, static_cast<LPARAM>(mouse_message));
}

void TrayLeftClick(const Window& owner) {
  for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}) PostTrayMouse(owner, message);
}

void TrayDoubleClick(const Window& owner) {
  for (UINT message :
       {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    PostTrayMouse(owner, message);
  }
}

void TrayRightClick(const Window& owner) {
  for (UINT message : {WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP}) PostTrayMouse(owner, message);
}

void PopupMenu::PostKey(WORD key) const {
  Post(WM_KEYDOWN, key, 1);
}

void PopupMenu::Highlight(int item) const {
  if (item < 1) throw Failure("menu items are numbered from 1, not " + std::to_string(item));
  for (int i = first_item_highlighted_ ? 1 : 0; i < item; ++i) PostKey(VK_DOWN);
}

void PopupMenu::Choose(int item) const {
  Highlight(item);
  PostKey(VK_RETURN);
}

PopupMenu PopupMenu::OpenSubmenu(int item) const {
  Highlight(item);
  PostKey(VK_RIGHT);
  const DWORD process = ProcessId();
  return WaitFor<PopupMenu>(
      [&]() -> std::optional<PopupMenu> {
        for (const PopupMenu& menu : PopupMenus(process)) {
          if (!(menu == *this)) return PopupMenu(menu, true);
        }
        return std::nullopt;
      },
      "the submenu of item " + std::to_string(item) + " of " + Describe());
}

std::vector<PopupMenu> PopupMenus(DWORD process_id) {
  std::vector<PopupMenu> menus;
  for (const Window& window : TopLevelWindows("#32768", process_id)) menus.emplace_back(window);
  return menus;
}

PopupMenu WaitForPopupMenu(const App& app, Millis timeout) {
  const std::string what = "a popup menu of " + app.GetProcess().Describe();
  return WaitFor<PopupMenu>(
      [&]() -> std::optional<PopupMenu> {
        const std::vector<PopupMenu> menus = PopupMenus(app.Id());
        if (!menus.empty()) return menus.front();
        if (!app.Running()) throw Failure(app.DescribeState() + " while waiting for " + what);
        return std::nullopt;
      },
      what, timeout, [&] { return app.DescribeState(); });
}

void WaitForNoPopupMenu(const App& app, Millis timeout) {
  WaitUntil([&] { return PopupMenus(app.Id()).empty(); },
            "the popup menu of " + app.GetProcess().Describe() + " to close", timeout,
            [&] { return app.DescribeState(); });
}

std::optional<Window> TrayArea() {
  const std::vector<Window> trays = TopLevelWindows(kStandaloneTrayClass);
  if (trays.empty()) return std::nullopt;
  return trays.front();
}

std::vector<Window> TrayIcons() {
  std::vector<Window> icons;
  for (const Window& tray : TopLevelWindows(kStandaloneTrayClass)) {
    for (const Window& child : tray.Descendants()) {
      if (child.Visible() && child.ClassName() == kIconClass) icons.push_back(child);
    }
  }
  std::sort(icons.begin(), icons.end(), [](const Window& a, const Window& b) {
    return a.Rect().left < b.Rect().left;
  });
  return icons;
}

std::vector<Window> WaitForTrayIcons(std::size_t count, Millis timeout) {
  std::vector<Window> icons;
  WaitUntil([&] { return (icons = TrayIcons()).size() == count; },
            std::to_string(count) + " icons in the notification area", timeout,
            [&] { return "it shows " + std::to_string(icons.size()); });
  return icons;
}

TrayPictures::TrayPictures(const std::string& program, std::vector<int> resources) {
  module_ = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module_) {
    throw Failure("cannot open " + program + " for its icons: error " +
                  std::to_string(GetLastError()));
  }
  // The tray draws its icons at the small icon size; programs load them so.
  const int size = GetSystemMetrics(SM_CXSMICON);
  for (const int id : resources) {
    auto* icon = static_cast<HICON>(
        LoadImageA(module_, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    if (!icon) {
      Release();
      throw Failure(program + " has no icon with id " + std::to_string(id));
    }
    icons_.push_back(icon);
  }
}

TrayPictures::~TrayPictures() { Release(); }

void TrayPictures::Release() {
  for (HICON icon : icons_) DestroyIcon(icon);
  icons_.clear();
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
}

int TrayPictures::Identify(const Image& shown) const {
  const int size = GetSystemMetrics(SM_CXSMICON);
  if (shown.width < size || shown.height < size) return 0;
  // The icon window's corner is outside the picture, in the tray's colour,
  // which shows through the picture's transparent pixels.
  const std::uint32_t corner = shown.At(0, 0);
  const COLORREF background = RGB(Channel(corner, 16), Channel(corner, 8), Channel(corner, 0));
  const std::vector<Image>& pictures = Rendered(background);
  int best = 0;
  double bestDifference = kSamePicture;
  for (std::size_t n = 0; n < pictures.size(); ++n) {
    const Image& picture = pictures[n];
    for (int top = 0; top + size <= shown.height; ++top) {
      for (int left = 0; left + size <= shown.width; ++left) {
        const double difference = Difference(shown, picture, left, top);
        if (difference < bestDifference) {
          bestDifference = difference;
          best = static_cast<int>(n) + 1;
        }
      }
    }
  }
  return best;
}

const std::vector<Image>& TrayPictures::Rendered(COLORREF background) const {
  std::vector<Image>& pictures = rendered_[background];
  if (pictures.empty()) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    for (HICON icon : icons_) pictures.push_back(RenderIcon(icon, size, size, background, size));
  }
  return pictures;
}

int TrayPictures::Identify(const Window& icon) const {
  return Identify(CaptureScreen(icon.Rect()));
}

std::vector<int> TrayPictures::Watch(const Window& icon, Millis duration) const {
  std::vector<int> seen;
  PollUntil(
      [&] {
        const int now = Identify(icon);
        if (seen.empty() || seen.back() != now) seen.push_back(now);
        return false;
      },
      duration, Millis(20));
  return seen;
}

void TrayPictures::WaitForPicture(const Window& icon, int picture, Millis timeout) const {
  int shown = 0;
  WaitUntil([&] { return (shown = Identify(icon)) == picture; },
            "the tray icon to show picture " + std::to_string(picture), timeout, [&] {
              return shown == 0 ? std::string("it shows none of the pictures")
                                : "it shows picture " + std::to_string(shown);
            });
}

}  // namespace e2e
