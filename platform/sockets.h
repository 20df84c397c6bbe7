#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// An IPv4 address as its four bytes in network order: 192.168.0.1 is
// {192, 168, 0, 1}, the first byte lowest in memory.
using Ipv4Address = std::array<std::uint8_t, 4>;

// What the socket library reports when it starts.
struct SocketStartup {
  int result = 0;  // 0 when the library started, else its error code
  // The version granted: major in the low byte, minor in the high byte.
  std::uint16_t version = 0;
  std::uint16_t maxSockets = 0;  // how many sockets the library offers
};

// The socket library: its start-up and clean-up, which come in pairs, and the
// IPv4 name lookup. Every operation gives nothing when the library or its
// entry point cannot be found; it has then done nothing.
class SocketLibrary {
 public:
  virtual ~SocketLibrary() = default;
  // Starts the library, asking for a version (major in the low byte).
  virtual std::optional<SocketStartup> Start(std::uint16_t version) = 0;
  // Ends one start; 0 on success, else the library's error code.
  virtual std::optional<int> Cleanup() = 0;
  // All IPv4 addresses of a name, in the order the resolver gives them;
  // empty when the name has no answer.
  virtual std::optional<std::vector<Ipv4Address>> LookUpHost(const std::string& name) = 0;
};

}  // namespace platform
