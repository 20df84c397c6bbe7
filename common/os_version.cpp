#include "common/os_version.h"

namespace common {
namespace {

constexpr std::uint32_t kPlatformWindows = 1;  // the Windows 95 family
constexpr std::uint32_t kPlatformNt = 2;

WindowsVersion Unrecognised() { return {"Windows 32", 1}; }

// Every NT version after XP is an NT-family system too: it gets code 7 so the
// NT branches apply, and a name the user recognises.
WindowsVersion NewerNt(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  constexpr std::int16_t kNtCode = 7;
  if (major == 5 && minor == 2) return {"Windows Server 2003", kNtCode};
  if (major == 6) {
    switch (minor) {
      case 0: return {"Windows Vista", kNtCode};
      case 1: return {"Windows 7", kNtCode};
      case 2: return {"Windows 8", kNtCode};
      case 3: return {"Windows 8.1", kNtCode};
      default: break;
    }
  }
  if (major == 10 && minor == 0) {
    return {build >= 22000 ? "Windows 11" : "Windows 10", kNtCode};
  }
  return {"Windows NT " + std::to_string(major) + "." + std::to_string(minor), kNtCode};
}

}  // namespace

WindowsVersion ClassifyWindowsVersion(std::uint32_t platformId, std::uint32_t major,
                                      std::uint32_t minor, std::uint32_t build) {
  if (platformId == kPlatformWindows) {
    // The major version of this family is not examined.
    switch (minor) {
      case 0: return {"Windows 95", 2};
      case 10: return {"Windows 98", 3};
      case 90: return {"Windows ME", 4};
      default: return Unrecognised();
    }
  }
  if (platformId == kPlatformNt) {
    if (major < 5) return {"Windows NT", 5};
    if (major == 5 && minor == 0) return {"Windows 2000", 6};
    if (major == 5 && minor == 1) return {"Windows XP", 7};
    return NewerNt(major, minor, build);
  }
  return Unrecognised();
}

WindowsEra ClassifyWindowsEra(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor) {
  if (platformId == kPlatformWindows) return WindowsEra::Windows95Family;
  if (platformId != kPlatformNt || major == 0) return WindowsEra::Unknown;
  if (major < 5 || (major == 5 && minor <= 1)) return WindowsEra::Nt4ToXp;
  if (major == 5) return WindowsEra::Server2003;
  return WindowsEra::VistaAndLater;
}

WindowsVersion GetOSVersion(platform::VersionQuery& query, WindowsEra* era) {
  const platform::OsVersionInfo info = query.QueryVersion();
  if (era) *era = ClassifyWindowsEra(info.platformId, info.major, info.minor);
  return ClassifyWindowsVersion(info.platformId, info.major, info.minor, info.build);
}

}  // namespace common
