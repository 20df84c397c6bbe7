#include "kestrel/settings_file.h"

#include <cstdint>
#include <utility>

#include "common/field_reader.h"
#include "common/files.h"
#include "kestrel/registry_writer.h"
#include "kestrel/undo_record.h"

namespace kestrel {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string Bool(bool value) { return std::string(common::BoolField(value)); }

template <typename Number>
std::string Num(Number value) {
  return std::to_string(value);
}

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
  common::FieldReader r(text);
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

bool WriteAppSettings(KestrelApp& app, platform::Registry& registry, bool everyValueToDefault) {
  return WriteRegistrySettings(registry, app.CurrentSettings, app.OSCode,
                               {app.OSEra, everyValueToDefault});
}

SaveResult SaveAndApplySettings(KestrelApp& app, bool everyValueToDefault) {
  const std::string recordPath = UndoRecordPath(app.ProgramDirectory());
  LoadedUndoRecord undo = LoadUndoRecord(app.platform.files, recordPath);
  if (undo.status == LoadedUndoRecord::Status::Damaged) return SaveResult::UndoRecordDamaged;

  if (!common::ReplaceFileContents(app.platform.files, SettingsFilePath(app),
                                   FormatSettingsFile(app.CurrentSettings))) {
    return SaveResult::FileNotWritten;
  }
  RecordingRegistry registry(app.platform.registry, app.platform.files, recordPath,
                             std::move(undo.record));
  const bool written = WriteAppSettings(app, registry, everyValueToDefault);
  if (registry.RecordNotSaved()) return SaveResult::UndoRecordNotSaved;
  return written ? SaveResult::Saved : SaveResult::RegistryNotWritten;
}

}  // namespace kestrel
