#include "common/user_shell.h"

namespace common {

namespace {

// What the shell's "open" answers for a start it took.
constexpr std::intptr_t kOpened = 42;

}  // namespace

std::intptr_t UserShell::Open(platform::WindowHandle owner, const std::string& document,
                              platform::ShowCode show) {
  if (desktop_.RunsElevated() && desktop_.OpenAsDesktop(document, "", show)) return kOpened;
  return direct_.Open(owner, document, show);
}

unsigned long StartAsUser(platform::DesktopShell& desktop, platform::ProgramStarter& programs,
                          const std::string& program, platform::ShowCode show) {
  if (desktop.RunsElevated() && desktop.OpenAsDesktop(program, "", show)) return 0;
  return programs.Start("\"" + program + "\"", show);
}

}  // namespace common
