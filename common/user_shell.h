#pragma once

#include <string>

#include "platform/desktop_shell.h"
#include "platform/program_starter.h"
#include "platform/shell.h"

namespace common {

// Opens documents as the user. A program that runs elevated would hand its
// rights on to the browser or mail program it opens; through the desktop's
// shell they run as the user instead. Without a desktop shell to reach, or
// not elevated, the document opens directly.
class UserShell final : public platform::Shell {
 public:
  UserShell(platform::DesktopShell& desktop, platform::Shell& direct)
      : desktop_(desktop), direct_(direct) {}
  std::intptr_t Open(platform::WindowHandle owner, const std::string& document,
                     platform::ShowCode show) override;

 private:
  platform::DesktopShell& desktop_;
  platform::Shell& direct_;
};

// Starts a program (its full path, without arguments) as the user, in the
// same way; the direct start is the fallback. Returns the direct start's
// error, or 0.
unsigned long StartAsUser(platform::DesktopShell& desktop, platform::ProgramStarter& programs,
                          const std::string& program, platform::ShowCode show);

}  // namespace common
