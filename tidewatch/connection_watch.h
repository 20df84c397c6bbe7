#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/shell.h"

namespace tidewatch {

struct TidewatchApp;

// The state texts of the tray icon; each begins with "Kestrel" and fits the
// tooltip field with its NUL.
std::string ConnectedTooltip(std::uint32_t roundTripMs);
std::string NoAnswerTooltip(const platform::LocalTime& since);
// A length of time as a user reads it: "45 s", "3 min 12 s", "2 h 5 min".
std::string DurationText(std::uint64_t seconds);
// Local time in ISO 8601 without a zone: 2026-12-08T14:02:11.
std::string IsoLocalTime(const platform::LocalTime& time);

// The outage log: a header line, then one line per outage (start, end,
// length in seconds), each ending with CRLF.
inline constexpr const char* kConnectionLogHeader = "Start,End,Seconds\r\n";
std::string OutageLine(const platform::LocalTime& start, const platform::LocalTime& end,
                       std::uint64_t seconds);

// Follows the connection checks: the tooltip, the balloons when the line
// drops and comes back, and the outage log in the user's application-data
// folder. One failed check is only a lost echo: an outage begins at the
// second failure in a row, once the connection was seen up since the start,
// and is dated from the first of them.
class ConnectionWatch {
 public:
  explicit ConnectionWatch(TidewatchApp& app);

  void CheckResult(bool up, std::uint32_t roundTripMs);
  bool InOutage() const { return outage_; }

  // "&Notify Me": the balloons on and off, kept per user.
  bool NotifyMe();
  void ToggleNotifyMe();

  // Connection log.csv in %APPDATA%\Kestrel.
  std::string LogPath() const;
  // Opens the log (made with its header when missing); a log that cannot be
  // made is told.
  void OpenLog(platform::WindowHandle owner);

 private:
  bool AppendToLog(const std::string& line);
  void Notify(const std::string& text);

  TidewatchApp& app_;
  bool seenUp_ = false;
  int failures_ = 0;
  bool outage_ = false;
  platform::LocalTime firstFailure_{};
  std::uint64_t firstFailureMs_ = 0;
  bool toldLogFailure_ = false;
};

}  // namespace tidewatch
