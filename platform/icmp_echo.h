#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/sockets.h"

namespace platform {

// The reply status of an echo that came back (IP_SUCCESS).
inline constexpr std::uint32_t kEchoSuccess = 0;
// A router on the way would have had to fragment a packet that must not be
// (IP_PACKET_TOO_BIG).
inline constexpr std::uint32_t kEchoPacketTooBig = 11009;
// No reply within the timeout (IP_REQ_TIMED_OUT).
inline constexpr std::uint32_t kEchoTimedOut = 11010;

// One ICMP echo request at a time.
class IcmpEcho {
 public:
  virtual ~IcmpEcho() = default;
  // Sends one echo request with the payload and waits up to the timeout;
  // with dontFragment, routers must not split the packet on its way.
  // Returns the status of the reply record: kEchoSuccess when an echo came
  // back, else why not (timed out, unreachable, ...). Gives nothing when the
  // ICMP library or one of its entry points cannot be found.
  virtual std::optional<std::uint32_t> Echo(const Ipv4Address& address,
                                            std::span<const std::uint8_t> payload,
                                            std::uint32_t timeoutMs, bool dontFragment) = 0;
};

}  // namespace platform
