#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/windows_shim.h"
#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/screenshot.h"
#include "tests/e2e/driver/window.h"

// A program in the notification area: its hidden owner window, the shell's
// callbacks on it, its popup menus, and the icons Wine shows.
namespace e2e {

// A top-level window of the class of the program, visible or hidden; waits
// for it, and fails early when the program ends.
Window WaitForHiddenWindow(const App& app, std::string_view class_name,
                           Millis timeout = kDefaultTimeout);

// What the shell posts to the owner window for one mouse action on the icon:
// the callback message with the icon's id and the mouse message.
void PostTrayMouse(const Window& owner, UINT mouse_message, UINT icon_id = 1,
                   UINT callback_message = WM_MOUSEMOVE);
// Every message of one left click, one left double-click and one right
// click, moves and presses included, in the shell's order.
void TrayLeftClick(const Window& owner);
void TrayDoubleClick(const Window& owner);
void TrayRightClick(const Window& owner);

// A popup menu of the program (class "#32768"). Another process cannot read
// menu texts, so items are reached with the keyboard, the way a user does.
class PopupMenu : public Window {
 public:
  // A menu opened with the mouse has nothing highlighted; a submenu opened
  // with the keyboard has its first item highlighted.
  explicit PopupMenu(Window window, bool first_item_highlighted = false)
      : Window(window), first_item_highlighted_(first_item_highlighted) {}

  // Chooses item number item (from 1; separators do not count) of the menu
  // as it was opened.
  void Choose(int item) const;
  // Opens the submenu of item number item and returns it.
  PopupMenu OpenSubmenu(int item) const;
  // Closes the menu without a choice (Escape).
  void Dismiss() const { PostKey(VK_ESCAPE); }

 private:
  void PostKey(WORD key) const;
  void Highlight(int item) const;

  bool first_item_highlighted_;
};

// The visible popup menus of the process, the one opened last first.
std::vector<PopupMenu> PopupMenus(DWORD process_id);
PopupMenu WaitForPopupMenu(const App& app, Millis timeout = kDefaultTimeout);
// Waits until the process shows no popup menu.
void WaitForNoPopupMenu(const App& app, Millis timeout = kDefaultTimeout);

// The window of the notification area, for screenshots; nothing while it is
// hidden (Wine hides it when no icon is left).
std::optional<Window> TrayArea();
// The icons of the notification area, one window each, in the order shown.
// Without a desktop window (as in the test prefixes) Wine shows them in a
// small window of its own, "Wine System Tray".
std::vector<Window> TrayIcons();
// Waits until count icons are shown and returns them.
std::vector<Window> WaitForTrayIcons(std::size_t count, Millis timeout = kDefaultTimeout);

// The pictures one program can show in the tray: icon resources of its
// program file, loaded at the tray's size. Tells which of them an icon
// window shows, from the screen's pixels.
class TrayPictures {
 public:
  // program: a Windows path; resources: the ids of the pictures, which are
  // numbered from 1 in this order. Throws a Failure when one cannot be loaded.
  TrayPictures(const std::string& program, std::vector<int> resources);
  TrayPictures(const TrayPictures&) = delete;
  TrayPictures& operator=(const TrayPictures&) = delete;
  ~TrayPictures();

  // The number of the picture the icon window shows, or 0 when it shows
  // none of them.
  int Identify(const Window& icon) const;
  int Identify(const Image& shown) const;
  // The pictures shown one after another while the time passes, each
  // change once: {5} for a resting icon, {2, 3, 4, 1, 2, ...} for a running
  // animation.
  std::vector<int> Watch(const Window& icon, Millis duration) const;
  // Waits until the icon shows the picture; the failure names what it showed.
  void WaitForPicture(const Window& icon, int picture, Millis timeout = kDefaultTimeout) const;

 private:
  void Release();
  // The pictures drawn over the background, drawn once per colour.
  const std::vector<Image>& Rendered(COLORREF background) const;

  HMODULE module_ = nullptr;
  std::vector<HICON> icons_;
  mutable std::map<COLORREF, std::vector<Image>> rendered_;
};

}  // namespace e2e
