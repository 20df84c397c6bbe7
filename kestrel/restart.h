#pragma once

#include "platform/system_restart.h"

namespace kestrel {

inline constexpr std::uint32_t kRestartFlags = 2;  // restart, nothing forced
inline constexpr std::uint32_t kRestartReason = 0xFFFFFFFF;

// Enables the shutdown privilege, then asks the system to restart; running
// programs are asked to close in the ordinary way. Returns the system's result.
int RestartWindows(platform::SystemRestart& restart);

}  // namespace kestrel
