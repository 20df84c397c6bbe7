#include "tidewatch/connection_watch.h"

#include <cstdio>

#include "common/files.h"
#include "common/user_settings.h"
#include "tidewatch/tidewatch_app.h"

namespace tidewatch {

namespace {

constexpr const char* kSettingsProgram = "Kestrel";
constexpr const char* kSettingsSection = "Tidewatch";
constexpr const char* kNotifyMeKey = "Notify Me";
constexpr const char* kBalloonTitle = "Kestrel";

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string HourAndMinute(const platform::LocalTime& time) {
  return TwoDigits(time.hour) + ":" + TwoDigits(time.minute);
}

std::uint64_t Seconds(std::uint64_t fromMs, std::uint64_t toMs) {
  return toMs > fromMs ? (toMs - fromMs + 500) / 1000 : 0;
}

}  // namespace

std::string ConnectedTooltip(std::uint32_t roundTripMs) {
  return "Kestrel: connected (" + std::to_string(roundTripMs) + " ms)";
}

std::string NoAnswerTooltip(const platform::LocalTime& since) {
  return "Kestrel: no answer since " + HourAndMinute(since);
}

std::string DurationText(std::uint64_t seconds) {
  if (seconds < 60) return std::to_string(seconds) + " s";
  if (seconds < 3600) {
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
  }
  return std::to_string(seconds / 3600) + " h " + std::to_string(seconds % 3600 / 60) + " min";
}

std::string IsoLocalTime(const platform::LocalTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", time.year, time.month,
                time.day, time.hour, time.minute, time.second);
  return text;
}

std::string OutageLine(const platform::LocalTime& start, const platform::LocalTime& end,
                       std::uint64_t seconds) {
  return IsoLocalTime(start) + "," + IsoLocalTime(end) + "," + std::to_string(seconds) + "\r\n";
}

ConnectionWatch::ConnectionWatch(TidewatchApp& app) : app_(app) {}

void ConnectionWatch::CheckResult(bool up, std::uint32_t roundTripMs) {
  platform::Clock& clock = app_.platform.clock;
  if (up) {
    if (outage_) {
      const platform::LocalTime now = clock.Now();
      const std::uint64_t seconds = Seconds(firstFailureMs_, clock.Milliseconds());
      AppendToLog(OutageLine(firstFailure_, now, seconds));
      Notify("Connection back after " + DurationText(seconds));
    }
    outage_ = false;
    failures_ = 0;
    seenUp_ = true;
    app_.systray.ChangeTooltip(ConnectedTooltip(roundTripMs));
    return;
  }
  if (++failures_ == 1) {
    firstFailure_ = clock.Now();
    firstFailureMs_ = clock.Milliseconds();
  }
  app_.systray.ChangeTooltip(NoAnswerTooltip(firstFailure_));
  if (failures_ >= 2 && seenUp_ && !outage_) {
    outage_ = true;
    Notify("Connection lost: no answer since " + HourAndMinute(firstFailure_));
  }
}

bool ConnectionWatch::NotifyMe() {
  common::UserSettings settings(app_.platform.registry, kSettingsProgram);
  return settings.Get(kSettingsSection, kNotifyMeKey).value_or("1") != "0";
}

void ConnectionWatch::ToggleNotifyMe() {
  common::UserSettings settings(app_.platform.registry, kSettingsProgram);
  settings.Save(kSettingsSection, kNotifyMeKey, NotifyMe() ? "0" : "1");
}

void ConnectionWatch::Notify(const std::string& text) {
  if (NotifyMe()) app_.systray.ShowBalloon(kBalloonTitle, text);
}

std::string ConnectionWatch::LogPath() const {
  return app_.platform.environment.ApplicationDataFolder() + "\\Kestrel\\Connection log.csv";
}

bool ConnectionWatch::AppendToLog(const std::string& line) {
  platform::FileSystem& files = app_.platform.files;
  const std::string folder = app_.platform.environment.ApplicationDataFolder() + "\\Kestrel";
  const std::string path = LogPath();
  const auto attributes = files.GetAttributes(path);
  const bool fresh = !attributes || !files.ReadStart(path, 1).value_or("").size();
  const bool written = !app_.platform.environment.ApplicationDataFolder().empty() &&
                       files.CreateFolder(folder) &&
                       files.AppendAll(path, fresh ? kConnectionLogHeader + line : line);
  if (!written && !toldLogFailure_) {
    // Once a run: the monitor goes on, and a log that cannot be written
    // now will not be writable at the next outage either.
    toldLogFailure_ = true;
    app_.platform.messages.Show("The connection log could not be written:\r\n" + path +
                                    "\r\n\r\nTidewatch goes on watching the connection.",
                                kProgramTitle, platform::MessageButtons::Ok,
                                platform::MessageIcon::Information);
  }
  return written;
}

void ConnectionWatch::OpenLog(platform::WindowHandle owner) {
  const std::string path = LogPath();
  if (!app_.platform.files.GetAttributes(path)) {
    // Asked for by the user: told every time, not once a run.
    toldLogFailure_ = false;
    if (!AppendToLog("")) return;
  }
  app_.platform.shell.Open(owner, path, platform::ShowCode::Normal);
}

}  // namespace tidewatch
