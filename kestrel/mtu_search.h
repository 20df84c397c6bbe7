#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/ping_settings.h"
#include "platform/icmp_echo.h"
#include "platform/sockets.h"
#include "platform/worker.h"

namespace kestrel {

// An Ethernet frame carries 1500 bytes of IP packet; an echo adds 20 bytes of
// IP header and 8 of ICMP header to its payload.
inline constexpr int kLargestEchoPayload = 1472;
inline constexpr int kEchoHeaderBytes = 28;
// The first echo only shows that the host answers at all.
inline constexpr int kBaselinePayload = 64;
inline constexpr std::uint32_t kProbeTimeoutMs = 1000;
// Timeouts in a row at one size before it counts as too big: a router that
// drops big packets silently looks like this.
inline constexpr int kProbeTries = 3;

enum class MtuOutcome {
  Running,
  Found,        // the largest payload and the one above it were checked again
  FullFrame,    // everything up to a full frame got through
  NoAnswer,     // the host does not answer small echoes
  NothingFits,  // not even an empty echo got through unfragmented
  Unsteady,     // the check at the end disagreed with the search
  Failed,       // an echo ended with some other error
  NoHost,       // the host could not be found
  Cancelled,
};

// Finds the largest echo payload that crosses the path to a host with the
// don't-fragment flag, by binary search. Every echo is one job on the
// worker; its answer is taken on the window's thread, which decides the next
// one. Cancel drops the answer of the echo under way, so the search ends at
// once and the worker is free again within one echo's timeout.
// The host the measurement starts with: the one the keep-alive ping uses.
std::string MtuFinderHost(const common::PingSettings& settings);

class MtuSearch {
 public:
  // Runs on the window's thread after every answer and at the end.
  using Changed = std::function<void()>;

  MtuSearch(platform::Worker& worker, platform::SocketLibrary& sockets, platform::IcmpEcho& icmp);
  ~MtuSearch();
  MtuSearch(const MtuSearch&) = delete;
  MtuSearch& operator=(const MtuSearch&) = delete;

  // Starts a new search; one still running is cancelled first.
  void Start(const std::string& host, Changed changed);
  void Cancel();

  bool Running() const;
  MtuOutcome Outcome() const;
  // One line per answer: "1472 bytes: too big".
  const std::vector<std::string>& Lines() const;
  // What the search found, or why it found nothing; empty while running.
  const std::string& Result() const;
  // The MTU found (Found, FullFrame).
  std::optional<int> Mtu() const;
  // Answers so far, and a guess at how many a search takes, for a progress
  // bar: Done() stays below Expected() until the search ends.
  int Done() const;
  static constexpr int Expected() { return 14; }

 private:
  struct Core;
  std::shared_ptr<Core> core_;
};

}  // namespace kestrel
