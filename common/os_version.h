#pragma once

#include <cstdint>
#include <string>

#include "platform/version_query.h"

namespace common {

// The running Windows as the programs show and branch on it: codes 1 to 4 are
// handled as the Windows 95 family, 5 to 7 as the NT family.
struct WindowsVersion {
  std::string name;
  std::int16_t code = 1;
};

WindowsVersion ClassifyWindowsVersion(std::uint32_t platformId, std::uint32_t major,
                                      std::uint32_t minor, std::uint32_t build);

// Asks the platform once and classifies the answer.
WindowsVersion GetOSVersion(platform::VersionQuery& query);

inline bool IsWindows95Family(std::int16_t code) { return code >= 1 && code <= 4; }
inline bool IsNtFamily(std::int16_t code) { return code >= 5 && code <= 7; }

}  // namespace common
