#include "kestrel/change_preview.h"

#include "common/os_version.h"
#include "kestrel/apply_flow.h"
#include "common/files.h"
#include "kestrel/registry_facts.h"
#include "kestrel/registry_script.h"
#include "kestrel/settings_file.h"
#include "kestrel/user_messages.h"

namespace kestrel {
namespace {

namespace reg = platform::reg;

std::string Describe(std::uint32_t type, const std::vector<std::uint8_t>& data) {
  if (type == reg::kTypeDword && data.size() == 4) {
    return std::to_string(static_cast<std::int32_t>(reg::DwordFromBytes(data)));
  }
  if (type == reg::kTypeSz) {
    std::string text(data.begin(), data.end());
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return "\"" + text + "\" (text)";
  }
  return "type " + std::to_string(type) + ", " + std::to_string(data.size()) + " bytes";
}

std::string ReadByText(const EraFacts* facts) {
  if (!facts) return "unknown";
  switch (facts->read) {
    case ReadBy::Yes: return "yes, " + facts->reason;
    case ReadBy::No: return "no, " + facts->reason;
    case ReadBy::Undocumented: return "unknown, " + facts->reason;
  }
  return "unknown";
}

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

bool PlannedChange::Changes() const {
  if (remove) return existsNow;
  return !existsNow || typeNow != type || dataNow != data;
}

PreviewRegistry::~PreviewRegistry() {
  for (const auto& [key, opened] : opened_) {
    if (opened.inner) inner_.CloseKey(*opened.inner);
  }
}

long PreviewRegistry::Adopt(long result, platform::RegistryRoot root, const std::string& path,
                            Key inner, Key& key) {
  if (result != reg::kSuccess) return result;
  key = next_++;
  opened_[key] = {root, path, inner};
  return reg::kSuccess;
}

long PreviewRegistry::CreateKey(platform::RegistryRoot root, const std::string& subkey,
                                Key& key) {
  Key inner = 0;
  const long result = inner_.OpenKey(root, subkey, inner);
  if (result == reg::kFileNotFound) {
    // The key would be created: it exists, empty, for this preview only.
    key = next_++;
    opened_[key] = {root, subkey, std::nullopt};
    return reg::kSuccess;
  }
  return Adopt(result, root, subkey, inner, key);
}

long PreviewRegistry::OpenKey(platform::RegistryRoot root, const std::string& subkey, Key& key) {
  Key inner = 0;
  const long result = inner_.OpenKey(root, subkey, inner);
  return Adopt(result, root, subkey, inner, key);
}

PlannedChange PreviewRegistry::Plan(Key key, const std::string& name) {
  const OpenedKey& opened = opened_.at(key);
  PlannedChange change;
  change.root = opened.root;
  change.key = opened.path;
  change.name = name;
  if (opened.inner) {
    change.existsNow =
        inner_.QueryValue(*opened.inner, name, change.typeNow, change.dataNow) == reg::kSuccess;
  }
  if (!change.existsNow) {
    change.typeNow = 0;
    change.dataNow.clear();
  }
  return change;
}

long PreviewRegistry::SetValue(Key key, const std::string& name, std::uint32_t type,
                               std::span<const std::uint8_t> data) {
  if (!opened_.count(key)) return reg::kInvalidHandle;
  PlannedChange change = Plan(key, name);
  change.type = type;
  change.data.assign(data.begin(), data.end());
  changes_.push_back(std::move(change));
  return reg::kSuccess;
}

long PreviewRegistry::DeleteValue(Key key, const std::string& name) {
  if (!opened_.count(key)) return reg::kInvalidHandle;
  PlannedChange change = Plan(key, name);
  change.remove = true;
  changes_.push_back(std::move(change));
  return reg::kSuccess;
}

long PreviewRegistry::QueryValue(Key key, const std::string& name, std::uint32_t& type,
                                 std::vector<std::uint8_t>& data) {
  const auto found = opened_.find(key);
  if (found == opened_.end()) return reg::kInvalidHandle;
  if (!found->second.inner) {
    type = 0;
    data.clear();
    return reg::kFileNotFound;
  }
  return inner_.QueryValue(*found->second.inner, name, type, data);
}

long PreviewRegistry::EnumKey(Key key, std::uint32_t index, std::string& name) {
  const auto found = opened_.find(key);
  if (found == opened_.end()) return reg::kInvalidHandle;
  if (!found->second.inner) return reg::kNoMoreItems;
  return inner_.EnumKey(*found->second.inner, index, name);
}

long PreviewRegistry::CloseKey(Key key) {
  const auto found = opened_.find(key);
  if (found == opened_.end()) return reg::kInvalidHandle;
  long result = reg::kSuccess;
  if (found->second.inner) result = inner_.CloseKey(*found->second.inner);
  opened_.erase(found);
  return result;
}

ChangePreview MakeChangePreview(const std::vector<PlannedChange>& changes, std::int16_t osCode,
                                common::WindowsEra era, const std::string& osName) {
  const RegistryLayout layout = common::IsNtFamily(osCode) ? RegistryLayout::NtFamily
                                                           : RegistryLayout::Windows95Family;
  ChangePreview preview;
  std::size_t changing = 0;
  std::size_t changingUnread = 0;
  for (const PlannedChange& c : changes) {
    const ValueFacts* facts = FindRegistryFacts(layout, c.name);
    const EraFacts* eraFacts = facts ? &facts->For(era) : nullptr;
    PreviewRow row;
    // The name first: a narrow column still shows which value it is.
    row.value = (c.name.empty() ? "(Default)" : c.name) + " in " + c.key;
    row.now = c.existsNow ? Describe(c.typeNow, c.dataNow) : "absent";
    row.after = c.remove ? "removed" : Describe(c.type, c.data);
    row.readBy = ReadByText(eraFacts);
    row.changes = c.Changes();
    row.notRead = eraFacts && eraFacts->read == ReadBy::No;
    if (row.changes) {
      ++changing;
      if (row.notRead) ++changingUnread;
    }
    preview.rows.push_back(std::move(row));
  }
  if (changing == 0) {
    preview.summary = "No value changes: the registry holds what Apply would write";
  } else {
    std::string which;
    if (changing == 1) {
      which = changingUnread ? "it is not read by " : "it is read by ";
    } else if (changingUnread == 0) {
      which = "all of them are read by ";
    } else {
      which = std::to_string(changingUnread) + " of them are not read by ";
    }
    preview.summary = Count(changing, "value changes", "values change") + "; " + which + osName;
  }
  return preview;
}

std::optional<ChangePreview> PreviewApply(KestrelApp& app, const SettingsPanel& panel) {
  if (app.CurrentSettings.OptiMode == kManualMode &&
      TellIfSettingsInvalid(panel, app.platform.messages)) {
    return std::nullopt;
  }
  PreviewRegistry registry(app.platform.registry);
  WriteAppSettings(app, registry, false);
  ChangePreview preview = MakeChangePreview(registry.changes(), app.OSCode, app.OSEra, app.OSName);
  preview.registryScript =
      FormatRegistryScript(registry.changes(), common::IsNtFamily(app.OSCode));
  return preview;
}

void ExportRegistryScript(KestrelApp& app, const ChangePreview& preview,
                          platform::WindowHandle owner) {
  platform::SaveFileRequest request;
  request.owner = owner;
  request.title = "Export as .reg";
  request.types = {{"Registration Entries (*.reg)", "*.reg"}};
  request.fileName = "Kestrel changes.reg";
  request.defaultExtension = "reg";
  const std::string path = app.platform.dialogs.AskSaveFileName(request);
  if (path.empty()) return;
  if (!common::ReplaceFileContents(app.platform.files, path, preview.registryScript)) {
    Tell(app, "The registry script could not be written to\r\n\r\n" + path +
                  "\r\n\r\nChoose a folder where you may create files, and export again.");
    return;
  }
  Tell(app, "The changes Apply would make were written to\r\n\r\n" + path +
                "\r\n\r\nThe keys of the network interfaces in it are those of this "
                "computer. On other computers, run Kestrel.exe /apply with the same "
                "Kestrel.cfg instead.");
}

}  // namespace kestrel
