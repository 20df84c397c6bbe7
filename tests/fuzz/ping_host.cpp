// The host of a keep-alive ping: any text a user can type into the ping
// dialog or another program can leave in Ping.cfg, pinged over a socket
// library and an echo that record every call.
//
// Only text that reads as an address, or a name with an answer, reaches the
// echo, and then exactly that address; the library is started and cleaned up
// in pairs where the ping promises it; and only an echo that came back is a
// success, whatever state the library is in.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ping.h"
#include "tests/doubles/fake_network.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/input_mixer.h"

namespace {

using platform::Ipv4Address;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Decimal digits and nothing else, blanks around them allowed.
bool IsWholeNumber(std::string_view text) {
  text = Trim(text);
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](char c) { return c >= '0' && c <= '9'; });
}

// What a person types as an address: four whole numbers from 0 to 255
// joined by ".", blanks allowed around each.
std::optional<Ipv4Address> StrictDottedQuad(std::string_view text) {
  Ipv4Address address{};
  for (std::size_t i = 0; i < address.size(); ++i) {
    const std::size_t dot = text.find('.');
    if ((i + 1 == address.size()) != (dot == std::string_view::npos)) return std::nullopt;
    const std::string_view part = Trim(text.substr(0, dot));
    if (!IsWholeNumber(part)) return std::nullopt;
    const std::size_t first = std::min(part.find_first_not_of('0'), part.size() - 1);
    const std::string_view significant = part.substr(first);
    if (significant.size() > 3 || std::stoi(std::string(significant)) > 255) return std::nullopt;
    address[i] = static_cast<std::uint8_t>(std::stoi(std::string(significant)));
    text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
  }
  return address;
}

// One world the ping may meet.
struct Scenario {
  std::vector<Ipv4Address> answer;  // what a lookup of the host gives
  std::uint32_t echoStatus = platform::kEchoSuccess;
  std::int32_t timeout = 1000;
  platform::SocketStartup startup{0, 0x0101, 32767};
  int cleanupResult = 0;
  const char* missing = nullptr;  // an operation whose library cannot be found
  // Whether the library has nothing to report; a missing one reports nothing either.
  bool Quiet() const {
    return startup.result == 0 && startup.version == 0x0101 && startup.maxSockets > 0 &&
           cleanupResult == 0;
  }
};

std::string EchoCall(const Ipv4Address& address, std::int32_t timeout) {
  return "echo " + common::DottedText(address) + " " +
         std::to_string(std::max<std::int32_t>(timeout, 0));
}

// The calls a ping of host makes over a library that works, and the address
// it echoes to, if any: blank text does nothing; a dotted text whose first
// part is no number is a name, looked up in a start of its own; other dotted
// text must be an address; text without a "." is a name looked up by the echo.
// Whatever happens after the start, the library is ended again.
struct Expected {
  std::vector<std::string> calls;
  std::optional<Ipv4Address> echoed;
};

Expected ExpectedPing(const std::string& host, const Scenario& s) {
  Expected e;
  if (Trim(host).empty()) return e;
  e.calls.push_back("start 257");
  const std::size_t dot = host.find('.');
  if (dot == std::string::npos) {
    e.calls.push_back("lookup " + host);
    if (!s.answer.empty()) e.echoed = s.answer.front();
  } else if (!IsWholeNumber(std::string_view(host).substr(0, dot))) {
    e.calls.insert(e.calls.end(), {"start 257", "lookup " + host, "cleanup"});
    if (!s.answer.empty()) e.echoed = s.answer.front();
  } else {
    e.echoed = StrictDottedQuad(host);
  }
  if (e.echoed) e.calls.push_back(EchoCall(*e.echoed, s.timeout));
  e.calls.push_back("cleanup");
  return e;
}

struct Outcome {
  bool result;
  std::vector<std::string> calls;
  std::vector<doubles::RecordingMessageBoxes::Shown> shown;
  std::string payload;
};

Outcome Ping(const std::string& host, const Scenario& s) {
  doubles::FakeNetwork net;
  net.startup = s.startup;
  net.cleanupResult = s.cleanupResult;
  if (!s.answer.empty()) net.hosts[host] = s.answer;
  // Every address the ping could reach answers alike.
  for (const auto& address : s.answer) net.echoStatus[address] = s.echoStatus;
  if (const auto address = StrictDottedQuad(host)) net.echoStatus[*address] = s.echoStatus;
  if (s.missing) net.missing.insert(s.missing);
  doubles::RecordingMessageBoxes messages;
  common::PingServices services(net, net, messages, "Tidewatch");
  const bool result = common::KeepAlivePing(services, host, s.timeout);
  // The count that keeps a timer from pinging again must be back to rest.
  FUZZ_CHECK(!services.PingRunning());
  return {result, net.calls, messages.shown, net.lastPayload};
}

std::vector<Ipv4Address> Answer(InputMixer& m) {
  static constexpr Ipv4Address kEdges[] = {{0, 0, 0, 0}, {255, 255, 255, 255}, {127, 0, 0, 1}};
  std::vector<Ipv4Address> answer(1 + m.Next() % 3);
  for (auto& address : answer) {
    const std::uint64_t n = m.Next();
    address = n % 4 == 0 ? kEdges[(n >> 8) % std::size(kEdges)]
                         : Ipv4Address{static_cast<std::uint8_t>(n >> 8),
                                       static_cast<std::uint8_t>(n >> 16),
                                       static_cast<std::uint8_t>(n >> 24),
                                       static_cast<std::uint8_t>(n >> 32)};
  }
  return answer;
}

// The library failing in one of the ways it can: refusing to start, too old,
// without sockets, failing its clean-up, or missing an entry point.
Scenario Broken(InputMixer& m) {
  Scenario s;
  s.answer = m.Next() % 2 ? Answer(m) : std::vector<Ipv4Address>{};
  switch (m.Next() % 5) {
    case 0:
      s.startup.result = 10091;
      break;
    case 1:
      s.startup.version = m.Pick({std::uint16_t{0x0001}, std::uint16_t{0x0100},
                                  std::uint16_t{0x0000}});
      break;
    case 2:
      s.startup.maxSockets = 0;
      break;
    case 3:
      s.cleanupResult = m.Pick({-1, 10093, 1});
      break;
    default:
      s.missing = m.Pick({"start", "cleanup", "lookup", "echo"});
  }
  return s;
}

// Ping the host over a working library and compare with what the host rules say.
void CheckHealthy(const std::string& host, const Scenario& s) {
  const Outcome got = Ping(host, s);
  const Expected want = ExpectedPing(host, s);
  FUZZ_CHECK(got.calls == want.calls);
  FUZZ_CHECK(got.shown.empty());
  FUZZ_CHECK(got.result == (want.echoed && s.echoStatus == platform::kEchoSuccess));
  if (want.echoed) FUZZ_CHECK(got.payload == "Echo This");
}

// Over a failing library the ping may stop earlier, never go further: no
// echo that a working library would not send, and never success without an
// echo that came back.
void CheckBroken(const std::string& host, const Scenario& s) {
  const Outcome got = Ping(host, s);
  const Expected want = ExpectedPing(host, s);
  // A refused library is ended at once, so compare the rest of the calls.
  const auto withoutCleanups = [](std::vector<std::string> calls) {
    std::erase(calls, std::string("cleanup"));
    return calls;
  };
  const auto gotCalls = withoutCleanups(got.calls);
  const auto wantCalls = withoutCleanups(want.calls);
  FUZZ_CHECK(gotCalls.size() <= wantCalls.size());
  FUZZ_CHECK(std::equal(gotCalls.begin(), gotCalls.end(), wantCalls.begin()));
  // Every start that succeeded is ended once, unless the ending itself is missing.
  const bool cleanupMissing = s.missing && std::string_view(s.missing) == "cleanup";
  if (s.startup.result == 0 && !cleanupMissing) {
    FUZZ_CHECK(std::count(got.calls.begin(), got.calls.end(), "start 257") ==
               std::count(got.calls.begin(), got.calls.end(), "cleanup"));
  }
  const bool echoed = want.echoed && std::find(got.calls.begin(), got.calls.end(),
                                               EchoCall(*want.echoed, s.timeout)) != got.calls.end();
  if (got.result) FUZZ_CHECK(echoed && s.echoStatus == platform::kEchoSuccess);
  // Messages only for what the library itself reports, one per report, with
  // the program's title.
  FUZZ_CHECK(got.shown.size() <= 2);
  for (const auto& shown : got.shown) {
    FUZZ_CHECK(shown.caption == "Tidewatch" && shown.buttons == platform::MessageButtons::Ok);
    FUZZ_CHECK(shown.text.find("Windows Sockets") != std::string::npos ||
               shown.text.find("sockets") != std::string::npos);
  }
  if (s.Quiet()) FUZZ_CHECK(got.shown.empty());
}

// The conversion alone: text with a "." is an address or refused, never
// looked up; text without one is a name.
void CheckConversion(const std::string& text, const std::vector<Ipv4Address>& answer) {
  doubles::FakeNetwork net;
  if (!answer.empty()) net.hosts[text] = answer;
  doubles::RecordingMessageBoxes messages;
  common::PingServices services(net, net, messages, "Kestrel");
  std::optional<Ipv4Address> got;
  bool refused = false;
  try {
    got = common::ParseDottedAddress(services, text);
  } catch (const common::PingError&) {
    refused = true;
  }
  FUZZ_CHECK(messages.shown.empty());
  if (text.find('.') == std::string::npos) {
    FUZZ_CHECK(!refused && net.calls == std::vector<std::string>{"lookup " + text});
    FUZZ_CHECK(got == (answer.empty() ? std::nullopt : std::optional(answer.front())));
    return;
  }
  FUZZ_CHECK(net.calls.empty());
  const auto strict = StrictDottedQuad(text);
  FUZZ_CHECK(refused == !strict);
  if (!strict) return;
  FUZZ_CHECK(got == strict);
  // The written form of an address reads back as the same address.
  FUZZ_CHECK(common::ParseDottedAddress(services, common::DottedText(*strict)) == strict);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string host(reinterpret_cast<const char*>(data), size);
  InputMixer m(host);
  static constexpr std::int32_t kTimeouts[] = {1000, 10000, 0, -1, -2147483647 - 1, 2147483647};
  static constexpr std::uint32_t kFailures[] = {11010, 11003, 11013, 1, 0xFFFFFFFFu};

  Scenario answered;
  answered.answer = Answer(m);
  answered.timeout = m.Pick(kTimeouts);
  CheckHealthy(host, answered);

  Scenario unanswered;
  unanswered.timeout = m.Pick(kTimeouts);
  CheckHealthy(host, unanswered);

  Scenario failing = answered;
  failing.echoStatus = m.Pick(kFailures);
  CheckHealthy(host, failing);

  CheckBroken(host, Broken(m));
  CheckConversion(host, answered.answer);
  return 0;
}
