#include "platform/win32/system_libraries.h"

#include <string>

namespace platform::win32 {
namespace {

// Windows 7 without its 2011 loader update lacks the call and the search
// flags; look the call up so that the program still starts there.
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

}  // namespace

void LoadLibrariesFromSystemFolderOnly() {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  // Through the generic function type, which converts to any other.
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Without it, at least the current directory leaves the search.
  SetDllDirectoryA("");
}

HMODULE LoadSystemLibrary(const char* name) {
  if (const HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return module;
  }
  // A loader that does not know the flag refuses it as a bad parameter; any
  // other failure (the library is missing) is the answer.
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + name;
  // The library's own imports are then looked for in its folder first.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace platform::win32
