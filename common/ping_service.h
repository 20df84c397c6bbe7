#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/icmp_echo.h"
#include "platform/message_box.h"
#include "platform/sockets.h"
#include "platform/worker.h"

namespace common {

// Keep-alive pings that wait on the network off the window's thread. Each
// ping is KeepAlivePing on the worker; the socket library's messages it
// would show are kept and shown afterwards on the window's thread, one at a
// time and never one inside another, and then the ping's done runs there.
// Pings finish in the order they were started.
class PingService {
 public:
  using Id = std::uint64_t;
  // elapsedMs: how long the ping took, lookup included.
  using Done = std::function<void(bool echoed, std::uint32_t elapsedMs)>;

  PingService(platform::Worker& worker, platform::Clock& clock, platform::SocketLibrary& sockets,
              platform::IcmpEcho& icmp, platform::MessageBoxes& messages, std::string title);
  // Whatever the worker still delivers afterwards is dropped.
  ~PingService();
  PingService(const PingService&) = delete;
  PingService& operator=(const PingService&) = delete;

  // Starts one echo to host (dotted text or a name) that waits at most
  // timeoutMs. done may be empty.
  Id Ping(const std::string& host, std::int32_t timeoutMs, Done done);
  // The ping's messages are not shown and its done never runs; one that has
  // not started yet sends nothing.
  void Cancel(Id id);
  void CancelAll();
  // True from Ping until its done has returned (or it was cancelled),
  // including while one of its messages is open.
  bool Pending(Id id) const;
  // True while any ping that was not cancelled is pending. A timer that pings
  // skips its tick then, so that a failing socket library's messages do not
  // pile up behind each other.
  bool Busy() const;

 private:
  struct Core;
  std::shared_ptr<Core> core_;
};

}  // namespace common
