#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/sockets.h"

namespace platform {

// The reply status of an echo that came back (IP_SUCCESS).
inline constexpr std::uint32_t kEchoSuccess = 0;

// One ICMP echo request at a time.
class IcmpEcho {
 public:
  virtual ~IcmpEcho() = default;
  // Sends one echo request with the payload and waits up to the timeout.
  // Returns the status of the reply record: kEchoSuccess when an echo came
  // back, else why not (timed out, unreachable, ...). Gives nothing when the
  // ICMP library or one of its entry points cannot be found.
  virtual std::optional<std::uint32_t> Echo(const Ipv4Address& address,
                                            std::span<const std::uint8_t> payload,
                                            std::uint32_t timeoutMs) = 0;
};

}  // namespace platform
