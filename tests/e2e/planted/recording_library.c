/* A stand-in for a system library, planted in the program folder under the
   system library's name. Whoever loads it leaves "<its file>.loaded" beside
   it, which is all a scenario needs to know. It exports nothing, so a program
   that binds to it finds none of the entry points it wants. */
#include "platform/win32/windows_shim.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH + 16];
    const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      lstrcatA(path, ".loaded");
      const HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, NULL);
      if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    }
  }
  return TRUE;
}
