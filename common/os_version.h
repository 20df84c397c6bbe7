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

// The generations of the TCP/IP stack that read the tuned values differently.
// The code above lumps every NT after XP together; these tell Server 2003 and
// the stacks rewritten for Vista apart, where the values' meaning changed.
enum class WindowsEra {
  Unknown,          // no version, or one of neither family
  Windows95Family,  // 95, 98, ME
  Nt4ToXp,          // NT 4.0 (and older), 2000, XP
  Server2003,       // 5.2: Server 2003 and XP x64
  VistaAndLater,    // 6.0 on: Vista, 7, 8, 10, 11
};

WindowsEra ClassifyWindowsEra(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor);

WindowsVersion ClassifyWindowsVersion(std::uint32_t platformId, std::uint32_t major,
                                      std::uint32_t minor, std::uint32_t build);

// Asks the platform once and classifies the answer; era, when given, gets the
// stack's generation of the same answer.
WindowsVersion GetOSVersion(platform::VersionQuery& query, WindowsEra* era = nullptr);

inline bool IsWindows95Family(std::int16_t code) { return code >= 1 && code <= 4; }
inline bool IsNtFamily(std::int16_t code) { return code >= 5 && code <= 7; }

}  // namespace common
