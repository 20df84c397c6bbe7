#pragma once

#include <optional>
#include <string>

#include "kestrel/kestrel_app.h"

namespace kestrel {

// The exit codes of Kestrel.exe /apply and /export.
enum AdminExitCode : int {
  kAdminDone = 0,
  kAdminNotWritten = 1,     // a registry value (or, for /export, the script) could not be written
  kAdminUnreadable = 2,     // the settings file is missing or does not read as one
  kAdminInvalidPanel = 3,   // it reads, but Apply would refuse the panel it describes
};

// Reads the settings file at path as the main window loads Kestrel.cfg, and
// checks the panel it describes as Apply does, without a window: the running
// Windows and the settings Apply would write are in app afterwards. Nothing
// when they are ready, otherwise the exit code.
std::optional<int> PrepareSettingsFromFile(KestrelApp& app, const std::string& path);

// The bytes of the registry script of what Apply would write with
// app.CurrentSettings on this machine; nothing is written to the registry.
std::string MakeApplyScript(KestrelApp& app);

// Kestrel.exe /apply [FILE] and /export FILE (the switch in any case, the
// file optionally in quotes): apply the settings file silently through the
// undo record, or write the registry script of what Apply would change.
// Without a window, a restart or the tray monitor; they run before the
// single-copy check, as /undo does. Nothing for any other command line.
std::optional<int> RunAdminCommandLine(KestrelApp& app);

}  // namespace kestrel
