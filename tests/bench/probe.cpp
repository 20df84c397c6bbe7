// The benchmark's probe: starts programs in its own Wine prefix and counts
// their kernel handles and GDI objects at given moments, then ends them.
//
//   bench_probe.exe SECONDS [--sample S]... [--answer CLASS] --start "COMMAND LINE"...
//
// Prints one line per program and sample:
//   sample 60 Tidewatch.exe handles 31 gdi 52
// With --answer, it also sends WM_NULL every 50 ms to the window of that
// class, from its first appearance to the end, and prints the worst round
// trip, as a user's click would wait for it:
//   answer TidewatchHiddenForm worst 12.8 ms over 1730 messages, 31.2 s after the start
// Neither count comes from GetProcessHandleCount or GetGuiResources, which
// Wine answers with 0: the handles come from the system's handle list, and
// the GDI objects from the process's GDI handle table, whose address its
// process environment block holds.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/windows_shim.h"
// After the shim, which brings the types it builds on.
#include <winternl.h>

namespace {

constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

struct HandleEntry {
  ULONG ownerPid;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ULONG access;
};
struct HandleList {
  ULONG count;
  HandleEntry handles[1];
};

using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <typename Function>
Function NtFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

long CountHandles(DWORD pid) {
  static const auto query = NtFunction<QuerySystem>("NtQuerySystemInformation");
  std::vector<char> buffer(1 << 20);
  NTSTATUS status;
  ULONG needed = 0;
  while ((status = query(kSystemHandleInformation, buffer.data(),
                         static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return -1;
  const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
  long count = 0;
  for (ULONG i = 0; i < list->count; ++i) {
    if (list->handles[i].ownerPid == pid) ++count;
  }
  return count;
}

// The GDI handle table: 65536 entries, each with the object's address first.
constexpr std::size_t kGdiEntries = 0x10000;
constexpr std::size_t kGdiEntrySize = sizeof(void*) == 8 ? 24 : 16;
constexpr std::size_t kPebGdiTable = sizeof(void*) == 8 ? 0xF8 : 0x94;

long CountGdiObjects(HANDLE process) {
  static const auto query = NtFunction<QueryProcess>("NtQueryInformationProcess");
  PROCESS_BASIC_INFORMATION basic{};
  if (query(process, 0 /* ProcessBasicInformation */, &basic, sizeof basic, nullptr) != 0) return -1;
  void* table = nullptr;
  SIZE_T read = 0;
  const auto* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
  if (!ReadProcessMemory(process, peb + kPebGdiTable, &table, sizeof table, &read) || !table) {
    return -1;
  }
  std::vector<char> entries(kGdiEntries * kGdiEntrySize);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read)) return -1;
  long count = 0;
  for (std::size_t i = 0; i < kGdiEntries; ++i) {
    void* object = nullptr;
    std::memcpy(&object, entries.data() + i * kGdiEntrySize, sizeof object);
    if (object) ++count;
  }
  return count;
}

// Sends WM_NULL to the window of the class every 50 ms until the deadline
// (a tick count) and prints the longest wait for an answer.
void MeasureAnswers(const std::string& windowClass, DWORD deadline) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  double worstMs = 0;
  DWORD worstAt = 0;
  const DWORD begin = GetTickCount();
  long messages = 0;
  long unanswered = 0;
  while (static_cast<LONG>(deadline - GetTickCount()) > 0) {
    if (HWND window = FindWindowA(windowClass.c_str(), nullptr)) {
      LARGE_INTEGER sent;
      LARGE_INTEGER answered;
      DWORD_PTR result = 0;
      QueryPerformanceCounter(&sent);
      // Longer than any check could block, so that a blocked window shows
      // its whole wait.
      if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result)) ++unanswered;
      QueryPerformanceCounter(&answered);
      const double ms =
          1000.0 * static_cast<double>(answered.QuadPart - sent.QuadPart) /
          static_cast<double>(frequency.QuadPart);
      if (ms > worstMs) {
        worstMs = ms;
        worstAt = GetTickCount() - begin;
      }
      ++messages;
    }
    Sleep(50);
  }
  std::printf("answer %s worst %.1f ms over %ld messages, %.1f s after the start%s\n",
              windowClass.c_str(), worstMs, messages, worstAt / 1000.0,
              unanswered ? " (some unanswered)" : "");
  std::fflush(stdout);
}

struct Started {
  std::string name;
  PROCESS_INFORMATION info;
};

std::string NameOf(const std::string& commandLine) {
  std::string program = commandLine.substr(0, commandLine.find(".exe") + 4);
  const auto slash = program.find_last_of("\\/");
  if (slash != std::string::npos) program = program.substr(slash + 1);
  return program;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_probe SECONDS [--sample S]... --start \"COMMAND\"...\n");
    return 2;
  }
  const long total = std::atol(argv[1]);
  std::vector<long> samples;
  std::vector<Started> started;
  std::string answerClass;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--answer") {
      answerClass = argv[i + 1];
    } else if (option == "--sample") {
      samples.push_back(std::atol(argv[i + 1]));
    } else if (option == "--start") {
      std::string line = argv[i + 1];
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      startup.dwFlags = STARTF_USESHOWWINDOW;
      startup.wShowWindow = SW_HIDE;  // as the tuning program starts the monitor
      Started program{NameOf(line), {}};
      if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &program.info)) {
        std::fprintf(stderr, "cannot start %s: error %lu\n", line.c_str(), GetLastError());
        return 1;
      }
      std::printf("started %s pid %lu\n", program.name.c_str(), program.info.dwProcessId);
      started.push_back(program);
    }
  }
  std::fflush(stdout);
  const DWORD begin = GetTickCount();
  std::thread answers;
  if (!answerClass.empty()) {
    answers = std::thread(MeasureAnswers, answerClass, begin + static_cast<DWORD>(total) * 1000);
  }
  auto waitUntil = [&](long second) {
    const DWORD due = begin + static_cast<DWORD>(second) * 1000;
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(due - now) > 0) Sleep(due - now);
  };
  for (const long second : samples) {
    waitUntil(second);
    for (const Started& program : started) {
      DWORD code = 0;
      GetExitCodeProcess(program.info.hProcess, &code);
      std::printf("sample %ld %s handles %ld gdi %ld%s\n", second, program.name.c_str(),
                  CountHandles(program.info.dwProcessId), CountGdiObjects(program.info.hProcess),
                  code == STILL_ACTIVE ? "" : " ended");
    }
    std::fflush(stdout);
  }
  waitUntil(total);
  if (answers.joinable()) answers.join();
  for (const Started& program : started) {
    TerminateProcess(program.info.hProcess, 0);
    CloseHandle(program.info.hThread);
    CloseHandle(program.info.hProcess);
  }
  return 0;
}
