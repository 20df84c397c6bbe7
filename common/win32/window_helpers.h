#pragma once

#include <functional>
#include <string>

#include "common/controls.h"
#include "platform/win32/handles.h"

namespace common::win32 {

// Small helpers shared by the windows of both programs.

void SetFontOnChildren(HWND parent, HFONT font);

std::string WindowText(HWND window);

// Sets the text only when it differs, so that no change notification and no
// flicker follow an unchanged text.
void SetWindowTextIfDifferent(HWND window, const std::string& text);

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                 int width, int height, int id, DWORD exStyle = 0);

// Registers a window class of the program's own windows, with the dialog
// colour and the arrow cursor. True when the class is there, also when an
// earlier call registered it.
bool RegisterViewClass(const char* name, WNDPROC procedure, HICON icon = nullptr,
                       HICON smallIcon = nullptr);

// The window procedure of a view class: the view passed as the creation
// parameter of CreateWindowExA gets its window in window_ at WM_NCCREATE,
// then every message through HandleMessage. At WM_NCDESTROY the window lets
// go of the view and the view of the window, so that neither keeps a handle
// that the system may give to another window; a view that must hear of it
// has OnDetached, called after. A view makes this procedure its friend.
template <typename View>
LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* view = static_cast<View*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    view->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  }
  auto* view = reinterpret_cast<View*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!view) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    view->window_ = nullptr;
    if constexpr (requires { view->OnDetached(); }) view->OnDetached();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return view->HandleMessage(message, wParam, lParam);
}

// The top-left corner of a window of the given outer size centred over
// `around`, or over the primary monitor's work area when there is none,
// then moved as little as needed to lie whole in that monitor's work area
// (its left and top edges first, when the window is larger than it).
POINT CentredOver(HWND around, int width, int height);

// The work area of the monitor that `around` is on, or of the primary one.
RECT WorkAreaAround(HWND around);

// Lets pending window messages run once, without waiting for new ones.
void PumpPendingMessages();

// The program's open top-level windows. The program ends when the last of
// them closes, whichever it is; each gets the dialog keys (Tab, arrows,
// Enter, Escape) while it is active.
void AddTopLevelWindow(HWND window);
// Removes the window; the last one gone ends the message loop.
void RemoveTopLevelWindow(HWND window);
// Dispatches one message, giving a top-level window of ours its dialog keys.
void DispatchWithDialogKeys(MSG& message);
// Runs until the last top-level window has closed; returns the exit code.
int RunMessageLoop();
// Runs a modal window's messages over its disabled owner until done() says
// so, then enables the owner again before the caller destroys the window, so
// that the system activates the owner and not some other program's window.
// Without an owner, nothing is disabled. The wait also ends when the window
// is destroyed. A WM_QUIT that ends the wait early is posted again for the
// main loop.
void RunModal(HWND owner, HWND window, const std::function<bool()>& done);

// Mirroring a model's control state into a control. Each changes the control
// only where it differs, so that no needless notification or flicker follows.
void MirrorEnabled(HWND control, bool enabled);
void MirrorList(HWND combo, const ListControl& list);
void MirrorOption(HWND button, const OptionControl& option);
void MirrorCheck(HWND button, const CheckControl& check);
void MirrorText(HWND box, const TextControl& text);

}  // namespace common::win32
