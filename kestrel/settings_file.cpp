#include "kestrel/settings_file.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/files.h"
#include "kestrel/registry_writer.h"

namespace kestrel {
namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::string_view kTrue = "#TRUE#";
constexpr std::string_view kFalse = "#FALSE#";

std::string Bool(bool value) {
  return std::string(value ? kTrue : kFalse);
}

template <typename Number>
std::string Num(Number value) {
  return std::to_string(value);
}

std::string_view Trim(std::string_view field) {
  constexpr std::string_view kBlanks = " \t";
  const std::size_t first = field.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = field.find_last_not_of(kBlanks);
  return field.substr(first, last - first + 1);
}

// The fields of the file in order. A field ends at a comma or at a line end
// (CRLF as written, a lone LF or CR as other editors leave them); blank lines
// hold no fields.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      AddLine(text.substr(start, end - start));
      if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
          text[end + 1] == '\n') {
        ++end;
      }
      start = end + 1;
    }
  }

  // One line: its key, read and ignored since the order of the lines is
  // fixed, then its fields into the targets.
  template <typename... Fields>
  bool Line(Fields&... targets) {
    return Next().has_value() && (Read(targets) && ...);
  }

  bool Read(bool& target) {
    const auto field = Next();
    if (!field) return false;
    if (*field == kTrue) {
      target = true;
    } else if (*field == kFalse) {
      target = false;
    } else {
      return false;
    }
    return true;
  }

  // A decimal integer, negative with a leading minus, that fits the target.
  template <typename Integer>
  bool Read(Integer& target) {
    const auto field = Next();
    if (!field || field->empty()) return false;
    Integer value = 0;
    const char* end = field->data() + field->size();
    const auto [stop, error] = std::from_chars(field->data(), end, value);
    if (error != std::errc() || stop != end) return false;
    target = value;
    return true;
  }

 private:
  void AddLine(std::string_view line) {
    if (Trim(line).empty()) return;
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = line.find(',', start);
      fields_.push_back(Trim(line.substr(start, comma - start)));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
  }

  std::optional<std::string_view> Next() {
    if (next_ == fields_.size()) return std::nullopt;
    return fields_[next_++];
  }

  std::vector<std::string_view> fields_;
  std::size_t next_ = 0;
};

// A value of a list field: an item of the list, or -1 (none) where allowed.
bool InList(std::int16_t value, const std::vector<std::string>& items, bool noneAllowed) {
  return value >= (noneAllowed ? -1 : 0) && value < static_cast<int>(items.size());
}

}  // namespace

std::string FormatSettingsFile(const ConnectionSettings& s) {
  std::string out;
  out += "ConnectionType," + Num(s.ConnectionType) + kLineEnd;
  out += "OptiMode," + Num(s.OptiMode) + kLineEnd;
  if (s.OptiMode != kManualMode) return out;
  out += "MTU," + Bool(s.MTUCustom) + "," + Num(s.MTU) + kLineEnd;
  out += "RWIN," + Bool(s.RWINCustom) + "," + Num(s.RWINIndex) + "," + Num(s.RWIN) + kLineEnd;
  out += "TTL," + Bool(s.TTLCustom) + "," + Num(s.TTL) + kLineEnd;
  out += "SKA," + Bool(s.SKACustom) + "," + Num(s.SKAIndex) + "," + Num(s.SKA) + kLineEnd;
  out += "NDI," + Bool(s.NDICustom) + "," + Num(s.NDIIndex) + "," + Num(s.NDI) + kLineEnd;
  out += "PMTU," + Bool(s.PMTU) + kLineEnd;
  out += "BlackHole," + Bool(s.BlackHole) + kLineEnd;
  out += "MSCPS0," + Num(s.MSCPS0Index) + "," + Num(s.MSCPS0) + kLineEnd;
  out += "MSCPS1," + Num(s.MSCPS1Index) + "," + Num(s.MSCPS1) + kLineEnd;
  return out;
}

std::optional<ConnectionSettings> ParseSettingsFile(const std::string& text,
                                                    const ConnectionSettings& previous) {
  FieldReader r(text);
  ConnectionSettings s = previous;
  // A type or mode outside its list could never be shown, so such a file is
  // treated like a damaged one.
  if (!(r.Line(s.ConnectionType) && r.Line(s.OptiMode)) ||
      !InList(s.ConnectionType, lists::NetType(), false) ||
      !InList(s.OptiMode, lists::Optimize(), false)) {
    return std::nullopt;
  }
  if (s.OptiMode != kManualMode) return s;

  const bool read = r.Line(s.MTUCustom, s.MTU) && r.Line(s.RWINCustom, s.RWINIndex, s.RWIN) &&
                    r.Line(s.TTLCustom, s.TTL) && r.Line(s.SKACustom, s.SKAIndex, s.SKA) &&
                    r.Line(s.NDICustom, s.NDIIndex, s.NDI) && r.Line(s.PMTU) &&
                    r.Line(s.BlackHole) && r.Line(s.MSCPS0Index, s.MSCPS0) &&
                    r.Line(s.MSCPS1Index, s.MSCPS1);
  if (!read || !InList(s.RWINIndex, lists::RWIN(), true) ||
      !InList(s.SKAIndex, lists::SKA(), true) || !InList(s.NDIIndex, lists::NDI(), true) ||
      !InList(s.MSCPS0Index, lists::MSCPS(), true) ||
      !InList(s.MSCPS1Index, lists::MSCPS(), true)) {
    return std::nullopt;
  }
  return s;
}

std::string SettingsFilePath(KestrelApp& app) {
  return common::ProgramFile(app.ProgramDirectory(), "\\Kestrel.cfg");
}

void LoadSettingsFile(KestrelApp& app) {
  const std::string path = SettingsFilePath(app);
  std::optional<ConnectionSettings> loaded;
  if (common::FileExists(app.platform.files, path)) {
    if (const auto text = app.platform.files.ReadAll(path)) {
      loaded = ParseSettingsFile(*text, app.CurrentSettings);
    }
  }
  app.CurrentSettings = loaded ? *loaded : app.presets.WindowsDefaults;
}

SaveResult SaveAndApplySettings(KestrelApp& app) {
  if (!common::ReplaceFileContents(app.platform.files, SettingsFilePath(app),
                                   FormatSettingsFile(app.CurrentSettings))) {
    return SaveResult::FileNotWritten;
  }
  return WriteRegistrySettings(app.platform.registry, app.CurrentSettings, app.OSCode)
             ? SaveResult::Saved
             : SaveResult::RegistryNotWritten;
}

}  // namespace kestrel
