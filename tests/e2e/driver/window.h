#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/win32/windows_shim.h"
#include "tests/e2e/driver/wait.h"

namespace e2e {

// How long a window of the program under test may take to answer one
// message. A window that needs longer is hung or shows a modal box from
// inside the handler; both are failures of the scenario.
inline constexpr Millis kMessageTimeout{2000};

enum class Visibility { kVisible, kAny };

// A window of another process, driven by messages. Messages whose data
// Wine does not copy between processes (the status bar's) go through a
// buffer in the target process. Every method throws a Failure when the
// window is gone or does not answer in time.
class Window {
 public:
  Window() = default;
  explicit Window(HWND hwnd) : hwnd_(hwnd) {}

  HWND Handle() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }
  bool operator==(const Window& other) const { return hwnd_ == other.hwnd_; }

  bool Exists() const;
  DWORD ProcessId() const;
  std::string ClassName() const;
  int Id() const;
  bool Visible() const;
  bool Enabled() const;
  RECT Rect() const;
  // The caption of a top-level window, the text of a control (WM_GETTEXT).
  std::string Text() const;
  // "Button 0x1005a id 150 "&Apply"" for failure messages.
  std::string Describe() const;

  // The descendant with the control id, searching direct children first.
  std::optional<Window> FindChild(int id) const;
  Window Child(int id) const;
  Window WaitForChild(int id, Millis timeout = kDefaultTimeout) const;
  // All descendants, parents before their children.
  std::vector<Window> Descendants() const;

  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0,
               Millis timeout = kMessageTimeout) const;
  void Post(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const;
  void Close() const { Post(WM_CLOSE); }

  // Buttons, check boxes and option buttons. Click posts BM_CLICK, so that
  // a handler that opens a modal box does not block the driver.
  void Click() const;
  int CheckState() const;  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
  bool Checked() const { return CheckState() == BST_CHECKED; }

  // Edits. SetText replaces the text at once (WM_SETTEXT, which sends the
  // change notification); Type puts the caret behind the text and posts one
  // WM_CHAR a character, as a keyboard does, and returns when the edit has
  // taken them all.
  void SetText(std::string_view text) const;
  void Type(std::string_view text) const;

  // Combo boxes. Select sets the selection and posts CBN_SELCHANGE to the
  // parent, as a choice made with the mouse does; its effects follow later.
  int ComboCount() const;
  int ComboSelection() const;  // CB_ERR (-1) when nothing is selected
  std::string ComboItem(int index) const;
  std::vector<std::string> ComboItems() const;
  std::string ComboSelectedText() const;  // "" when nothing is selected
  void ComboSelect(int index) const;
  void ComboSelect(std::string_view item) const;

  // Status bars.
  int StatusPanelCount() const;
  std::string StatusText(int panel) const;

  // Report list views: the number of rows, and one cell's text.
  int ListCount() const;
  std::string ListItemText(int row, int column) const;

  // Toolbars. A button is named by its command id; its rectangle is in the
  // toolbar's client coordinates. Click posts a press and a release of the
  // left button at its middle, as the mouse does.
  RECT ToolbarButtonRect(int command_id) const;

  // Tells a top-level window that it now lies on a monitor of that DPI, as
  // the system does when the window is moved there, with the place the
  // system suggests.
  void SendDpiChanged(int dpi, const RECT& suggested) const;
  void ClickToolbarButton(int command_id) const;

 private:
  void RequireExists(std::string_view action) const;

  HWND hwnd_ = nullptr;
};

// Top-level windows, in Z order; an empty class name or process id 0 matches any.
std::vector<Window> TopLevelWindows(std::string_view class_name = {}, DWORD process_id = 0,
                                    Visibility visibility = Visibility::kVisible);
int CountTopLevelWindows(std::string_view class_name, DWORD process_id = 0,
                         Visibility visibility = Visibility::kAny);

// The window's text as Wine keeps it, without sending a message: never
// waits and never fails ("" for a window that is gone).
std::string WindowTitle(const Window& window);

// One line per window, for failure messages: what a process shows.
std::string DescribeWindows(const std::vector<Window>& windows);

// Waits until the thread of a window has handled every message posted to it
// before this call. The marker is the item data of the first item of list, a
// combo box of that thread whose item data the program never reads and whose
// first item it never replaces. Works while a modal window of the thread is
// open, since its loop dispatches them too.
void SettleThread(const Window& list, const Window& described);

// Waits until read() returns expected and returns it, or returns the last
// value read when the timeout passes; EXPECT_EQ on the result then shows
// both values.
template <typename Read>
std::invoke_result_t<Read&> Eventually(Read&& read, const std::invoke_result_t<Read&>& expected,
                                       Millis timeout = kDefaultTimeout) {
  std::invoke_result_t<Read&> last{};
  PollUntil([&] { return (last = read()) == expected; }, timeout);
  return last;
}

}  // namespace e2e
