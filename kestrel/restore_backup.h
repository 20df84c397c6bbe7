#pragma once

#include <string>

#include "kestrel/kestrel_app.h"
#include "kestrel/settings_panel.h"

namespace kestrel {

// What the registry backup needs of the window it runs from.
class BackupWindow {
 public:
  virtual ~BackupWindow() = default;
  // Lets pending window messages run.
  virtual void PumpMessages() = 0;
  // The main window, as the owner of the file dialog and of what the shell
  // opens for it.
  virtual platform::WindowHandle MainWindowHandle() const = 0;
  // While busy the window shows the wait cursor and takes no commands.
  virtual void SetBusy(bool busy) = 0;
};

// Asks whether to restore the Windows defaults; on Yes puts them into the
// panel in mode Manual, saves them to Kestrel.cfg and writes the registry,
// and tells the user how that went.
void RestoreWindowsDefaults(KestrelApp& app, SettingsPanelModel& panel);

// The save dialog for the backup file; the full path chosen, or an empty
// text when the user cancels.
std::string AskBackupFileName(KestrelApp& app, platform::WindowHandle owner);

// The command line that exports the whole registry into the file.
std::string BackupCommandLine(const std::string& path);

// Whether the bytes begin with the header of a registry editor's export:
// "Windows Registry Editor Version 5.00" in UTF-16 with its byte order mark,
// or the older "REGEDIT4" in 8-bit text.
bool IsRegistryExport(const std::string& start);

// Asks for a file, exports the registry into it with the registry editor and
// waits for the editor to end, keeping the window responsive; then reports
// success only when the editor wrote an export to the file.
void BackupRegistry(KestrelApp& app, BackupWindow& window);

}  // namespace kestrel
