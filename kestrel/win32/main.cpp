#include "common/user_shell.h"
#include "common/win32/window_helpers.h"
#include "kestrel/admin_commands.h"
#include "kestrel/kestrel_app.h"
#include "kestrel/startup.h"
#include "kestrel/win32/frm_main.h"
#include "platform/win32/adapters.h"
#include "platform/win32/system_libraries.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::win32::LoadLibrariesFromSystemFolderOnly();
  INITCOMMONCONTROLSEX controls{sizeof(controls),
                                ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                    ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  using namespace platform::win32;
  Win32VersionQuery version;
  Win32SingleInstance instance("Kestrel.TuningProgram.Instance");
  Win32ProcessEnvironment environment;
  Win32MessageBoxes messages;
  Win32ProgramStarter programs;
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemRestart restart;
  Win32Sound sound;
  Win32DesktopShell desktop;
  Win32Shell directShell;
  // Kestrel runs elevated: the browser and mail program it opens run as the user.
  common::UserShell shell(desktop, directShell);
  Win32RandomSource random;
  Win32FileDialogs dialogs;
  kestrel::KestrelApp app({version, instance, environment, messages, programs, registry, files,
                           restart, sound, shell, random, dialogs, desktop});

  if (const auto exitCode = kestrel::RunUndoCommandLine(app)) return *exitCode;
  if (const auto exitCode = kestrel::RunAdminCommandLine(app)) return *exitCode;
  if (kestrel::RunStartup(app) == kestrel::StartupAction::Exit) return 0;

  kestrel::win32::FrmMain frmMain(app);
  if (!frmMain.Open()) return 1;
  // Until the last window closes: the tip window may outlive the main window.
  return common::win32::RunMessageLoop();
}
