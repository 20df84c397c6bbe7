#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/icmp_echo.h"
#include "platform/message_box.h"
#include "platform/sockets.h"

namespace common {

// What the keep-alive ping needs of the platform, and the title its messages
// carry. A program makes one for its whole run and hands it to every ping.
struct PingServices {
  PingServices(platform::SocketLibrary& socketLibrary, platform::IcmpEcho& icmpEcho,
               platform::MessageBoxes& messageBoxes, std::string programTitle)
      : sockets(socketLibrary),
        icmp(icmpEcho),
        messages(messageBoxes),
        title(std::move(programTitle)) {}
  // One per program: the running count below must not be split over copies.
  PingServices(const PingServices&) = delete;
  PingServices& operator=(const PingServices&) = delete;

  platform::SocketLibrary& sockets;
  platform::IcmpEcho& icmp;
  platform::MessageBoxes& messages;
  const std::string title;  // "Kestrel" or "Tidewatch"

  // True while a KeepAlivePing over these services runs, including while one
  // of its messages is open, and while Ping Now runs, including its yield
  // points. A message box runs its own message loop, so timer ticks still
  // arrive then; a timer that pings skips its tick while this is set, so that
  // messages of a failing socket library cannot pile up.
  bool PingRunning() const { return running_ > 0; }

  // Counts one ping as running for as long as the object lives.
  class Running {
   public:
    explicit Running(PingServices& services) : count_(services.running_) { ++count_; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    ~Running() { --count_; }

   private:
    int& count_;
  };

 private:
  int running_ = 0;
};

// Sends one ICMP echo request to host (dotted IPv4 text or a host name) and
// waits at most timeoutMs. True when an echo came back. Every call starts the
// socket library and cleans it up again, on every way out; its problems are
// told in messages, every time. Text that is no address, a name without an
// answer and a missing platform library give false without a message.
bool KeepAlivePing(PingServices& services, const std::string& host, std::int32_t timeoutMs);

// The steps of KeepAlivePing. They throw PingError where the ping must end at
// once, without a message: text that is not an address, or a platform library
// or entry point that cannot be found. KeepAlivePing still cleans up after it.
class PingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The outcome of one echo; zero-filled (kEchoSuccess) before it is sent.
struct EchoReply {
  std::uint32_t status = platform::kEchoSuccess;
};

// The status of an echo that was not sent, because a name had no address.
inline constexpr std::uint32_t kEchoNoAddress = 11018;  // IP_BAD_DESTINATION

// Echoes to address (dotted text, or a name without any "."), with the
// payload "Echo This".
void SendEcho(PingServices& services, const std::string& address, EchoReply& reply,
              std::int32_t timeoutMs);

// Dotted text must have exactly four parts, each a whole number from 0 to
// 255 (blanks around it allowed); anything else throws. Text without any "."
// is looked up as a name: its first address, or nothing without an answer.
std::optional<platform::Ipv4Address> ParseDottedAddress(PingServices& services,
                                                        const std::string& text);

// The addresses of a name as dotted texts, in the resolver's order; empty
// when the name has no answer; nothing when the socket library did not start.
std::optional<std::vector<std::string>> ResolveHostAddresses(PingServices& services,
                                                             const std::string& name);

// Starts the socket library asking for version 1.1, and checks the version
// and the number of sockets it offers. A refusal is told in a message and
// gives false; a library that started with a bad version or capacity is
// cleaned up again at once, silently.
bool StartSockets(PingServices& services);

// Cleans the socket library up once; a failure is told in a message.
void StopSockets(PingServices& services);

// An address as four decimal numbers joined by ".": 192.168.0.1.
std::string DottedText(const platform::Ipv4Address& address);

}  // namespace common
