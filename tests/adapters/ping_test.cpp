// The ping over the real socket library and ICMP echo, in the sandbox's closed
// network: loopback answers, the sandbox's silent address swallows echoes, and
// the built-in host names resolve to loopback through the sandbox's hosts file.
#include "common/ping.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "common/ping_hosts.h"
#include "platform/win32/adapters.h"
#include "tests/doubles/recording_message_boxes.h"

namespace {

using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;

std::string SilentAddress() {
  const char* address = std::getenv("KESTREL_SILENT_ADDRESS");
  return address ? address : "";
}

class PingOnWineTest : public testing::Test {
 protected:
  // The result and how long it took, in milliseconds.
  std::pair<bool, long long> TimedPing(const std::string& host, std::int32_t timeout) {
    const auto start = Clock::now();
    const bool result = common::KeepAlivePing(services, host, timeout);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    return {result, took.count()};
  }

  platform::win32::Win32SocketLibrary sockets;
  platform::win32::Win32IcmpEcho icmp;
  doubles::RecordingMessageBoxes messages;
  common::PingServices services{sockets, icmp, messages, "Kestrel"};
};

TEST_F(PingOnWineTest, TheSocketLibraryGivesVersionOneOneAndCleansUp) {
  const auto started = sockets.Start(0x0101);
  ASSERT_TRUE(started);
  EXPECT_EQ(started->result, 0);
  EXPECT_EQ(started->version, 0x0101);
  EXPECT_GE(started->maxSockets, 1);
  EXPECT_EQ(sockets.Cleanup(), 0);
}

TEST_F(PingOnWineTest, LoopbackAndTheBuiltInHostsAnswer) {
  for (const std::string host :
       {"127.0.0.1", "localhost", common::DefaultPingHost, common::ConnectionTestHost}) {
    EXPECT_TRUE(common::KeepAlivePing(services, host, 1000)) << host;
  }
  for (const char* name : {"localhost", common::DefaultPingHost, common::ConnectionTestHost}) {
    EXPECT_EQ(common::ResolveHostAddresses(services, name), Strings{"127.0.0.1"}) << name;
  }
  EXPECT_EQ(messages.Texts(), Strings{});
}

// The reply must have room for the whole echoed payload: a fixed buffer
// would fail the big probes of the path measurement.
TEST_F(PingOnWineTest, EchoesUpToAFullFrameComeBackWithTheDontFragmentFlag) {
  const platform::Ipv4Address loopback{127, 0, 0, 1};
  for (const std::size_t size : {0u, 64u, 250u, 251u, 1472u, 8000u}) {
    const std::vector<std::uint8_t> payload(size, 'K');
    EXPECT_EQ(icmp.Echo(loopback, payload, 1000, true), platform::kEchoSuccess) << size;
    EXPECT_EQ(icmp.Echo(loopback, payload, 1000, false), platform::kEchoSuccess) << size;
  }
}

TEST_F(PingOnWineTest, ASilentHostIsFalseAfterTheFullTimeout) {
  ASSERT_FALSE(SilentAddress().empty()) << "runs only in tests/wine/sandbox.sh";
  const auto [result, took] = TimedPing(SilentAddress(), 1000);
  EXPECT_FALSE(result);
  EXPECT_GE(took, 950);
  EXPECT_LT(took, 3000);
  EXPECT_EQ(messages.Texts(), Strings{});
}

TEST_F(PingOnWineTest, UnknownNamesAreFalseAtOnce) {
  for (const char* host : {"no-such-host.invalid", "nosuchhost"}) {
    const auto [result, took] = TimedPing(host, 10000);
    EXPECT_FALSE(result) << host;
    EXPECT_LT(took, 2000) << host;
  }
  EXPECT_EQ(messages.Texts(), Strings{});
}

TEST(PingLibraryMissingTest, APingWithoutItsLibraryIsFalseWithoutAMessage) {
  doubles::RecordingMessageBoxes messages;
  // A library that is not there, and one that lacks the entry points.
  platform::win32::Win32SocketLibrary goodSockets;
  platform::win32::Win32IcmpEcho noIcmp("no-such-icmp.dll");
  common::PingServices withoutIcmp{goodSockets, noIcmp, messages, "Kestrel"};
  EXPECT_FALSE(common::KeepAlivePing(withoutIcmp, "127.0.0.1", 1000));

  platform::win32::Win32SocketLibrary noSockets("kernel32.dll");
  platform::win32::Win32IcmpEcho goodIcmp;
  common::PingServices withoutSockets{noSockets, goodIcmp, messages, "Kestrel"};
  EXPECT_FALSE(common::KeepAlivePing(withoutSockets, "127.0.0.1", 1000));
  EXPECT_EQ(messages.Texts(), Strings{});
}

// Runs alone, with KESTREL_TEST_HOSTS set for it by the build.
TEST_F(PingOnWineTest, OneTestCanRemapTheBuiltInHosts) {
  ASSERT_FALSE(SilentAddress().empty()) << "runs only in tests/wine/sandbox.sh";
  EXPECT_EQ(common::ResolveHostAddresses(services, common::ConnectionTestHost),
            Strings{SilentAddress()});
  EXPECT_EQ(common::ResolveHostAddresses(services, common::DefaultPingHost), Strings{});
  EXPECT_EQ(common::ResolveHostAddresses(services, "localhost"), Strings{"127.0.0.1"});
  // How long a silent host is waited for is the test above's. Here only the
  // answer counts: once, in a fresh 32-bit prefix, Wine's echo gave up after
  // 238 of its 500 ms.
  EXPECT_FALSE(common::KeepAlivePing(services, common::ConnectionTestHost, 500));
}

}  // namespace
