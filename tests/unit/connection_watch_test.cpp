// What the tray monitor makes of its checks: the tooltip, the balloons, the
// outage log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/doubles/fake_tidewatch.h"
#include "tidewatch/connection_watch.h"

namespace {

using doubles::FakeTidewatch;
using tidewatch::ConnectionWatch;

constexpr const char* kLog = "C:\\Users\\Ann\\AppData\\Roaming\\Kestrel\\Connection log.csv";

TEST(ConnectionWatch, TextsFitTheTooltipAndReadAsTimes) {
  EXPECT_EQ(tidewatch::ConnectedTooltip(23), "Kestrel: connected (23 ms)");
  EXPECT_EQ(tidewatch::NoAnswerTooltip({2026, 12, 8, 14, 2, 59}), "Kestrel: no answer since 14:02");
  EXPECT_LT(tidewatch::ConnectedTooltip(4294967295u).size(), 64u);
  const std::pair<std::uint64_t, const char*> durations[] = {
      {0, "0 s"}, {59, "59 s"}, {60, "1 min 0 s"}, {192, "3 min 12 s"}, {3599, "59 min 59 s"},
      {3600, "1 h 0 min"}, {90061, "25 h 1 min"}};
  for (const auto& [seconds, text] : durations) EXPECT_EQ(tidewatch::DurationText(seconds), text);
  EXPECT_EQ(tidewatch::OutageLine({2026, 1, 2, 3, 4, 5}, {2026, 1, 2, 3, 7, 17}, 192),
            "2026-01-02T03:04:05,2026-01-02T03:07:17,192\r\n");
}

// The checks as they come, each 30 s after the one before: "+" up, "-" down.
struct Watched : FakeTidewatch {
  ConnectionWatch watch{app};
  Watched() {
    app.systray.Install(kWindow, 1);
    tray.calls.clear();
  }
  void Checks(const std::string& results) {
    for (const char result : results) {
      watch.CheckResult(result == '+', 23);
      clock.Advance(30000);
    }
  }
};

TEST(ConnectionWatch, AnOutageIsTwoFailuresInARowAfterTheLineWasUp) {
  const struct {
    const char* checks;
    std::vector<std::string> balloons;
    const char* log;  // nullptr: none written
  } cases[] = {
      {"+-+-+", {}, nullptr},  // single lost echoes
      {"---+", {}, nullptr},   // never up since the start
      {"+--", {"Kestrel|Connection lost: no answer since 14:00"}, nullptr},
      {"+------+",
       {"Kestrel|Connection lost: no answer since 14:00", "Kestrel|Connection back after 3 min 0 s"},
       "Start,End,Seconds\r\n2026-12-08T14:00:30,2026-12-08T14:03:30,180\r\n"},
      {"+--+--+",
       {"Kestrel|Connection lost: no answer since 14:00", "Kestrel|Connection back after 1 min 0 s",
        "Kestrel|Connection lost: no answer since 14:02", "Kestrel|Connection back after 1 min 0 s"},
       "Start,End,Seconds\r\n2026-12-08T14:00:30,2026-12-08T14:01:30,60\r\n"
       "2026-12-08T14:02:00,2026-12-08T14:03:00,60\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.checks);
    Watched w;
    w.Checks(c.checks);
    EXPECT_EQ(w.tray.Balloons(), c.balloons);
    EXPECT_EQ(w.files.Contents(kLog), c.log ? std::optional<std::string>(c.log) : std::nullopt);
    EXPECT_TRUE(w.messages.shown.empty());
  }
}

TEST(ConnectionWatch, TooltipFollowsEveryCheckAndNotifyMeIsKept) {
  Watched w;
  w.Checks("+");
  w.Checks("-");
  w.Checks("-");
  std::vector<std::string> tips;
  for (const auto& call : w.tray.calls) {
    if (call.what == "modify") tips.push_back(call.record.tip.data());
  }
  // The second failure keeps the time of the first.
  EXPECT_EQ(tips, (std::vector<std::string>{"Kestrel: connected (23 ms)",
                                            "Kestrel: no answer since 14:00"}));
  EXPECT_EQ(w.tray.Balloons().size(), 1u);

  w.watch.ToggleNotifyMe();
  // A new run reads the choice back.
  ConnectionWatch again(w.app);
  EXPECT_FALSE(again.NotifyMe());
  w.Checks("+--");
  EXPECT_EQ(w.tray.Balloons().size(), 1u);
}

TEST(ConnectionWatch, ALogThatCannotBeWrittenIsToldOnceAndTheWatchGoesOn) {
  Watched w;
  w.files.FailWritesTo(kLog);
  w.Checks("+--+--+");
  ASSERT_EQ(w.messages.shown.size(), 1u);
  EXPECT_EQ(w.messages.shown[0].text,
            std::string("The connection log could not be written:\r\n") + kLog +
                "\r\n\r\nTidewatch goes on watching the connection.");
  EXPECT_EQ(w.tray.Balloons().size(), 4u);
  // Asked for from the menu, it is told again, and nothing opens.
  w.watch.OpenLog(FakeTidewatch::kWindow);
  EXPECT_EQ(w.messages.shown.size(), 2u);
  EXPECT_TRUE(w.shell.opened.empty());
}

TEST(ConnectionWatch, TheMenuOpensTheLogMadeWithItsHeader) {
  Watched w;
  w.watch.OpenLog(FakeTidewatch::kWindow);
  EXPECT_EQ(w.files.Contents(kLog), "Start,End,Seconds\r\n");
  ASSERT_EQ(w.shell.opened.size(), 1u);
  EXPECT_EQ(w.shell.opened[0].document, kLog);
  // An outage afterwards goes below the header, which is not repeated.
  w.Checks("+--+");
  EXPECT_EQ(w.files.Contents(kLog)->find("Start", 1), std::string::npos);
}

}  // namespace
