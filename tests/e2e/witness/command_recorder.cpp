// A stand-in for a system program (rundll32.exe, regedit.exe) placed in the
// program folder, where a program started by name is looked for first. It
// records the command line it was started with and the show code it was
// given, one line each, in started.log beside itself, and ends.
#include <string>

#include "platform/win32/windows_shim.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string log = self;
  log = log.substr(0, log.find_last_of('\\') + 1) + "started.log";

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  const std::string line =
      std::string(GetCommandLineA()) + " [show " + std::to_string(show) + "]\r\n";

  // Two starts close together may meet at the file; the later one waits its turn.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return 0;
    }
    Sleep(20);
  }
  return 1;
}
