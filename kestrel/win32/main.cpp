#include "kestrel/kestrel_app.h"
#include "kestrel/startup.h"
#include "kestrel/win32/frm_main.h"
#include "platform/win32/adapters.h"

namespace {

int RunMessageLoop(HWND mainWindow) {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // Tab and the arrow keys move between the controls, as in a dialog.
    if (mainWindow && IsWindow(mainWindow) && IsDialogMessageA(mainWindow, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
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
  Win32Shell shell;
  kestrel::KestrelApp app({version, instance, environment, messages, programs, registry, files,
                           restart, sound, shell});

  if (kestrel::RunStartup(app) == kestrel::StartupAction::Exit) return 0;

  kestrel::win32::FrmMain frmMain(app);
  if (!frmMain.Open()) return 1;
  return RunMessageLoop(frmMain.handle());
}
