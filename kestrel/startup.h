#pragma once

#include <optional>
#include <string>

#include "kestrel/kestrel_app.h"

namespace kestrel {

// What the entry point does after the start-up checks.
enum class StartupAction {
  Exit,                  // nothing more: another copy runs, or only the monitor was started
  OpenMainWindow,        // no command line
  OpenMainWindowNormal,  // command line 0: open, then set the normal window state
};

// The text that follows the program's own name on a command line, without the
// blanks between them.
std::string CommandLineArguments(const std::string& commandLine);

// Starts the tray monitor of the program directory with a hidden window. A
// monitor that is not installed beside the program is not started.
void StartTidewatch(KestrelApp& app);

// The start-up checks in their order: one copy only, then the command line.
StartupAction RunStartup(KestrelApp& app);

// Kestrel.exe /undo (in any case): undoes every change by Kestrel without a
// window or a question and gives the process's exit code. It runs before the
// start-up checks, because an uninstaller must be able to undo while a copy
// of Kestrel is open. Nothing for any other command line.
std::optional<int> RunUndoCommandLine(KestrelApp& app);

}  // namespace kestrel
