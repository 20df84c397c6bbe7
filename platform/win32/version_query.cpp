#include "platform/win32/adapters.h"

namespace platform::win32 {

OsVersionInfo Win32VersionQuery::QueryVersion() {
  // The 8-bit record, zero-filled with its size set, so that a failed query
  // reads as platform 0.
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&info);
#pragma GCC diagnostic pop
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

}  // namespace platform::win32
