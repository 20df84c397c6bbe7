#include "common/ping_settings.h"

#include <algorithm>

#include "common/field_reader.h"
#include "common/files.h"

namespace common {
namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr int kLongestInterval = 60;

// A decimal integer, negative with a leading minus, of any length.
bool IsWholeNumber(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

PingSettings DefaultPingSettings(bool pingSound) {
  PingSettings settings;
  settings.PingSound = pingSound;
  return settings;
}

std::string FormatPingFile(const PingSettings& s) {
  std::string out;
  out += "PingAutomatic," + std::string(BoolField(s.PingAutomatic)) + kLineEnd;
  out += "PingHost," + s.PingHost + kLineEnd;
  out += "PingInterval," + s.PingInterval + kLineEnd;
  out += "PingSound," + std::string(BoolField(s.PingSound)) + kLineEnd;
  return out;
}

std::optional<PingSettings> ParsePingFile(std::string_view text) {
  FieldReader r(text);
  PingSettings s;
  if (!r.Line(s.PingAutomatic) || !r.Line(s.PingHost) || !r.Line(s.PingInterval) ||
      !IsWholeNumber(s.PingInterval) || !r.Line(s.PingSound)) {
    return std::nullopt;
  }
  return s;
}

int IntervalPosition(std::string_view interval) {
  if (!IsWholeNumber(interval) || interval.front() == '-') return -1;
  // Leading zeros aside, anything longer than two digits is out of range.
  const std::size_t first = interval.find_first_not_of('0');
  if (first == std::string_view::npos) return -1;
  interval.remove_prefix(first);
  if (interval.size() > 2) return -1;
  int minutes = 0;
  for (char c : interval) minutes = minutes * 10 + (c - '0');
  return minutes <= kLongestInterval ? minutes - 1 : -1;
}

std::string PingFilePath(const std::string& programDirectory) {
  return ProgramFile(programDirectory, "\\Ping.cfg");
}

void LoadPingSettings(const PingContext& context) {
  const std::string path = PingFilePath(context.programDirectory);
  std::optional<PingSettings> loaded;
  if (FileExists(context.files, path)) {
    if (const auto text = context.files.ReadAll(path)) loaded = ParsePingFile(*text);
  }
  context.settings = loaded ? *loaded : DefaultPingSettings(context.settings.PingSound);
  if (context.afterLoad) context.afterLoad();
}

bool SavePingSettings(const PingContext& context) {
  // The tray monitor runs as the user, who may be allowed to change this one
  // file but not to create files in the program folder.
  return ReplaceOrRewriteFileContents(context.files, PingFilePath(context.programDirectory),
                                      FormatPingFile(context.settings));
}

}  // namespace common
