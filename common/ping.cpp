#include "common/ping.h"

#include <algorithm>
#include <string_view>

#include "common/numbers.h"

namespace common {

namespace {

constexpr std::uint16_t kRequestedSocketsVersion = 0x0101;  // 1.1, major in the low byte
constexpr int kMinimumSockets = 1;
// The echo's data: the text without its terminating zero.
constexpr std::string_view kEchoPayload = "Echo This";

template <typename T>
T Available(std::optional<T> result) {
  if (!result) throw PingError("a platform library or entry point cannot be found");
  return *std::move(result);
}

void ShowSocketsMessage(PingServices& services, const std::string& text,
                        platform::MessageIcon icon) {
  services.messages.Show(text, services.title, platform::MessageButtons::Ok, icon);
}

}  // namespace

std::string DottedText(const platform::Ipv4Address& address) {
  std::string text;
  for (const auto byte : address) {
    if (!text.empty()) text += '.';
    text += std::to_string(byte);
  }
  return text;
}

bool StartSockets(PingServices& services) {
  const platform::SocketStartup started =
      Available(services.sockets.Start(kRequestedSocketsVersion));
  if (started.result != 0) {
    ShowSocketsMessage(services,
                       "Windows Sockets for 32 bit Windows environments is not successfully "
                       "responding.",
                       platform::MessageIcon::None);
    return false;
  }
  // A library that started but cannot serve us is ended again at once: the
  // monitor asks every 30 s, and each start it leaves open would stay.
  const auto refuse = [&services](const std::string& text) {
    ShowSocketsMessage(services, text, platform::MessageIcon::Exclamation);
    services.sockets.Cleanup();
    return false;
  };
  const unsigned major = started.version & 0xFFu;
  const unsigned minor = started.version >> 8;
  if (major < 1 || (major == 1 && minor < 1)) {
    return refuse("Windows Sockets Version " + std::to_string(major) + "." +
                  std::to_string(minor) +
                  " is not supported by Windows Sockets for 32 bit Windows environments.");
  }
  if (started.maxSockets < kMinimumSockets) {
    return refuse("This application requires a minimum of 1 supported sockets.");
  }
  return true;
}

void StopSockets(PingServices& services) {
  const int result = Available(services.sockets.Cleanup());
  if (result != 0) {
    ShowSocketsMessage(services,
                       "Windows Sockets error " + std::to_string(result) + " occurred in Cleanup.",
                       platform::MessageIcon::Exclamation);
  }
}

std::optional<std::vector<std::string>> ResolveHostAddresses(PingServices& services,
                                                             const std::string& name) {
  if (!StartSockets(services)) return std::nullopt;
  std::vector<std::string> texts;
  const auto addresses = services.sockets.LookUpHost(name);
  StopSockets(services);
  for (const auto& address : Available(addresses)) texts.push_back(DottedText(address));
  return texts;
}

std::optional<platform::Ipv4Address> ParseDottedAddress(PingServices& services,
                                                        const std::string& text) {
  if (text.find('.') == std::string::npos) {
    const auto addresses = Available(services.sockets.LookUpHost(text));
    if (addresses.empty()) return std::nullopt;
    return addresses.front();
  }
  // Only an address somebody typed is pinged: a part out of range is not
  // folded into a byte, and missing parts do not stand for 0.
  platform::Ipv4Address address{};
  std::string_view rest = text;
  for (std::size_t i = 0; i < address.size(); ++i) {
    const auto dot = rest.find('.');
    const bool last = i + 1 == address.size();
    if (last != (dot == std::string_view::npos)) {
      throw PingError("a dotted address needs exactly four parts");
    }
    const auto value = ReadDigits(rest.substr(0, dot), 255);
    if (!value || *value > 255) throw PingError("an address part is not a number from 0 to 255");
    address[i] = static_cast<std::uint8_t>(*value);
    if (!last) rest.remove_prefix(dot + 1);
  }
  return address;
}

void SendEcho(PingServices& services, const std::string& address, EchoReply& reply,
              std::int32_t timeoutMs) {
  // Converted before anything is opened, so that bad text sends nothing.
  const auto destination = ParseDottedAddress(services, address);
  if (!destination) {
    reply.status = kEchoNoAddress;
    return;
  }
  const auto* payload = reinterpret_cast<const std::uint8_t*>(kEchoPayload.data());
  // A negative wait would read as some 49 days to the echo call.
  const auto timeout = static_cast<std::uint32_t>(std::max<std::int32_t>(timeoutMs, 0));
  reply.status =
      Available(services.icmp.Echo(*destination, {payload, kEchoPayload.size()}, timeout, false));
}

bool KeepAlivePing(PingServices& services, const std::string& host, std::int32_t timeoutMs) {
  const PingServices::Running running(services);
  if (TrimBlanks(host).empty()) return false;
  try {
    if (!StartSockets(services)) return false;
  } catch (const PingError&) {
    return false;
  }
  // From here on the library is started, and every way out ends it once:
  // offline, every check ends at a name without an answer.
  bool echoed = false;
  try {
    // A name is looked up first; dotted numbers, and names without any ".",
    // go to the echo as they are.
    std::string target = host;
    const auto dot = host.find('.');
    bool found = true;
    if (dot != std::string::npos && !ReadDigits(std::string_view(host).substr(0, dot), 255)) {
      const auto addresses = ResolveHostAddresses(services, host);
      found = addresses && !addresses->empty();
      if (found) target = addresses->front();
    }
    if (found) {
      EchoReply reply;
      SendEcho(services, target, reply, timeoutMs);
      echoed = reply.status == platform::kEchoSuccess;
    }
  } catch (const PingError&) {
    echoed = false;
  }
  try {
    StopSockets(services);
  } catch (const PingError&) {
    return false;
  }
  return echoed;
}

}  // namespace common
