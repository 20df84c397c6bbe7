#pragma once

#include <memory>
#include <random>
#include <string>

#include "platform/desktop_shell.h"
#include "platform/clock.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/icmp_echo.h"
#include "platform/message_box.h"
#include "platform/process_environment.h"
#include "platform/program_windows.h"
#include "platform/program_starter.h"
#include "platform/random_source.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "platform/sockets.h"
#include "platform/sound.h"
#include "platform/system_restart.h"
#include "platform/timers.h"
#include "platform/tray.h"
#include "platform/version_query.h"
#include "platform/worker.h"
#include "platform/win32/handles.h"
#include "platform/win32/late_bound_library.h"
#include "platform/win32/window_handle.h"

// The Win32 implementations of the platform interfaces.
namespace platform::win32 {

class Win32VersionQuery final : public VersionQuery {
 public:
  OsVersionInfo QueryVersion() override;
};

class Win32SingleInstance final : public SingleInstance {
 public:
  explicit Win32SingleInstance(std::string name) : name_(std::move(name)) {}
  bool AnotherInstanceRunning() override;

 private:
  std::string name_;
  UniqueHandle mutex_;
  bool claimed_ = false;
  bool another_ = false;
};

// "SHELL32.DLL" is bound when the folder is first asked for: Kestrel's
// first window needs nothing of the shell, and the library and those it
// brings along take a good part of the start-up to load.
class Win32ProcessEnvironment final : public ProcessEnvironment {
 public:
  std::string CommandLine() override;
  std::string ProgramDirectory() override;
  std::string ApplicationDataFolder() override;

 private:
  LateBoundLibrary shell_{"SHELL32.DLL"};
  HRESULT(WINAPI* getFolderPath_)(HWND, int, HANDLE, DWORD, LPSTR) = nullptr;
};

class Win32MessageBoxes final : public MessageBoxes {
 public:
  MessageAnswer Show(const std::string& text, const std::string& caption, MessageButtons buttons,
                     MessageIcon icon) override;
};

class Win32ProgramStarter final : public ProgramStarter {
 public:
  unsigned long Start(const std::string& commandLine, ShowCode show) override;
  unsigned long StartAndWait(const std::string& commandLine, ShowCode show,
                             const std::function<void()>& whileWaiting) override;
};

class Win32Registry final : public Registry {
 public:
  Win32Registry();
  long CreateKey(RegistryRoot root, const std::string& subkey, Key& key) override;
  long OpenKey(RegistryRoot root, const std::string& subkey, Key& key) override;
  long SetValue(Key key, const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  long DeleteValue(Key key, const std::string& name) override;
  long QueryValue(Key key, const std::string& name, std::uint32_t& type,
                  std::vector<std::uint8_t>& data) override;
  long EnumKey(Key key, std::uint32_t index, std::string& name) override;
  long CloseKey(Key key) override;

  // True when a 32-bit process runs on 64-bit Windows, where keys are opened
  // in the native view so that the values reach the stack that reads them.
  bool UsesNativeView() const { return nativeViewFlag_ != 0; }

 private:
  REGSAM nativeViewFlag_ = 0;
};

class Win32FileSystem final : public FileSystem {
 public:
  std::optional<FileAttributes> GetAttributes(const std::string& path) override;
  std::optional<std::string> ReadAll(const std::string& path) override;
  std::optional<std::string> ReadStart(const std::string& path, std::size_t count) override;
  bool WriteAll(const std::string& path, const std::string& bytes) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  bool AppendAll(const std::string& path, const std::string& bytes) override;
  bool CreateFolder(const std::string& path) override;
};

class Win32SystemRestart final : public SystemRestart {
 public:
  bool EnableShutdownPrivilege() override;
  int EndSession(std::uint32_t flags, std::uint32_t reason) override;
};

// The sound library "WINMM.DLL" is bound on the first sound, so that a
// program that never plays one does not carry it.
class Win32Sound final : public Sound {
 public:
  void Beep() override;
  void PlayFile(const std::string& path) override;

 private:
  LateBoundLibrary library_{"WINMM.DLL"};
  decltype(&sndPlaySoundA) play_ = nullptr;
};

// "SHELL32.DLL", bound on the first document opened.
class Win32Shell final : public Shell {
 public:
  std::intptr_t Open(WindowHandle owner, const std::string& document, ShowCode show) override;

 private:
  LateBoundLibrary library_{"SHELL32.DLL"};
  decltype(&ShellExecuteA) execute_ = nullptr;
};

// A Mersenne twister, seeded from the tick count and the performance counter.
class Win32RandomSource final : public RandomSource {
 public:
  void SeedFromClock() override;
  double Next() override;

 private:
  std::mt19937 engine_;
};

// "COMDLG32.DLL", bound when the first dialog opens.
class Win32FileDialogs final : public FileDialogs {
 public:
  std::string AskSaveFileName(const SaveFileRequest& request) override;

 private:
  LateBoundLibrary library_{"COMDLG32.DLL"};
  decltype(&GetSaveFileNameA) askSave_ = nullptr;
};

// The socket library "WSOCK32.DLL", bound on first use. The name can be
// changed only to try a library that is missing.
class Win32SocketLibrary final : public SocketLibrary {
 public:
  explicit Win32SocketLibrary(std::string library = "WSOCK32.DLL") : library_(std::move(library)) {}
  std::optional<SocketStartup> Start(std::uint16_t version) override;
  std::optional<int> Cleanup() override;
  std::optional<std::vector<Ipv4Address>> LookUpHost(const std::string& name) override;

 private:
  LateBoundLibrary library_;
  decltype(&WSAStartup) startup_ = nullptr;
  decltype(&WSACleanup) cleanup_ = nullptr;
  decltype(&gethostbyname) lookup_ = nullptr;
};

// The ICMP echo of "Icmp.dll", bound on first use.
class Win32IcmpEcho final : public IcmpEcho {
 public:
  explicit Win32IcmpEcho(std::string library = "Icmp.dll") : library_(std::move(library)) {}
  std::optional<std::uint32_t> Echo(const Ipv4Address& address,
                                    std::span<const std::uint8_t> payload,
                                    std::uint32_t timeoutMs, bool dontFragment) override;

 private:
  LateBoundLibrary library_;
  decltype(&IcmpCreateFile) create_ = nullptr;
  decltype(&IcmpSendEcho) send_ = nullptr;
  decltype(&IcmpCloseHandle) close_ = nullptr;
};

// The desktop shell's process reached through its automation objects (the
// shell window's view of the desktop), and broadcasts of registered messages.
// COM ("OLE32.DLL" and "OLEAUT32.DLL") is bound on the first such start.
class Win32DesktopShell final : public DesktopShell {
 public:
  Win32DesktopShell();
  ~Win32DesktopShell() override;
  Win32DesktopShell(const Win32DesktopShell&) = delete;
  Win32DesktopShell& operator=(const Win32DesktopShell&) = delete;
  bool RunsElevated() override;
  bool OpenAsDesktop(const std::string& file, const std::string& parameters,
                     ShowCode show) override;
  void PostToAllWindows(const std::string& messageName) override;

  struct Com;

 private:
  std::unique_ptr<Com> com_;
};

class Win32ProgramWindows final : public ProgramWindows {
 public:
  WindowHandle Find(const std::string& windowClass) override;
  void BringToFront(WindowHandle window) override;
};

class Win32Tray final : public Tray {
 public:
  bool NotifyIcon(TrayOperation operation, const NotifyIconData& record) override;
  std::uint32_t TaskbarCreatedMessage() override;
  bool BringToForeground(WindowHandle window) override;
  void PostEmptyMessage(WindowHandle window) override;
  bool ShowBalloon(const NotifyIconData& record, const std::string& title,
                   const std::string& text) override;
};

class Win32Clock final : public Clock {
 public:
  LocalTime Now() override;
  std::uint64_t Milliseconds() override;
};

// The timers of one window (SetTimer, KillTimer): each tick arrives as
// WM_TIMER with the timer's id.
class Win32WindowTimers final : public Timers {
 public:
  explicit Win32WindowTimers(HWND window) : window_(window) {}
  bool Start(std::uint32_t id, std::uint32_t intervalMs) override;
  void Stop(std::uint32_t id) override;

 private:
  HWND window_;
};

// One thread of its own that runs the jobs in order; each job's done comes
// back to the creating thread as a message to a message-only window, so that
// it runs from that thread's message loop (also inside a message box's).
class Win32Worker final : public Worker {
 public:
  Win32Worker();
  // Ends the thread when it is idle. A job still waiting on the network is
  // left to end with the process: see Busy.
  ~Win32Worker() override;
  Win32Worker(const Win32Worker&) = delete;
  Win32Worker& operator=(const Win32Worker&) = delete;
  void Run(std::function<void()> job, std::function<void()> done) override;
  // True while a job is queued or running.
  bool Busy() const;

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  UniqueHandle thread_;
};

// The system's record for the portable one: the first version's size for
// this architecture, so that every shell since the first one accepts it.
NOTIFYICONDATAA ToNotifyIconData(const NotifyIconData& record);

}  // namespace platform::win32
