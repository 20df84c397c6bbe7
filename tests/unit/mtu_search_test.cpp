#include "kestrel/mtu_search.h"

#include <gtest/gtest.h>

#include "tests/doubles/fake_network.h"
#include "tests/doubles/manual_worker.h"

namespace {

using kestrel::MtuOutcome;
using Path = std::function<std::uint32_t(std::size_t, bool)>;

// Payloads up to limit cross; bigger ones get the answer given.
Path Limit(std::size_t limit, std::uint32_t above = platform::kEchoPacketTooBig) {
  return [=](std::size_t size, bool) { return size <= limit ? platform::kEchoSuccess : above; };
}

struct Run {
  MtuOutcome outcome;
  std::optional<int> mtu;
  std::string result;
  std::vector<std::string> lines;
};

Run Search(doubles::FakeNetwork& net, const std::string& host = "10.0.0.1") {
  doubles::ManualWorker worker;
  kestrel::MtuSearch search(worker, net, net);
  search.Start(host, {});
  return {search.Outcome(), search.Mtu(), search.Result(), search.Lines()};
}

TEST(MtuSearchTest, FindsTheLargestPacketThatCrossesThePath) {
  const struct {
    const char* what;
    Path path;
    MtuOutcome outcome;
    std::optional<int> mtu;
    const char* result;
  } cases[] = {
      {"PPPoE", Limit(1464), MtuOutcome::Found, 1492,
       "Largest packet that got through: 1464 bytes, so the MTU is 1492"},
      {"old dial-up", Limit(548), MtuOutcome::Found, 576, "so the MTU is 576"},
      {"below the first echo", Limit(40), MtuOutcome::Found, 68, "so the MTU is 68"},
      {"full frame", Limit(1472), MtuOutcome::FullFrame, 1500, "ignores the don't-fragment"},
      {"black hole above 1400", Limit(1372, platform::kEchoTimedOut), MtuOutcome::Found, 1400,
       "so the MTU is 1400"},
      {"nothing fits", Limit(0), MtuOutcome::Found, 28, "0 bytes"},
      {"empty too big", [](std::size_t, bool) { return platform::kEchoPacketTooBig; },
       MtuOutcome::NothingFits, std::nullopt, "Not even an empty echo"},
      {"silent host", [](std::size_t, bool) { return platform::kEchoTimedOut; },
       MtuOutcome::NoAnswer, std::nullopt, "10.0.0.1 does not answer echoes"},
      {"general failure", Limit(600, 11050), MtuOutcome::Failed, std::nullopt,
       "failed with error 11050"},
      // An edge that moves between the search and the check is not reported.
      {"flaky edge",
       [n = std::make_shared<int>(0)](std::size_t size, bool) {
         return size <= 1000 || (size == 1001 && ++*n > 1) ? platform::kEchoSuccess
                                                           : platform::kEchoPacketTooBig;
       },
       MtuOutcome::Unsteady, std::nullopt, "checked again at 1001 bytes"},
  };
  for (const auto& c : cases) {
    doubles::FakeNetwork net;
    net.path = c.path;
    const auto run = Search(net);
    EXPECT_EQ(run.outcome, c.outcome) << c.what;
    EXPECT_EQ(run.mtu, c.mtu) << c.what;
    EXPECT_NE(run.result.find(c.result), std::string::npos) << c.what << ": " << run.result;
    // Every echo is a probe with the flag, and the search stays short.
    for (const auto& [size, dontFragment] : net.echoes) {
      EXPECT_TRUE(dontFragment) << c.what;
      EXPECT_LE(size, 1472u) << c.what;
    }
    EXPECT_LE(net.echoes.size(), 40u) << c.what;
  }
}

TEST(MtuSearchTest, TimeoutsAreTriedThreeTimesBeforeTheyCount) {
  doubles::FakeNetwork net;
  net.path = Limit(1372, platform::kEchoTimedOut);
  const auto run = Search(net);
  // 64 first, then the middle of 64..1473 times out three times.
  ASSERT_GE(run.lines.size(), 5u);
  EXPECT_EQ(run.lines[0], "64 bytes: got through");
  EXPECT_EQ(run.lines[1], "768 bytes: got through");
  EXPECT_EQ(run.lines[2], "1120 bytes: got through");
  EXPECT_EQ(run.lines[3], "1296 bytes: got through");
  EXPECT_EQ(run.lines[4], "1384 bytes: no answer, trying again");
  EXPECT_EQ(run.lines[5], "1384 bytes: no answer, trying again");
  EXPECT_EQ(run.lines[6], "1384 bytes: no answer 3 times, counted as too big");
  EXPECT_EQ(run.lines.back(), "1373 bytes: no answer 3 times, counted as too big");

  // A single lost echo is only retried.
  net.path = [n = std::make_shared<int>(0)](std::size_t size, bool) {
    if (size == 768 && ++*n == 1) return platform::kEchoTimedOut;
    return size <= 1464 ? platform::kEchoSuccess : platform::kEchoPacketTooBig;
  };
  EXPECT_EQ(Search(net).mtu, 1492);
}

TEST(MtuSearchTest, AHostThatCannotBeFoundOrAMissingLibraryEndsTheSearch) {
  doubles::FakeNetwork net;
  net.hosts["mtu.example.net"] = {{10, 0, 0, 9}};
  net.path = Limit(1464);
  EXPECT_EQ(Search(net, "mtu.example.net").mtu, 1492);
  EXPECT_EQ(net.calls.at(1), "lookup mtu.example.net");
  EXPECT_EQ(net.calls.back(), "echo 10.0.0.9 1000");
  EXPECT_EQ(Search(net, "nowhere.example.net").outcome, MtuOutcome::NoHost);
  EXPECT_EQ(Search(net, "  ").outcome, MtuOutcome::NoHost);
  net.missing.insert("echo");
  EXPECT_EQ(Search(net).outcome, MtuOutcome::Failed);
}

TEST(MtuSearchTest, CancelDropsTheEchoUnderWayAndANewStartBeginsAfresh) {
  doubles::FakeNetwork net;
  net.path = Limit(1464);
  doubles::ManualWorker worker;
  worker.runAtOnce = false;
  int changes = 0;
  kestrel::MtuSearch search(worker, net, net);
  search.Start("10.0.0.1", [&] { ++changes; });
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(worker.Step());
  EXPECT_TRUE(search.Running());
  EXPECT_EQ(search.Lines().size(), 3u);
  EXPECT_GT(search.Done(), 0);
  EXPECT_LT(search.Done(), kestrel::MtuSearch::Expected());
  search.Cancel();
  EXPECT_EQ(search.Outcome(), MtuOutcome::Cancelled);
  const int seen = changes;
  // The echo that was under way finishes, and nothing follows it.
  EXPECT_TRUE(worker.Step());
  EXPECT_FALSE(worker.Step());
  EXPECT_EQ(changes, seen);
  EXPECT_EQ(search.Lines().size(), 3u);

  search.Start("10.0.0.1", {});
  EXPECT_TRUE(search.Lines().empty());
  while (worker.Step()) {
  }
  EXPECT_EQ(search.Mtu(), 1492);
  EXPECT_EQ(search.Done(), kestrel::MtuSearch::Expected());

  // A window closed in the middle: the late answer finds nobody.
  {
    kestrel::MtuSearch closing(worker, net, net);
    closing.Start("10.0.0.1", [&] { ++changes; });
  }
  const int before = changes;
  while (worker.Step()) {
  }
  EXPECT_EQ(changes, before);
}

}  // namespace
