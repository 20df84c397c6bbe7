#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "kestrel/kestrel_app.h"

namespace kestrel {

// The command lines of the Windows control-panel pages.
std::string InternetOptionsCommand();
std::string SystemOptionsCommand();
// The modem page became part of "Phone and Modem Options" with Windows 2000.
std::string ModemOptionsCommand(std::int16_t osCode);
// Nothing for a code that names no known Windows family.
std::optional<std::string> NetworkOptionsCommand(std::int16_t osCode);

// Each starts its control-panel page as a program, showing its window and
// not waiting for it. A page that cannot be started is reported, and the
// program runs on. True when the page was started.
bool OpenInternetOptions(KestrelApp& app);
bool OpenModemOptions(KestrelApp& app);
bool OpenSystemOptions(KestrelApp& app);
bool OpenNetworkOptions(KestrelApp& app);

}  // namespace kestrel
