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
