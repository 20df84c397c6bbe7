#include <gtest/gtest.h>

#include "common/ping.h"
#include "tests/doubles/fake_network.h"
#include "tests/doubles/recording_message_boxes.h"

namespace {

using platform::MessageIcon;

class PingTest : public testing::Test {
 protected:
  PingTest() {
    net.hosts["ping.example.net"] = {{10, 0, 0, 2}, {10, 0, 0, 1}};
    net.hosts["router"] = {{192, 168, 0, 254}, {192, 168, 1, 254}};
  }
  bool Ping(const std::string& host, std::int32_t timeout = 1000) {
    net.calls.clear();
    messages.shown.clear();
    return common::KeepAlivePing(services, host, timeout);
  }
  std::string Calls() const {
    std::string joined;
    for (const auto& call : net.calls) joined += (joined.empty() ? "" : "; ") + call;
    return joined;
  }

  doubles::FakeNetwork net;
  doubles::RecordingMessageBoxes messages;
  common::PingServices services{net, net, messages, "Tidewatch"};
};

TEST_F(PingTest, OnlyWhatReadsAsAnAddressOrANameIsPinged) {
  const struct {
    const char* host;
    const char* calls;
    bool result;
  } cases[] = {
      {"", "", false},
      {"  \t ", "", false},
      {"192.168.1.1", "start 257; echo 192.168.1.1 1000; cleanup", true},
      {" 10.0.0.1 ", "start 257; echo 10.0.0.1 1000; cleanup", true},
      {"255.255.255.255", "start 257; echo 255.255.255.255 1000; cleanup", true},
      {"010.0.0.9", "start 257; echo 10.0.0.9 1000; cleanup", true},
      // Not an address anybody typed: nothing is sent, and the library is
      // still ended.
      {"256.1.1.1", "start 257; cleanup", false},
      {"300.1.1.1", "start 257; cleanup", false},
      {"1.2.3.99999999999999999999", "start 257; cleanup", false},
      {"10.1.2", "start 257; cleanup", false},
      {"1.2.3.4.5", "start 257; cleanup", false},
      {"1..2.3", "start 257; cleanup", false},
      {"1.2.3.", "start 257; cleanup", false},
      {"1.2.3.x", "start 257; cleanup", false},
      {"1.2.+3.4", "start 257; cleanup", false},
      {"123.example.com", "start 257; cleanup", false},  // a number first: never looked up
      // A dotted name: looked up in a nested start, its first address pinged.
      {"ping.example.net",
       "start 257; start 257; lookup ping.example.net; cleanup; echo 10.0.0.2 1000; cleanup", true},
      {"unknown.example.net",
       "start 257; start 257; lookup unknown.example.net; cleanup; cleanup", false},
      {"-1.2.3.4", "start 257; start 257; lookup -1.2.3.4; cleanup; cleanup", false},
      // A name without a "." is looked up by the echo itself.
      {"router", "start 257; lookup router; echo 192.168.0.254 1000; cleanup", true},
      {"nowhere", "start 257; lookup nowhere; cleanup", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Ping(c.host), c.result) << c.host;
    EXPECT_EQ(Calls(), c.calls) << c.host;
    EXPECT_TRUE(messages.shown.empty()) << c.host;
  }
}

TEST_F(PingTest, OnlyASuccessfulEchoIsTrue) {
  net.echoStatus[{10, 0, 0, 7}] = 11010;  // timed out
  net.echoStatus[{10, 0, 0, 8}] = 11003;  // host unreachable
  const struct {
    const char* host;
    std::int32_t timeout;
    const char* echo;
    bool result;
  } cases[] = {
      {"10.0.0.6", 10000, "echo 10.0.0.6 10000", true},
      {"10.0.0.7", 1000, "echo 10.0.0.7 1000", false},
      {"10.0.0.8", 1000, "echo 10.0.0.8 1000", false},
      {"10.0.0.6", -5, "echo 10.0.0.6 0", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Ping(c.host, c.timeout), c.result) << c.host;
    ASSERT_EQ(net.calls.size(), 3u) << c.host;
    EXPECT_EQ(net.calls[1], c.echo);
    EXPECT_EQ(net.lastPayload, "Echo This");
  }
}

TEST_F(PingTest, ResolverKeepsItsOrderAndNeedsTheLibrary) {
  EXPECT_EQ(common::ResolveHostAddresses(services, "router"),
            (std::vector<std::string>{"192.168.0.254", "192.168.1.254"}));
  EXPECT_EQ(common::ResolveHostAddresses(services, "nowhere"), std::vector<std::string>{});
  net.startup.maxSockets = 0;
  EXPECT_EQ(common::ResolveHostAddresses(services, "router"), std::nullopt);
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(PingTest, SocketLibraryProblemsAreToldWithTheirNumbers) {
  const platform::SocketStartup fine{0, 0x0101, 32767};
  const struct {
    platform::SocketStartup startup;
    int cleanup;
    const char* host;
    std::vector<std::string> texts;
    MessageIcon icon;
    const char* calls;
    bool result;
  } cases[] = {
      {{10091, 0x0101, 32767}, 0, "192.168.1.1",
       {"Windows Sockets for 32 bit Windows environments is not successfully responding."},
       MessageIcon::None, "start 257", false},
      {{0, 0x0001, 32767}, 0, "192.168.1.1",
       {"Windows Sockets Version 1.0 is not supported by Windows Sockets for 32 bit Windows "
        "environments."},
       MessageIcon::Exclamation, "start 257; cleanup", false},
      {{0, 0x0100, 32767}, 0, "192.168.1.1",
       {"Windows Sockets Version 0.1 is not supported by Windows Sockets for 32 bit Windows "
        "environments."},
       MessageIcon::Exclamation, "start 257; cleanup", false},
      {{0, 0x0101, 0}, 0, "192.168.1.1",
       {"This application requires a minimum of 1 supported sockets."}, MessageIcon::Exclamation,
       "start 257; cleanup", false},
      {fine, -1, "192.168.1.1", {"Windows Sockets error -1 occurred in Cleanup."},
       MessageIcon::Exclamation, "start 257; echo 192.168.1.1 1000; cleanup", true},
      {fine, 10093, "ping.example.net",
       {"Windows Sockets error 10093 occurred in Cleanup.",
        "Windows Sockets error 10093 occurred in Cleanup."},
       MessageIcon::Exclamation,
       "start 257; start 257; lookup ping.example.net; cleanup; echo 10.0.0.2 1000; cleanup", true},
      // Newer versions and a single socket are enough.
      {{0, 0x0201, 1}, 0, "192.168.1.1", {}, MessageIcon::None,
       "start 257; echo 192.168.1.1 1000; cleanup", true},
      {{0, 0x0002, 1}, 0, "192.168.1.1", {}, MessageIcon::None,
       "start 257; echo 192.168.1.1 1000; cleanup", true},
  };
  for (const auto& c : cases) {
    net.startup = c.startup;
    net.cleanupResult = c.cleanup;
    // Nothing is remembered: every call tells its problem again.
    for (int call = 0; call < 2; ++call) {
      EXPECT_EQ(Ping(c.host), c.result) << c.calls;
      EXPECT_EQ(Calls(), c.calls);
      EXPECT_EQ(messages.Texts(), c.texts) << c.calls;
      for (const auto& box : messages.shown) {
        EXPECT_EQ(box.caption, "Tidewatch");
        EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
        EXPECT_EQ(box.icon, c.icon) << box.text;
      }
    }
  }
}

TEST_F(PingTest, AMissingLibraryEndsThePingSilently) {
  const struct {
    const char* missing;
    const char* host;
    const char* calls;
  } cases[] = {
      {"start", "192.168.1.1", ""},
      {"echo", "192.168.1.1", "start 257; cleanup"},
      {"cleanup", "192.168.1.1", "start 257; echo 192.168.1.1 1000"},
      {"lookup", "ping.example.net", "start 257; start 257; cleanup; cleanup"},
      {"lookup", "router", "start 257; cleanup"},
  };
  for (const auto& c : cases) {
    net.missing = {c.missing};
    EXPECT_FALSE(Ping(c.host)) << c.missing;
    EXPECT_EQ(Calls(), c.calls) << c.missing;
    EXPECT_TRUE(messages.shown.empty()) << c.missing;
    EXPECT_FALSE(services.PingRunning());
  }
}

TEST_F(PingTest, APingCountsAsRunningUntilItsLastMessageCloses) {
  net.cleanupResult = -1;
  // What a timer tick would find while each box (nested and outer clean-up) is open.
  std::vector<bool> seen;
  messages.whileOpen = [&] { seen.push_back(services.PingRunning()); };
  EXPECT_FALSE(services.PingRunning());
  EXPECT_TRUE(Ping("ping.example.net"));
  EXPECT_EQ(seen, (std::vector<bool>{true, true}));
  EXPECT_FALSE(services.PingRunning());
}

}  // namespace
