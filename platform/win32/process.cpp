#include <vector>

#include "platform/win32/adapters.h"
// The folders of the shell; it needs the shim headers first.
#include <shlobj.h>

namespace platform::win32 {

bool Win32SingleInstance::AnotherInstanceRunning() {
  if (!claimed_) {
    // A named mutex lives as long as any copy holds it open; the first copy
    // creates it, every later one finds it already there.
    mutex_.reset(CreateMutexA(nullptr, FALSE, name_.c_str()));
    const DWORD error = GetLastError();
    InstanceClaim claim = InstanceClaim::Failed;
    if (mutex_) {
      claim = error == ERROR_ALREADY_EXISTS ? InstanceClaim::AlreadyExists : InstanceClaim::Created;
    } else if (error == ERROR_ACCESS_DENIED) {
      claim = InstanceClaim::AccessDenied;
    }
    another_ = AnotherInstanceHolds(claim);
    claimed_ = true;
  }
  return another_;
}

std::string Win32ProcessEnvironment::CommandLine() {
  const char* line = GetCommandLineA();
  return line ? line : "";
}

std::string Win32ProcessEnvironment::ApplicationDataFolder() {
  const auto getFolderPath = shell_.Entry("SHGetFolderPathA", getFolderPath_);
  char folder[MAX_PATH] = {};
  if (!getFolderPath ||
      FAILED(getFolderPath(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return "";
  }
  return folder;
}

std::string Win32ProcessEnvironment::ProgramDirectory() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return "";
    if (length < buffer.size()) {
      std::string path(buffer.data(), length);
      const auto slash = path.find_last_of('\\');
      return slash == std::string::npos ? "" : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

namespace {

// Starts the command line; false, with the system's error, when it cannot.
bool StartProcess(const std::string& commandLine, ShowCode show, PROCESS_INFORMATION& started,
                  unsigned long& error) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    error = GetLastError();
    return false;
  }
  error = 0;
  return true;
}

}  // namespace

unsigned long Win32ProgramStarter::Start(const std::string& commandLine, ShowCode show) {
  PROCESS_INFORMATION started{};
  unsigned long error = 0;
  if (!StartProcess(commandLine, show, started, error)) return error;
  // Not waiting: the handles are only closed.
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  return 0;
}

unsigned long Win32ProgramStarter::StartAndWait(const std::string& commandLine, ShowCode show,
                                                const std::function<void()>& whileWaiting) {
  PROCESS_INFORMATION started{};
  unsigned long error = 0;
  if (!StartProcess(commandLine, show, started, error)) return error;
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  HANDLE waitFor = process.get();
  // Wakes for the end of the program or for any message of this thread.
  while (MsgWaitForMultipleObjects(1, &waitFor, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    whileWaiting();
  }
  return 0;
}

MessageAnswer Win32MessageBoxes::Show(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon) {
  UINT style = MB_OK;
  if (buttons == MessageButtons::YesNo) style = MB_YESNO;
  if (buttons == MessageButtons::YesNoDefaultNo) style = MB_YESNO | MB_DEFBUTTON2;
  if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
  if (icon == MessageIcon::Exclamation) style |= MB_ICONEXCLAMATION;
  HWND owner = GetActiveWindow();
  if (!owner) style |= MB_TASKMODAL;
  switch (MessageBoxA(owner, text.c_str(), caption.c_str(), style)) {
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    default: return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
  }
}

bool Win32SystemRestart::EnableShutdownPrivilege() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                        token.receive())) {
    return false;
  }
  LUID shutdown{};
  if (!LookupPrivilegeValueA("", "SeShutdownPrivilege", &shutdown)) return false;
  TOKEN_PRIVILEGES wanted{};
  wanted.PrivilegeCount = 1;
  wanted.Privileges[0].Luid = shutdown;
  wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  TOKEN_PRIVILEGES previous{};
  DWORD previousLength = 0;
  // AdjustTokenPrivileges reports success even when the privilege is not
  // held; the last error tells.
  if (!AdjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof(previous), &previous,
                             &previousLength)) {
    return false;
  }
  return GetLastError() == ERROR_SUCCESS;
}

int Win32SystemRestart::EndSession(std::uint32_t flags, std::uint32_t reason) {
  return ExitWindowsEx(flags, reason);
}

void Win32Sound::Beep() { MessageBeep(MB_OK); }

void Win32Sound::PlayFile(const std::string& path) {
  // Playing in the background (SND_ASYNC), and no default sound in place of a
  // file that cannot be played (SND_NODEFAULT).
  static_assert((SND_ASYNC | SND_NODEFAULT) == 3);
  // Without the library there is nothing to hear, as with a file that
  // cannot be played.
  if (const auto play = library_.Entry("sndPlaySoundA", play_)) {
    play(path.c_str(), SND_ASYNC | SND_NODEFAULT);
  }
}

std::intptr_t Win32Shell::Open(WindowHandle owner, const std::string& document, ShowCode show) {
  const auto execute = library_.Entry("ShellExecuteA", execute_);
  // Without the shell, as when the system is out of resources: 0.
  if (!execute) return 0;
  const HINSTANCE result =
      execute(AsHwnd(owner), "open", document.c_str(), nullptr, nullptr, static_cast<int>(show));
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace platform::win32
