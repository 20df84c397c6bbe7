#pragma once

#include <string>

#include "platform/win32/handles.h"

namespace kestrel::win32 {

// Small helpers shared by the windows of the tuning program.

// The system's message font, which every control of our windows uses.
HFONT MessageFont();

void SetFontOnChildren(HWND parent, HFONT font);

std::string WindowText(HWND window);

// Sets the text only when it differs, so that no change notification and no
// flicker follow an unchanged text.
void SetWindowTextIfDifferent(HWND window, const std::string& text);

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                 int width, int height, int id, DWORD exStyle = 0);

// The window procedure of a view class: the view passed as the creation
// parameter is attached to its window (its window_ set) when the window is
// created, and every message then goes to the view's HandleMessage. A view
// that detaches itself (user data 0) leaves the rest to the default.
template <typename View>
LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* view = static_cast<View*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    view->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  }
  auto* view = reinterpret_cast<View*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return view ? view->HandleMessage(message, wParam, lParam)
              : DefWindowProcA(window, message, wParam, lParam);
}

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

}  // namespace kestrel::win32
