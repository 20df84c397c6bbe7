#pragma once

#include "platform/shell.h"
#include "platform/win32/windows_shim.h"

namespace platform::win32 {

// The portable interfaces pass windows as an opaque WindowHandle; the views
// and adapters turn it back into the system's handle and out again.
inline HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle AsWindowHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace platform::win32
