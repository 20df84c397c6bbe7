#pragma once

#include <string>

#include "common/controls.h"
#include "platform/win32/handles.h"

namespace common::win32 {

// Small helpers shared by the windows of both programs.

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

// Mirroring a model's control state into a control. Each changes the control
// only where it differs, so that no needless notification or flicker follows.
void MirrorEnabled(HWND control, bool enabled);
void MirrorList(HWND combo, const ListControl& list);
void MirrorOption(HWND button, const OptionControl& option);
void MirrorCheck(HWND button, const CheckControl& check);
void MirrorText(HWND box, const TextControl& text);

}  // namespace common::win32
