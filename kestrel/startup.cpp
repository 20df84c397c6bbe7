#include "kestrel/startup.h"

#include <cmath>
#include <cstdlib>

#include "common/files.h"

namespace kestrel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool IsDecimal(const std::string& s) {
  // Optional sign, digits with at most one decimal point, optional exponent.
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool digits = false;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      digits = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t exponentStart = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    if (i == exponentStart) return false;
  }
  return i == s.size();
}

std::string NotANumberMessage(const std::string& text) {
  return "The command line \"" + text + "\" could not be read as a number.\r\n\r\n" +
         "Kestrel accepts no argument, or a number: 0 opens the main window, any other number "
         "only starts the tray monitor.";
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

std::optional<long long> ReadCommandLineNumber(const std::string& text) {
  const std::string number = Trimmed(text);
  if (!IsDecimal(number)) return std::nullopt;
  // A number too small for a double reads as (nearly) 0 and is no error,
  // although strtod reports it as out of range; only the value decides.
  const double value = std::strtod(number.c_str(), nullptr);
  // Far beyond any real argument; refusing it keeps the rounding exact.
  if (!std::isfinite(value) || std::fabs(value) > 1e15) return std::nullopt;
  // Halves go to the even neighbour, as the system's own conversion does.
  return static_cast<long long>(std::nearbyint(value));
}

void StartTidewatch(KestrelApp& app) {
  const std::string monitor = common::ProgramFile(app.ProgramDirectory(), "\\Tidewatch.exe");
  if (!common::FileExists(app.platform.files, monitor)) return;
  app.platform.programs.Start("\"" + monitor + "\"", platform::ShowCode::Hidden);
}

StartupAction RunStartup(KestrelApp& app) {
  if (app.platform.instance.AnotherInstanceRunning()) return StartupAction::Exit;

  const std::string arguments = CommandLineArguments(app.platform.environment.CommandLine());
  if (Trimmed(arguments).empty()) return StartupAction::OpenMainWindow;

  const auto number = ReadCommandLineNumber(arguments);
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
