#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/ping.h"
#include "platform/icmp_echo.h"
#include "platform/sockets.h"

namespace doubles {

// A scripted socket library and ICMP echo. Every call goes into one log, in
// order: "start 257", "cleanup", "lookup NAME", "echo 10.0.0.1 1000" (the
// address and the timeout). By default the library starts as version 1.1
// with 32767 sockets, cleans up without error, knows no names, and every
// address answers.
class FakeNetwork : public platform::SocketLibrary, public platform::IcmpEcho {
 public:
  platform::SocketStartup startup{0, 0x0101, 32767};
  int cleanupResult = 0;
  // The names that have an answer, with their addresses in resolver order.
  std::map<std::string, std::vector<platform::Ipv4Address>> hosts;
  // Addresses whose echo ends with a status other than success.
  std::map<platform::Ipv4Address, std::uint32_t> echoStatus;
  // Operations whose library or entry point cannot be found: "start",
  // "cleanup", "lookup", "echo".
  std::set<std::string> missing;

  // When set, decides every echo's status from its payload size and flag,
  // before echoStatus: a path with a limit, a black hole, a flaky line.
  std::function<std::uint32_t(std::size_t size, bool dontFragment)> path;

  std::vector<std::string> calls;
  std::string lastPayload;
  // Every echo's payload size, and whether it carried the don't-fragment flag.
  std::vector<std::pair<std::size_t, bool>> echoes;

  std::optional<platform::SocketStartup> Start(std::uint16_t version) override {
    if (missing.count("start")) return std::nullopt;
    calls.push_back("start " + std::to_string(version));
    return startup;
  }
  std::optional<int> Cleanup() override {
    if (missing.count("cleanup")) return std::nullopt;
    calls.push_back("cleanup");
    return cleanupResult;
  }
  std::optional<std::vector<platform::Ipv4Address>> LookUpHost(const std::string& name) override {
    if (missing.count("lookup")) return std::nullopt;
    calls.push_back("lookup " + name);
    const auto found = hosts.find(name);
    if (found == hosts.end()) return std::vector<platform::Ipv4Address>{};
    return found->second;
  }
  std::optional<std::uint32_t> Echo(const platform::Ipv4Address& address,
                                    std::span<const std::uint8_t> payload,
                                    std::uint32_t timeoutMs, bool dontFragment) override {
    if (missing.count("echo")) return std::nullopt;
    calls.push_back("echo " + common::DottedText(address) + " " + std::to_string(timeoutMs));
    lastPayload.assign(payload.begin(), payload.end());
    echoes.emplace_back(payload.size(), dontFragment);
    if (path) return path(payload.size(), dontFragment);
    const auto status = echoStatus.find(address);
    return status == echoStatus.end() ? platform::kEchoSuccess : status->second;
  }
};

}  // namespace doubles
