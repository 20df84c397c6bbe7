#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/windows_shim.h"
#include "tests/e2e/driver/wait.h"

namespace e2e {

// A program started by a scenario. The handle stays open for the object's
// life, so that the exit code can be read after the process has ended.
// Destroying the object does not end the process; see Terminate.
class Process {
 public:
  // Starts program (a Windows path) with the arguments after its quoted
  // name; throws a Failure when the start fails.
  static Process Start(const std::string& program, std::string_view arguments,
                       int show_window = SW_SHOWNORMAL);
  // Starts a whole command line as the system starts one that it keeps (a
  // logon entry, an uninstall command): the program first, quoted or not.
  static Process StartCommandLine(const std::string& command_line, int show_window = SW_SHOWNORMAL);

  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return handle_; }
  const std::string& Program() const { return program_; }
  const std::string& Arguments() const { return arguments_; }

  bool Running() const;
  // The exit code, or nothing while the process runs.
  std::optional<DWORD> ExitCode() const;
  // Waits for the end and returns the exit code; throws a Failure when the
  // process still runs after the timeout.
  DWORD WaitForExit(Millis timeout = kDefaultTimeout) const;
  // Ends the process if it still runs, and waits until it has ended.
  void Terminate(UINT exit_code = 0xDEAD) const;

  // "Kestrel.exe ("0", pid 0x2c)" for failure messages.
  std::string Describe() const;

 private:
  static Process Launch(const char* program, std::string line, const std::string& directory,
                        int show_window, std::string name, std::string arguments);
  Process(HANDLE handle, DWORD id, std::string program, std::string arguments)
      : handle_(handle), id_(id), program_(std::move(program)), arguments_(std::move(arguments)) {}

  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
  std::string program_;
  std::string arguments_;
};

// The program file of a running process (a Windows path), or "" when the
// process is gone.
std::string ProcessImage(DWORD process_id);

// The ICMP echo requests the machine has sent so far. The sandbox gives the
// tests a network of their own, so these are the programs' pings; a Wine
// program reads the kernel's counters as Z:\proc\net\snmp.
long long IcmpEchoRequestsSent();

// Ends every process whose program file lies in the directory (a Windows
// path), such as programs that the program under test started itself;
// returns how many it ended.
int TerminateProcessesIn(const std::string& directory);

}  // namespace e2e
