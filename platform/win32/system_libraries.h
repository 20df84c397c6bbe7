#pragma once

#include "platform/win32/windows_shim.h"

namespace platform::win32 {

// Kestrel runs as an administrator, and both programs are often started from
// a download folder: a DLL that someone placed beside them or in the current
// directory must never be loaded in place of the system's. Called first thing
// in WinMain, this limits every later load to the system folder.
void LoadLibrariesFromSystemFolderOnly();

// A system library by file name ("WSOCK32.DLL"), only ever from the system
// folder; null when it is missing there.
HMODULE LoadSystemLibrary(const char* name);

}  // namespace platform::win32
