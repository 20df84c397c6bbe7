#include "tests/e2e/driver/process.h"

#include <tlhelp32.h>

#include <cstdio>
#include <sstream>
#include <utility>
#include <vector>

#include "tests/e2e/driver/paths.h"

namespace e2e {
namespace {

// The program runs in its own directory, as when started from the shell.
std::string FolderOf(const std::string& program) {
  const std::size_t slash = program.find_last_of('\\');
  return slash == std::string::npos ? "" : program.substr(0, slash);
}

}  // namespace

Process Process::Start(const std::string& program, std::string_view arguments, int show_window) {
  return Launch(program.c_str(), CommandLine(program, arguments), FolderOf(program), show_window,
                program, std::string(arguments));
}

Process Process::StartCommandLine(const std::string& command_line, int show_window) {
  std::string program;
  std::string arguments;
  if (!command_line.empty() && command_line.front() == '"') {
    const std::size_t end = command_line.find('"', 1);
    program = command_line.substr(1, end == std::string::npos ? end : end - 1);
    if (end != std::string::npos) arguments = command_line.substr(end + 1);
  } else {
    const std::size_t blank = command_line.find(' ');
    program = command_line.substr(0, blank);
    if (blank != std::string::npos) arguments = command_line.substr(blank);
  }
  return Launch(nullptr, command_line, FolderOf(program), show_window, program, arguments);
}

Process Process::Launch(const char* program, std::string line, const std::string& directory,
                        int show_window, std::string name, std::string arguments) {
  std::vector<char> writable(line.begin(), line.end());
  writable.push_back('\0');

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show_window);
  PROCESS_INFORMATION info{};
  // No handles are inherited: our output is a file CTest reads.
  if (!CreateProcessA(program, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
    throw Failure("cannot start " + line + ": error " + std::to_string(GetLastError()));
  }
  CloseHandle(info.hThread);
  return Process(info.hProcess, info.dwProcessId, std::move(name), std::move(arguments));
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      id_(std::exchange(other.id_, 0)),
      program_(std::move(other.program_)),
      arguments_(std::move(other.arguments_)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    if (handle_) CloseHandle(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    id_ = std::exchange(other.id_, 0);
    program_ = std::move(other.program_);
    arguments_ = std::move(other.arguments_);
  }
  return *this;
}

Process::~Process() {
  if (handle_) CloseHandle(handle_);
}

bool Process::Running() const {
  return WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::ExitCode() const {
  if (Running()) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(handle_, &code)) return std::nullopt;
  return code;
}

DWORD Process::WaitForExit(Millis timeout) const {
  if (WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    throw Failure("timed out after " + std::to_string(timeout.count()) + " ms waiting for " +
                  Describe() + " to end");
  }
  return ExitCode().value_or(0xFFFFFFFFu);
}

void Process::Terminate(UINT exit_code) const {
  if (!handle_ || !Running()) return;
  TerminateProcess(handle_, exit_code);
  WaitForSingleObject(handle_, 5000);
}

std::string Process::Describe() const {
  char id[16];
  std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(id_));
  return BaseName(program_) + " (command line \"" + arguments_ + "\", pid " + id + ")";
}

std::string ProcessImage(DWORD process_id) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  if (!process) return "";
  char image[MAX_PATH * 2];
  DWORD size = sizeof image;
  std::string path;
  if (QueryFullProcessImageNameA(process, 0, image, &size)) path.assign(image, size);
  CloseHandle(process);
  return path;
}

long long IcmpEchoRequestsSent() {
  HANDLE file = CreateFileA("Z:\\proc\\net\\snmp", GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw Failure("cannot read /proc/net/snmp");
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    text.append(buffer, read);
  CloseHandle(file);
  // Two "Icmp:" lines: the names of the counters, then their values.
  const auto names = text.find("\nIcmp: ");
  const auto values = names == std::string::npos ? names : text.find("\nIcmp: ", names + 1);
  if (values == std::string::npos) throw Failure("/proc/net/snmp has no Icmp counters");
  std::istringstream nameLine(text.substr(names + 7, text.find('\n', names + 1) - names - 7));
  std::istringstream valueLine(text.substr(values + 7, text.find('\n', values + 1) - values - 7));
  std::string name;
  long long value = 0;
  while (nameLine >> name && valueLine >> value) {
    if (name == "OutEchos") return value;
  }
  throw Failure("/proc/net/snmp has no OutEchos counter");
}

int TerminateProcessesIn(const std::string& directory) {
  const std::string prefix = JoinPath(directory, "");
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  int ended = 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) continue;
    HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                    entry.th32ProcessID);
    if (!process) continue;
    char image[MAX_PATH * 2];
    DWORD size = sizeof image;
    if (QueryFullProcessImageNameA(process, 0, image, &size) && size > prefix.size() &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, image, static_cast<int>(prefix.size()),
                       prefix.c_str(), static_cast<int>(prefix.size())) == CSTR_EQUAL) {
      TerminateProcess(process, 0xDEAD);
      WaitForSingleObject(process, 5000);
      ++ended;
    }
    CloseHandle(process);
  }
  CloseHandle(snapshot);
  return ended;
}

}  // namespace e2e
