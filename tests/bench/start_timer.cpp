// The start-up benchmark's probe: starts programs by turns and times each
// from just before CreateProcess to the moment a top-level window of the new
// process is visible, then ends the process.
//
//   bench_start_timer.exe RUNS [--tips-off] "COMMAND LINE"...
//
// --tips-off clears Kestrel's "Show Tips at Startup" first, so that its first
// window is the main window, as for a user who turned the tips off.
// One warm-up start of each program comes first and is not reported, so that
// every timed start finds the files in the cache and the wineserver running.
// Prints one line per timed start, the command's index from 1:
//   start 1 run 3 ms 131.2 window KestrelMainWindow
// A program that shows no window within 30 s, or cannot be started, is
// reported with 0 ms, which the script takes as a failed measurement.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/windows_shim.h"

namespace {

constexpr double kGiveUpMs = 30000.0;

struct Search {
  DWORD pid;
  bool found;
  char className[64];
};

BOOL CALLBACK FindVisible(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->pid && IsWindowVisible(window)) {
    search->found = true;
    GetClassNameA(window, search->className, sizeof(search->className));
    return FALSE;
  }
  return TRUE;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to,
                    const LARGE_INTEGER& frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// The time to the first visible window, or 0 when there was none; and that
// window's class, to show that it is the window meant.
double TimeOneStart(const std::string& commandLine, const LARGE_INTEGER& frequency,
                    std::string& className) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", commandLine.c_str(), GetLastError());
    return 0;
  }
  double elapsed = 0;
  for (;;) {
    Search search{process.dwProcessId, false, {}};
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    if (search.found) {
      className = search.className;
      elapsed = Milliseconds(start, now, frequency);
      break;
    }
    if (Milliseconds(start, now, frequency) > kGiveUpMs ||
        WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "no window from %s\n", commandLine.c_str());
      break;
    }
    Sleep(1);
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // Wine finishes a process's end in the background; the next start should
  // not pay for it.
  Sleep(300);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || (std::string(argv[2]) == "--tips-off" && argc < 4)) {
    std::fprintf(stderr, "usage: bench_start_timer RUNS \"COMMAND\"...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  int first = 2;
  if (std::string(argv[first]) == "--tips-off") {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Kestrel\\Options", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS ||
        RegSetValueExA(key, "Show Tips at Startup", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>("0"), 2) != ERROR_SUCCESS) {
      std::fprintf(stderr, "cannot clear Show Tips at Startup\n");
      return 1;
    }
    RegCloseKey(key);
    ++first;
  }
  std::vector<std::string> commands(argv + first, argv + argc);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::string className;
  for (const auto& command : commands) TimeOneStart(command, frequency, className);
  for (int run = 1; run <= runs; ++run) {
    for (size_t i = 0; i < commands.size(); ++i) {
      className = "-";
      const double ms = TimeOneStart(commands[i], frequency, className);
      std::printf("start %zu run %d ms %.1f window %s\n", i + 1, run, ms, className.c_str());
      std::fflush(stdout);
    }
  }
  return 0;
}
