#include "kestrel/startup.h"

#include "common/files.h"
#include "common/numbers.h"
#include "common/user_shell.h"
#include "kestrel/undo.h"
#include "kestrel/undo_record.h"

namespace kestrel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string NotANumberMessage(const std::string& text) {
  return "The command line \"" + text + "\" could not be read as a number.\r\n\r\n" +
         "Kestrel accepts no argument, or a number: 0 opens the main window, any other number "
         "only starts the tray monitor. /undo undoes every change by Kestrel, /apply [file] applies "
         "the saved settings, /export file writes them as a registry script.";
}

}  // namespace

std::string CommandLineArguments(const std::string& commandLine) {
  std::size_t i = 0;
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  if (i < commandLine.size() && commandLine[i] == '"') {
    const std::size_t closing = commandLine.find('"', i + 1);
    i = closing == std::string::npos ? commandLine.size() : closing + 1;
  }
  // An unquoted name, or anything glued to the closing quote, runs to the first blank.
  while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  return commandLine.substr(i);
}

void StartTidewatch(KestrelApp& app) {
  const std::string monitor = common::ProgramFile(app.ProgramDirectory(), "\\Tidewatch.exe");
  if (!common::FileExists(app.platform.files, monitor)) return;
  // Kestrel runs elevated; the monitor runs as the user, as at logon.
  common::StartAsUser(app.platform.desktop, app.platform.programs, monitor,
                      platform::ShowCode::Hidden);
}

std::optional<int> RunUndoCommandLine(KestrelApp& app) {
  const std::string arguments = CommandLineArguments(app.platform.environment.CommandLine());
  if (!common::SameTextIgnoringCase(common::TrimBlanks(arguments), "/undo")) return std::nullopt;
  return UndoExitCode(UndoChanges(app.platform.registry, app.platform.files,
                                  UndoRecordPath(app.ProgramDirectory())));
}

StartupAction RunStartup(KestrelApp& app) {
  if (app.platform.instance.AnotherInstanceRunning()) return StartupAction::Exit;

  const std::string arguments = CommandLineArguments(app.platform.environment.CommandLine());
  if (common::TrimBlanks(arguments).empty()) return StartupAction::OpenMainWindow;

  const auto number = common::ReadWholeNumber(arguments);
  if (!number) {
    app.platform.messages.Show(NotANumberMessage(arguments), kProgramTitle,
                               platform::MessageButtons::Ok, platform::MessageIcon::Information);
    return StartupAction::Exit;
  }
  if (*number != 0) {
    StartTidewatch(app);
    return StartupAction::Exit;
  }
  return StartupAction::OpenMainWindowNormal;
}

}  // namespace kestrel
