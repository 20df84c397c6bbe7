#pragma once

#include <cstdint>

namespace platform {

// The process token and the restart request.
class SystemRestart {
 public:
  virtual ~SystemRestart() = default;
  // Opens the own process token with adjust and query access, looks up
  // "SeShutdownPrivilege" on the local computer and enables exactly that
  // privilege. Returns whether every step succeeded.
  virtual bool EnableShutdownPrivilege() = 0;
  // Asks the system to end the session; returns the system's result.
  virtual int EndSession(std::uint32_t flags, std::uint32_t reason) = 0;
};

}  // namespace platform
