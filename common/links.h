#pragma once

#include <string>

#include "platform/shell.h"

namespace common {

// The product's web site and support address, set when the program is built.
std::string WebSiteAddress();  // "http://" + host + "/"
std::string SupportMailAddress();  // "mailto:" + address

// The user's guide, the web site and a new e-mail to support, opened through
// the shell. Their results are not examined: a missing guide or a system
// without a browser or mail program leaves the command without effect.
void OpenHelpFile(platform::Shell& shell, platform::WindowHandle owner,
                  const std::string& programDirectory);
void OpenWebSite(platform::Shell& shell, platform::WindowHandle owner);
void SendEmail(platform::Shell& shell, platform::WindowHandle owner);

}  // namespace common
