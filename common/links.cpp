#include "common/links.h"

#include "common/files.h"

#ifndef KESTREL_WEB_SITE_HOST
#error "KESTREL_WEB_SITE_HOST comes from the build (a CMake cache variable)"
#endif
#ifndef KESTREL_SUPPORT_ADDRESS
#error "KESTREL_SUPPORT_ADDRESS comes from the build (a CMake cache variable)"
#endif

namespace common {

std::string WebSiteAddress() { return std::string("http://") + KESTREL_WEB_SITE_HOST + "/"; }

std::string SupportMailAddress() { return std::string("mailto:") + KESTREL_SUPPORT_ADDRESS; }

void OpenHelpFile(platform::Shell& shell, platform::WindowHandle owner,
                  const std::string& programDirectory) {
  shell.Open(owner, ProgramFile(programDirectory, "\\Help\\help.htm"), platform::ShowCode::Normal);
}

void OpenWebSite(platform::Shell& shell, platform::WindowHandle owner) {
  shell.Open(owner, WebSiteAddress(), platform::ShowCode::Normal);
}

void SendEmail(platform::Shell& shell, platform::WindowHandle owner) {
  shell.Open(owner, SupportMailAddress(), platform::ShowCode::Show);
}

}  // namespace common
