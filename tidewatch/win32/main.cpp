#include "platform/win32/adapters.h"
#include "platform/win32/system_libraries.h"
#include "tidewatch/tidewatch_app.h"
#include "tidewatch/win32/frm_tidewatch.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::win32::LoadLibrariesFromSystemFolderOnly();
  using namespace platform::win32;
  Win32SingleInstance instance("Kestrel.TrayMonitor.Instance");
  // One monitor at a time: a second start ends before it touches anything.
  if (instance.AnotherInstanceRunning()) return 0;

  Win32ProcessEnvironment environment;
  Win32MessageBoxes messages;
  Win32FileSystem files;
  Win32Sound sound;
  Win32Shell shell;
  Win32SocketLibrary sockets;
  Win32IcmpEcho icmp;
  Win32Tray tray;
  Win32Worker worker;
  Win32ProgramWindows windows;
  Win32Registry registry;
  Win32Clock clock;
  tidewatch::TidewatchApp app({instance, environment, messages, files, sound, shell, sockets, icmp,
                               tray, worker, windows, registry, clock});

  tidewatch::win32::FrmTidewatch frmTidewatch(app);
  if (!frmTidewatch.Open()) return 1;

  const int exitCode = common::win32::RunMessageLoop();
  // The icon is gone and nothing is left to save. A check still waiting for
  // its echo would hold the end for up to its 10 s, and would use the
  // network adapters after they are gone: end the process here instead.
  if (worker.Busy()) ExitProcess(static_cast<UINT>(exitCode));
  return exitCode;
}
