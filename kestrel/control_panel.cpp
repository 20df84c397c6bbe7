#include "kestrel/control_panel.h"

#include "common/os_version.h"
#include "kestrel/user_messages.h"

namespace kestrel {
namespace {

const std::string kRunApplet = "rundll32.exe shell32.dll,Control_RunDLL ";

bool StartPage(KestrelApp& app, const std::string& commandLine) {
  if (app.platform.programs.Start(commandLine, platform::ShowCode::Show) == 0) return true;
  TellNotStarted(app, commandLine);
  return false;
}

}  // namespace

std::string InternetOptionsCommand() {
  return kRunApplet + "inetcpl.cpl,,0";
}

std::string SystemOptionsCommand() {
  return kRunApplet + "sysdm.cpl,,0";
}

std::string ModemOptionsCommand(std::int16_t osCode) {
  constexpr std::int16_t kWindows2000 = 6;
  return kRunApplet + (osCode >= kWindows2000 ? "telephon.cpl" : "modem.cpl");
}

std::optional<std::string> NetworkOptionsCommand(std::int16_t osCode) {
  if (common::IsWindows95Family(osCode)) return kRunApplet + "netcpl.cpl";
  if (common::IsNtFamily(osCode)) return kRunApplet + "ncpa.cpl";
  return std::nullopt;
}

bool OpenInternetOptions(KestrelApp& app) {
  return StartPage(app, InternetOptionsCommand());
}

bool OpenModemOptions(KestrelApp& app) {
  return StartPage(app, ModemOptionsCommand(app.OSCode));
}

bool OpenSystemOptions(KestrelApp& app) {
  return StartPage(app, SystemOptionsCommand());
}

bool OpenNetworkOptions(KestrelApp& app) {
  const auto command = NetworkOptionsCommand(app.OSCode);
  return command && StartPage(app, *command);
}

}  // namespace kestrel
