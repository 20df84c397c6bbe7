#pragma once

#include <cstdint>

namespace platform {

// What the system reports about itself. A failed query leaves every field 0.
struct OsVersionInfo {
  std::uint32_t platformId = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};

class VersionQuery {
 public:
  virtual ~VersionQuery() = default;
  virtual OsVersionInfo QueryVersion() = 0;
};

}  // namespace platform
